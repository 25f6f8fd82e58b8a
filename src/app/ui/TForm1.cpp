#include "app/ui/TForm1.h"

#include "app/ui/TForm17.h"
#include "app/ui/edit_commands.h"
#include "app/ui/settings_binding.h"
#include "app/ui/view_modes.h"
#include "base/core/app_error.h"
#include "base/core/clock.h"
#include "base/ui/modals.h"
#include "base/ui/url_opener.h"
#include "catalogue/ui/pattern_display.h"
#include "catalogue/ui/pattern_panels.h"
#include "favourites/ui/favourites_panels.h"
#include "library/ui/knowledge_panels.h"
#include "rhyme/ui/rhyme_master.h"
#include "rhyme/ui/rhyme_panels.h"
#include "skin/ui/skinned.h"
#include "workspace/ui/document_lock.h"
#include "workspace/ui/document_recovery.h"
#include "workspace/ui/workspace_commands.h"
#include "workspace/ui/workspace_panel.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QString::fromUtf8(kApplicationTitle);
// The author's forum, shown in the third panel of the status bar.
const QString kForumAddress = QStringLiteral("https://forum.lyrevane.org");

QWidget* stackedPanel(const QString& name, QWidget* parent) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return panel;
}

} // namespace

TForm1::TForm1(AppContext context, QWidget* parent)
    : QMainWindow(parent), m_context(std::move(context)), m_settings(m_context.settingsPath) {
    m_modals = m_context.modals;
    if (!m_modals) {
        m_ownModals = std::make_unique<InteractiveModals>();
        m_modals = m_ownModals.get();
    }
    if (!m_context.clock) {
        m_ownClock = std::make_unique<SystemClock>();
        m_context.clock = m_ownClock.get();
    }
    if (!m_context.urls) {
        m_ownUrls = std::make_unique<DesktopUrlOpener>();
        m_context.urls = m_ownUrls.get();
    }
    {
        // The window as designed: setting a check here runs no handler.
        skin::DesignScope design;
        buildFrame();
        buildLeftChannel();
        buildCentre();
        buildRightChannel();
        buildStatusBar();
    }
    connectCommands();
    FormCreate();
}

TForm1::~TForm1() = default;

// ---- Building the window -------------------------------------------------------

void TForm1::buildFrame() {
    setObjectName(QStringLiteral("Form1"));
    resize(843, 611);
    setMinimumSize(130, 31);
    skForm1 = new TskForm(QStringLiteral("skForm1"), this);
    skForm1->setCaption(kTitle);
    m_actions = buildMainActions(this);
    m_toolBar = buildMainToolBar(this);
    addToolBarBreak();
    ToolBar4 = new QToolBar(this);
    ToolBar4->setObjectName(QStringLiteral("ToolBar4"));
    ToolBar4->setMovable(false);
    addToolBar(Qt::TopToolBarArea, ToolBar4);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("skForm1Client"));
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    skSideChannel1 = new TskSideChannel(QStringLiteral("skSideChannel1"), central);
    skSideChannel1->setStatusTip(QStringLiteral("词谱列表栏"));
    skSideChannel1->setFixedWidth(193);
    skSideChannel2 = new TskSideChannel(QStringLiteral("skSideChannel2"), central);
    skSideChannel2->setStatusTip(QStringLiteral("调韵侠"));
    skSideChannel2->setFixedWidth(186);
    auto* centre = new QWidget(central);
    centre->setObjectName(QStringLiteral("centreArea"));
    new QGridLayout(centre);
    centre->layout()->setContentsMargins(0, 0, 0, 0);
    row->addWidget(skSideChannel1);
    row->addWidget(centre, 1);
    row->addWidget(skSideChannel2);
    setCentralWidget(central);
}

