#include "app/ui/appearance_commands.h"

#include "app/core/settings_keys.h"
#include "app/ui/main_actions.h"
#include "base/core/settings_file.h"
#include "base/ui/modals.h"
#include "skin/ui/look.h"
#include "skin/ui/side_channel.h"
#include "skin/ui/theme_manager.h"

#include <QAction>
#include <QFileDialog>
#include <QMainWindow>
#include <QMenu>
#include <QTextEdit>

namespace {

// The reference panes and lists every window command acts on; each command adds its
// own two (see below).
const QStringList kReferenceGroup = {
    QStringLiteral("skListBox1"),  QStringLiteral("skListBox2"), QStringLiteral("skListBox3"),
    QStringLiteral("skListBox33"), QStringLiteral("skListBox4"), QStringLiteral("ListBox1"),
    QStringLiteral("ListBox3"),    QStringLiteral("skMemo1"),    QStringLiteral("skMmemo1"),
    QStringLiteral("skMmemo3"),    QStringLiteral("skMemo2"),    QStringLiteral("skMemo3"),
    QStringLiteral("Memo2"),       QStringLiteral("Memo3"),      QStringLiteral("Memo4"),
    QStringLiteral("Memo5")};

// The point sizes of 最大 … 最小.
constexpr int kBaseSizes[] = {24, 20, 18, 14, 11};

} // namespace

AppearanceCommands::AppearanceCommands(QMainWindow* window, const MainActions& actions,
                                       TskForm* frame, QList<TskSideChannel*> channels,
                                       SettingsFile& settings, ModalRunner& modals)
    : QObject(window), m_window(window), m_actions(actions), m_frame(frame),
      m_channels(std::move(channels)), m_settings(settings), m_modals(modals),
      m_dialogs(skin::SharedDialogs::of(window)) {
    const MainActions& a = m_actions;
    m_theme = new TskFileTheme(QStringLiteral("skFileTheme1"), window);
    m_manager = new TskThemeManager(QStringLiteral("skThemeManager1"), window);
    m_manager->setCompList({QStringLiteral("skForm1"), QStringLiteral("skMessageDialog1"),
                            QStringLiteral("skInputDialog1"), QStringLiteral("skPasswordDialog1")});

    // A theme file of the user's choice, after the five built-in styles.
    a.skinMenu->addSeparator();
    m_themeItem = a.skinMenu->addAction(QStringLiteral("主题文件(&T)…"));
    m_themeItem->setObjectName(QStringLiteral("ThemeFile1"));
    m_themeItem->setCheckable(true);
    m_themeItem->setStatusTip(QStringLiteral("主题文件：从文件读入界面的颜色与图片"));
    connect(m_themeItem, &QAction::triggered, this, &AppearanceCommands::chooseThemeFile);
    for (QAction* skin : a.skinsInRestoreOrder())
        connect(skin, &QAction::triggered, this, [this, skin] { chooseSkin(skin); });

    connect(a.documentFont, &QAction::triggered, this, &AppearanceCommands::documentFont);
    connect(a.documentFontColour, &QAction::triggered, this, &AppearanceCommands::documentColour);
    connect(a.popupColour, &QAction::triggered, this, &AppearanceCommands::documentColour);
    for (QAction* bigger : {a.biggerFont, a.popupBigger})
        connect(bigger, &QAction::triggered, this, [this] { documentSizeStep(2); });
    for (QAction* smaller : {a.smallerFont, a.popupSmaller})
        connect(smaller, &QAction::triggered, this, [this] { documentSizeStep(-2); });
    for (QAction* size : {a.sizeLargest, a.sizeLarger, a.sizeMedium, a.sizeSmaller, a.sizeSmallest})
        connect(size, &QAction::triggered, this, [this, size] { documentBaseSize(size); });
    const QList<QAction*> backs = {a.wanyueBackground, a.haofangBackground, a.jujuBackground,
                                   a.lushiBackground, a.otherBackground};
    for (int i = 0; i < backs.size(); ++i)
        connect(backs[i], &QAction::triggered, this, [this, i] { documentBackground({i}); });
    connect(a.allDocumentsBackground, &QAction::triggered, this, [this] {
        documentBackground({0, 1, 2, 3, 4});
    });
    connect(a.windowFont, &QAction::triggered, this, &AppearanceCommands::windowFont);
    connect(a.windowFontColour, &QAction::triggered, this, &AppearanceCommands::windowFontColour);
    connect(a.windowBackground, &QAction::triggered, this, &AppearanceCommands::windowBackground);
    // Each click toggles the check (the items are checkable), then both channels follow.
    connect(a.animateChannels, &QAction::triggered, this, &AppearanceCommands::applyChannelOptions);
    connect(a.openChannelsOnClick, &QAction::triggered, this,
            &AppearanceCommands::applyChannelOptions);
}