void TForm1::buildLeftChannel() {
    auto* column = new QVBoxLayout(skSideChannel1);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* stack = new QGridLayout;
    Panel1 = stackedPanel(QStringLiteral("Panel1"), skSideChannel1);
    Panel3 = stackedPanel(QStringLiteral("Panel3"), skSideChannel1);
    Panel6 = stackedPanel(QStringLiteral("Panel6"), skSideChannel1);
    for (QWidget* p : {Panel1, Panel3, Panel6})
        stack->addWidget(p, 0, 0);
    Panel3->hide();
    Panel6->raise(); // covers the other two when shown
    column->addLayout(stack, 1);

    auto* strip = new QWidget(skSideChannel1);
    strip->setObjectName(QStringLiteral("viewModeStrip"));
    strip->setFixedHeight(27);
    auto* modes = new QHBoxLayout(strip);
    modes->setContentsMargins(4, 0, 4, 0);
    skRadioButton6 =
        new TskRadioButton(QStringLiteral("skRadioButton6"), QStringLiteral("词牌"), strip);
    skRadioButton6->setStatusTip(QStringLiteral("词谱类"));
    skRadioButton7 =
        new TskRadioButton(QStringLiteral("skRadioButton7"), QStringLiteral("诗/藏"), strip);
    skRadioButton7->setStatusTip(QStringLiteral("诗类与收藏"));
    skRadioButton8 =
        new TskRadioButton(QStringLiteral("skRadioButton8"), QStringLiteral("赏析"), strip);
    skRadioButton8->setStatusTip(QStringLiteral("诗词知识"));
    for (auto* b : {skRadioButton6, skRadioButton7, skRadioButton8})
        modes->addWidget(b);
    skRadioButton6->setSkChecked(true);
    column->addWidget(strip);
}

void TForm1::buildCentre() {
    QWidget* centre = centralWidget()->findChild<QWidget*>(QStringLiteral("centreArea"));
    auto* stack = static_cast<QGridLayout*>(centre->layout());
    skPanel5 = new TskPanel(QStringLiteral("skPanel5"), centre, QString(), false);
    skPanel5->setStatusTip(QStringLiteral("词牌与填词区"));
    skPanel14 = new TskPanel(QStringLiteral("skPanel14"), centre, QString(), false);
    stack->addWidget(skPanel5, 0, 0);
    stack->addWidget(skPanel14, 0, 0); // over the pattern and writing area when shown
    skPanel14->raise();

    QVBoxLayout* body = skPanel5->body();
    auto* lower = new QWidget(skPanel5);
    lower->setObjectName(QStringLiteral("lowerArea"));
    auto* lowerRow = new QHBoxLayout(lower);
    lowerRow->setContentsMargins(0, 0, 0, 0);
    lowerRow->setSpacing(2);

    m_patterns = new PatternPanels(Panel1, Panel3, body, lowerRow);
    m_favourites = new FavouritesPanels(Panel3, body);
    body->insertWidget(0, m_favourites->skPanel8); // above the pattern panel
    m_favourites->addTemplatePane(m_patterns->skPanel7);
    m_workspace = new WorkspacePanel(lowerRow, m_actions.skPopupMenu1);
    body->addWidget(lower, 1);
    m_knowledge = new KnowledgePanels(Panel6, skPanel14);
    m_favourites->resetIconOver({skPanel5, m_patterns->skPanel6, m_patterns->skPanel7,
                                 m_favourites->skPanel8, m_patterns->skPanel11,
                                 m_workspace->skTabControl1});
}

void TForm1::buildRightChannel() {
    m_rhyme = new RhymePanels(ToolBar4, skSideChannel2);
}

void TForm1::buildStatusBar() {
    skStatusBar1 = new QStatusBar(this);
    skStatusBar1->setObjectName(QStringLiteral("skStatusBar1"));
    setStatusBar(skStatusBar1);
    // The first panel (500 pixels) is the bar's own message area, where hints show.
    skStatusBar1->setMinimumWidth(500 + 80 + 100);
    auto* second = new QLabel(skStatusBar1);
    second->setObjectName(QStringLiteral("skStatusBar1Panel2"));
    second->setFixedWidth(80);
    second->setAlignment(Qt::AlignCenter);
    auto* third = new QLabel(kForumAddress, skStatusBar1);
    third->setObjectName(QStringLiteral("skStatusBar1Panel3"));
    third->setMinimumWidth(100);
    third->setAlignment(Qt::AlignCenter);
    skStatusBar1->addPermanentWidget(second);
    skStatusBar1->addPermanentWidget(third);
}

void TForm1::connectCommands() {
    MainActions& a = m_actions;
    connect(a.X1, &QAction::triggered, this, &QWidget::close);

    const QList<QToolButton*> viewButtons = m_patterns->viewButtons();
    m_viewModes =
        new ViewModes(ViewModeControls{skRadioButton6, skRadioButton7, skRadioButton8, a.N4, a.N5,
                                       a.D2, a.H1, m_patterns->skPanel6, m_favourites->skPanel8,
                                       m_patterns->skMemo3, m_favourites->skMmemo3,
                                       QList<QWidget*>(viewButtons.begin(), viewButtons.end()),
                                       m_patterns->skCheckBox1, Panel1, Panel3, Panel6, skPanel14},
                      this);

    m_display = new PatternDisplay(*m_patterns, a.H1, m_context.root, *m_modals, this);
    m_display->attachToolBarSearch(m_toolBar.Edit1, m_toolBar.skButton1);
    m_display->setFavouritePanes(m_favourites->skPanel8, m_favourites->skMmemo3);
    connect(a.F2, &QAction::triggered, m_display, &PatternDisplay::openSearchDialog);
    connect(m_toolBar.button(MainToolBar::Find), &QToolButton::clicked, m_display,
            &PatternDisplay::openSearchDialog);
    m_display->watchHoverElsewhere(
        {skPanel5, m_patterns->skPanel6, m_patterns->skMemo1, m_patterns->skMemo2,
         m_patterns->Memo2, m_patterns->Memo3, m_patterns->Memo4, m_patterns->Memo5,
         m_patterns->skPanel7, m_favourites->skPanel8, m_favourites->skMmemo1,
         m_patterns->skPanel11, m_patterns->Memo6, Panel1, Panel3, Panel6, m_favourites->skPanel4,
         m_patterns->skPanel2, m_rhyme->skPanel9});

    m_rhymeMaster =
        new RhymeMaster(*m_rhyme, {a.C2, a.M1, a.P6, a.N81, a.T3, a.C4, a.B3}, *m_modals, this);

    m_documents = new WorkspaceCommands(
        *m_workspace,
        {a.S1, a.O1, a.L1, a.C3, a.R1, a.T2, a.P5, a.W2, m_toolBar.button(MainToolBar::Save)},
        m_context.root, *m_modals, this);

    m_recovery =
        new DocumentRecovery(*m_workspace, m_context.root, *m_context.clock, *m_modals, this);

    m_lock = new DocumentLock({a.P7, a.M4, m_workspace->documents, m_workspace->skTabControl1},
                              m_settings, *m_modals, this);

    for (QAction* skin : a.skinsInRestoreOrder())
        connect(skin, &QAction::triggered, this, [this, skin] { chooseSkin(skin); });

    // The standard edit commands: on the focused control, or on the shown document.
    new EditCommands({{a.Z1, a.popupUndo},
                      {a.X2, a.popupCut},
                      {a.C1, a.popupCopy},
                      {a.V1, a.popupPaste},
                      {a.A1, a.popupSelectAll},
                      {a.editMenu, a.skPopupMenu1},
                      m_toolBar.button(MainToolBar::Undo),
                      m_toolBar.button(MainToolBar::Cut),
                      m_toolBar.button(MainToolBar::Copy),
                      m_toolBar.button(MainToolBar::Paste),
                      [this] { return m_workspace->visibleDocument(); }},
                     this);
}