// ---- Styles -------------------------------------------------------------------

void AppearanceCommands::reapplySkin() {
    const QString path = m_settings.readString(QString::fromLatin1(settings::kThemeFileSection),
                                               QString::fromLatin1(settings::kThemeFileKey));
    if (!path.isEmpty())
        m_theme->setThemeFile(path); // a missing file loads nothing: DeepBlue stands in
    for (QAction* item : m_actions.skinsInRestoreOrder()) {
        if (item->isChecked()) {
            chooseSkin(item);
            return;
        }
    }
    if (!path.isEmpty()) {
        m_themeItem->setChecked(true);
        m_manager->setFileTheme(m_theme);
        applyStyle(UIStyle::FromThemeFile);
    }
}

void AppearanceCommands::chooseSkin(QAction* item) {
    const MainActions& a = m_actions;
    for (QAction* other : a.skinsInRestoreOrder())
        other->setChecked(other == item);
    m_themeItem->setChecked(false);
    applyStyle(item == a.skinXp          ? UIStyle::WinXP
               : item == a.skinBlueGlass ? UIStyle::BlueGlass
               : item == a.skinDeepBlue  ? UIStyle::DeepBlue
               : item == a.skinProtein   ? UIStyle::Protein
                                         : UIStyle::MacOS);
}

void AppearanceCommands::applyStyle(UIStyle style) {
    m_manager->setUIStyle(style);
}

void AppearanceCommands::chooseThemeFile() {
    // The item's own toggle is undone: the check follows what was applied.
    m_themeItem->setChecked(m_frame->uiStyle() == UIStyle::FromThemeFile);
    QFileDialog dialog(m_window, QStringLiteral("主题文件"));
    dialog.setObjectName(QStringLiteral("ThemeFileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("主题文件 (*.theme)"), QStringLiteral("所有文件 (*)")});
    if (!m_theme->themeFile().isEmpty())
        dialog.selectFile(m_theme->themeFile());
    if (m_modals.exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    if (!m_theme->setThemeFile(path)) {
        m_modals.showError(m_window, m_theme->lastError());
        return;
    }
    runGuarded(m_modals, m_window, [&] {
        m_settings.writeString(QString::fromLatin1(settings::kThemeFileSection),
                               QString::fromLatin1(settings::kThemeFileKey), path);
    });
    for (QAction* other : m_actions.skinsInRestoreOrder())
        other->setChecked(false);
    m_themeItem->setChecked(true);
    m_manager->setFileTheme(m_theme);
    applyStyle(UIStyle::FromThemeFile);
}

void AppearanceCommands::applyChannelOptions() {
    for (TskSideChannel* channel : std::as_const(m_channels)) {
        channel->quickMove = !m_actions.animateChannels->isChecked();
        channel->popupMode = m_actions.openChannelsOnClick->isChecked() ? TskSideChannel::MouseClick
                                                                        : TskSideChannel::MouseOn;
    }
}

// ---- The documents --------------------------------------------------------------

QList<QTextEdit*> AppearanceCommands::documents() const {
    QList<QTextEdit*> docs;
    for (int n = 1; n <= 5; ++n)
        if (auto* d = m_window->findChild<QTextEdit*>(QStringLiteral("skm%1").arg(n)))
            docs << d;
    return docs;
}

void AppearanceCommands::documentFont() {
    const std::optional<QFont> font = m_dialogs.chooseFont(m_modals, m_window);
    if (!font)
        return;
    // The name and size only: bold, italic and the rest are not applied.
    QTextCharFormat f;
    f.setFontFamilies({font->family()});
    f.setFontPointSize(font->pointSizeF() > 0 ? font->pointSizeF() : 10);
    for (QTextEdit* doc : documents())
        doc->mergeCurrentCharFormat(f);
}

void AppearanceCommands::documentColour() {
    const std::optional<QColor> colour = m_dialogs.chooseColour(m_modals, m_window);
    if (!colour)
        return;
    QTextCharFormat f;
    f.setForeground(*colour);
    for (QTextEdit* doc : documents())
        doc->mergeCurrentCharFormat(f);
}

void AppearanceCommands::documentSizeStep(int points) {
    for (QTextEdit* doc : documents()) {
        qreal size = doc->currentCharFormat().fontPointSize();
        if (size <= 0)
            size = doc->font().pointSizeF();
        // Shrinking stops at one point: a size below it cannot be shown.
        QTextCharFormat f;
        f.setFontPointSize(std::max<qreal>(1, size + points));
        doc->mergeCurrentCharFormat(f);
    }
}

void AppearanceCommands::documentBaseSize(QAction* item) {
    const QList<QAction*> sizes = {m_actions.sizeLargest, m_actions.sizeLarger,
                                   m_actions.sizeMedium, m_actions.sizeSmaller,
                                   m_actions.sizeSmallest};
    for (QAction* other : sizes)
        other->setChecked(other == item);
    const int points = kBaseSizes[sizes.indexOf(item)];
    for (QTextEdit* doc : documents()) {
        QFont f = doc->font();
        f.setPointSize(points);
        doc->setFont(f);
    }
}

void AppearanceCommands::documentBackground(const QList<int>& which) {
    const std::optional<QColor> colour = m_dialogs.chooseColour(m_modals, m_window);
    if (!colour)
        return;
    const QList<QTextEdit*> docs = documents();
    for (int i : which)
        if (i < docs.size())
            skin::setBackground(docs[i], skin::numberFromColour(*colour));
}

// ---- The reference panes ----------------------------------------------------------

QList<QWidget*> AppearanceCommands::controls(const QStringList& names) const {
    QList<QWidget*> found;
    for (const QString& name : names)
        if (auto* w = m_window->findChild<QWidget*>(name))
            found << w;
    return found;
}

void AppearanceCommands::windowFont() {
    const std::optional<QFont> font = m_dialogs.chooseFont(m_modals, m_window);
    if (!font)
        return;
    for (QWidget* w : controls(kReferenceGroup + QStringList{u"Memo6"_qs, u"Memo9"_qs}))
        w->setFont(*font);
}

void AppearanceCommands::windowFontColour() {
    const std::optional<QColor> colour = m_dialogs.chooseColour(m_modals, m_window);
    if (!colour)
        return;
    for (QWidget* w : controls(kReferenceGroup + QStringList{u"Memo9"_qs}))
        skin::setFontColour(w, skin::numberFromColour(*colour));
}

void AppearanceCommands::windowBackground() {
    const std::optional<QColor> colour = m_dialogs.chooseColour(m_modals, m_window);
    if (!colour)
        return;
    for (QWidget* w : controls(kReferenceGroup + QStringList{u"skMemo5"_qs, u"Memo9"_qs}))
        skin::setBackground(w, skin::numberFromColour(*colour));
}