// ---- Start-up -----------------------------------------------------------------

void TForm1::FormCreate() {
    // 1. The pop-up notice runs by itself; it comes with the skinned kit's notice window.
    // 2. The splash, modal, closing itself after two seconds or on a click.
    {
        TForm17 splash(this);
        m_modals->exec(splash);
    }
    // 3. The settings file was opened with the window (a missing file reads as empty).
    // 4. The lock marker.
    m_lockMarker = m_settings.readString(QStringLiteral("temp"), QStringLiteral("worder"));
    // 5–9. The data files, each whole into its control.
    loadStep(QStringLiteral("user.dat"), [this](const DataRoot& root, const QString& path) {
        m_favourites->skListBox4->clear();
        m_favourites->skListBox4->addItems(root.readLines(path));
    });
    loadStep(QStringLiteral("Excursus\\changshi\\list.dat"),
             [this](const DataRoot& root, const QString& path) {
                 m_knowledge->ListBox3->clear();
                 m_knowledge->ListBox3->addItems(root.readLines(path));
             });
    for (int n = 1; n <= 5; ++n)
        loadStep(WorkspaceCommands::storePath(n), [this, n](const DataRoot&, const QString&) {
            // A damaged file is reported but counts as loaded: its original is kept
            // aside and the document is written back at shutdown.
            const QString damage = m_documents->load(n);
            if (!damage.isEmpty())
                showError(damage);
        });
    // Text a crashed run left unsaved is offered back over what was loaded.
    m_recovery->offer();
    loadStep(QStringLiteral("temp.dat"), [this](const DataRoot& root, const QString& path) {
        m_knowledge->Memo9->setPlainText(root.readLines(path).join(QLatin1Char('\n')));
    });
    loadStep(QStringLiteral("data.dat"), [this](const DataRoot& root, const QString& path) {
        m_patterns->Memo6->setPlainText(root.readLines(path).join(QLatin1Char('\n')));
    });
    // 10–20. Fonts, sizes, colours, backgrounds, selections, visibility, captions, pane
    // texts, window size, protection and check marks, in the table's order.
    applySettingsKeys();
    // 21. The chosen skin again.
    reapplySkin();
    // 22.
    if (m_rhyme->skR1->isChecked())
        m_rhyme->Panel5->setCaption(QStringLiteral(" 词韵简编："));
    // 23.
    if (skRadioButton7->isChecked())
        m_patterns->skCheckBox1->setEnabled(false);
    // 24. The side channels' options.
    for (TskSideChannel* channel : {skSideChannel1, skSideChannel2}) {
        channel->quickMove = !m_actions.S2->isChecked();
        channel->popupMode =
            m_actions.D1->isChecked() ? TskSideChannel::MouseClick : TskSideChannel::MouseOn;
    }
    // 25. The password prompt, when the lock is on; it leaves the marker as answered.
    if (m_actions.M4->isChecked()) {
        m_lockMarker = m_lock->startUpPrompt();
    }
    // 26. The documents are hidden only while the lock is on and was not opened.
    m_workspace->skTabControl1->setVisible(m_lockMarker != QLatin1String("morvel") ||
                                           !m_actions.M4->isChecked());
    // 27. The spinners follow their panes' sizes.
    m_rhyme->SpinEdit1->setValue(m_rhyme->skMemo5->font().pointSize());
    m_knowledge->SpinEdit2->setValue(m_knowledge->Memo9->font().pointSize());
    // 28. The start-up notice comes with the help windows.
    // 29.
    const bool locked = m_actions.M3->isChecked();
    m_favourites->skMmemo1->setReadOnly(locked);
    m_favourites->skMmemo3->setReadOnly(locked);
}

void TForm1::loadStep(const QString& path,
                      const std::function<void(const DataRoot&, const QString&)>& load) {
    try {
        load(m_context.root, path);
    } catch (const AppError& e) {
        // Start-up goes on; the file is never written back over at shutdown.
        m_unloaded.insert(path);
        showError(e.message());
    }
}

void TForm1::applySettingsKeys() {
    for (const settings::Key& key : settings::mainWindowKeys()) {
        if (key.read)
            settings::apply(this, key, m_settings);
    }
}

void TForm1::reapplySkin() {
    for (QAction* item : m_actions.skinsInRestoreOrder()) {
        if (item->isChecked()) {
            chooseSkin(item);
            return;
        }
    }
}

void TForm1::chooseSkin(QAction* item) {
    const MainActions& a = m_actions;
    for (QAction* other : a.skinsInRestoreOrder())
        other->setChecked(other == item);
    UIStyle style = item == a.WindowsXP2   ? UIStyle::WinXP
                    : item == a.BLUEGLASS1 ? UIStyle::BlueGlass
                    : item == a.DeepBlue1  ? UIStyle::DeepBlue
                    : item == a.Protein1   ? UIStyle::Protein
                                           : UIStyle::MacOS;
    skForm1->setUIStyle(style);
}

// ---- Activation ---------------------------------------------------------------

bool TForm1::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return QMainWindow::event(e);
}

void TForm1::FormActivate() {
    if (!isMaximized())
        setWindowState(windowState() | Qt::WindowMaximized);
    skForm1->setCaption(kTitle);
}

// ---- Shutdown -----------------------------------------------------------------

void TForm1::closeEvent(QCloseEvent* e) {
    if (FormClose())
        e->accept();
    else
        e->ignore(); // the window stays open; the next close runs the sequence again
}

bool TForm1::FormClose() {
    try {
        // 1. The five documents.
        for (int n = 1; n <= 5; ++n) {
            // Typing into a document whose file could not be read is kept beside it.
            if (const QString kept = m_documents->keepTypingBesideUnreadFile(n); !kept.isEmpty())
                showError(kept);
            saveStep(WorkspaceCommands::storePath(n),
                     [this, n](const DataRoot&, const QString&) { m_documents->store(n); });
        }
        // 2. The knowledge pane, the template-file view and the favourites' names.
        saveStep(QStringLiteral("temp.dat"), [this](const DataRoot& root, const QString& path) {
            root.writeText(path, m_knowledge->Memo9->toPlainText());
        });
        saveStep(QStringLiteral("data.dat"), [this](const DataRoot& root, const QString& path) {
            root.writeText(path, m_patterns->Memo6->toPlainText());
        });
        saveStep(QStringLiteral("user.dat"), [this](const DataRoot& root, const QString& path) {
            QStringList names;
            for (int i = 0; i < m_favourites->skListBox4->count(); ++i)
                names << m_favourites->skListBox4->item(i)->text();
            root.writeLines(path, names);
        });
        // 3. Every settings key, in the table's order, in one replacement of the file.
        writeSettingsKeys();
        // Everything is stored: the crash insurance is no longer needed.
        m_recovery->discard();
    } catch (const AppError& e) {
        showError(e.message());
        return false;
    }
    return true;
}

void TForm1::saveStep(const QString& path,
                      const std::function<void(const DataRoot&, const QString&)>& save) {
    // A file that exists but could not be read at start-up is left as it is; one that
    // was missing is written, since nothing on disk could be lost.
    if (m_unloaded.contains(path) && m_context.root.exists(path))
        return;
    save(m_context.root, path);
}

void TForm1::writeSettingsKeys() {
    m_settings.beginBatch();
    try {
        for (const settings::Key& key : settings::mainWindowKeys()) {
            if (key.written)
                settings::write(this, key, m_settings);
        }
    } catch (...) {
        m_settings.abandonBatch();
        throw;
    }
    m_settings.commitBatch();
}

// ---- Errors -------------------------------------------------------------------

void TForm1::showError(const QString& message) {
    m_modals->showError(this, message);
}
