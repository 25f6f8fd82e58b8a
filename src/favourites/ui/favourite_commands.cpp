#include "favourites/ui/favourite_commands.h"

#include "base/core/app_error.h"
#include "base/core/data_root.h"
#include "base/core/settings_file.h"
#include "base/ui/modals.h"
#include "favourites/core/favourite_keys.h"
#include "favourites/core/favourites_store.h"
#include "favourites/ui/add_favourite_window.h"
#include "favourites/ui/clear_favourites_window.h"
#include "favourites/ui/edit_favourites_window.h"
#include "favourites/ui/favourites_panels.h"
#include "skin/ui/message_dialog.h"
#include "skin/ui/skinned.h"

#include <QAbstractButton>
#include <QAction>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QToolButton>
#include <algorithm>

using favourites::Contents;

namespace {

const QString kNames = QString::fromLatin1(favourites::kNamesFile);

// The stored slots, as many as there are favourites: missing ones empty, none beyond.
QList<Contents> slotsFor(const SettingsFile& settings, qsizetype count) {
    return favourites::readSlots(settings, count);
}

} // namespace

FavouriteCommands::FavouriteCommands(FavouritesPanels& panels,
                                     const FavouriteCommandControls& controls, const DataRoot& root,
                                     SettingsFile& settings, ModalRunner& modals, QWidget* window)
    : QObject(window), p(panels), c(controls), m_root(root), m_settings(settings), m_modals(modals),
      m_window(window) {
    setObjectName(QStringLiteral("favouriteCommands"));
    unlockWarning = TskMessageDialog::programDialog(
        QStringLiteral("skMessageDialog2"), TskMessageDialog::skWarning,
        QStringLiteral("现在，您的个人收藏可以在诗词栏和词谱栏随意修改，修改后请保存"
                       "（收藏——保存收藏内容）。"),
        this);
    connect(c.add, &QAction::triggered, this, &FavouriteCommands::add);
    connect(c.addButton, &QAbstractButton::clicked, this, &FavouriteCommands::add);
    connect(p.titleAddButton, &QAbstractButton::clicked, this, &FavouriteCommands::add);
    connect(&p, &FavouritesPanels::addRequested, this, &FavouriteCommands::add);
    connect(c.save, &QAction::triggered, this, &FavouriteCommands::save);
    connect(c.lock, &QAction::triggered, this, &FavouriteCommands::setLocked);
    connect(c.editList, &QAction::triggered, this, &FavouriteCommands::editList);
    connect(c.clear, &QAction::triggered, this, &FavouriteCommands::clear);
    connect(p.favouritesList, &QListWidget::currentRowChanged, this, &FavouriteCommands::showRow);
    connect(p.favouritesList, &QListWidget::itemClicked, this,
            [this] { showRow(p.favouritesList->currentRow()); });
}

QStringList FavouriteCommands::names() const {
    QStringList all;
    for (int i = 0; i < p.favouritesList->count(); ++i)
        all << p.favouritesList->item(i)->text();
    return all;
}

void FavouriteCommands::selectQuietly(int row) {
    QSignalBlocker quiet(p.favouritesList);
    p.favouritesList->setCurrentRow(row);
    if (row < 0)
        p.favouritesList->clearSelection();
}

// ---- Add ------------------------------------------------------------------------

void FavouriteCommands::add() {
    Q_EMIT verseViewWanted();
    Q_EMIT favouritePanesWanted();
    AddFavouriteWindow window(
        m_modals,
        [&window, this](const QString& name, const QString& examples, const QString& pattern) {
            return commitAdd(&window, name, examples, pattern);
        },
        m_window);
    if (m_modals.exec(window) == QDialog::Accepted)
        return; // the new favourite is on disk already
    // Leaving without adding still stores what the boxes show for the selected one, so
    // edits made in the unlocked boxes are kept by it too.
    runGuarded(m_modals, m_window, [this] { storeShownFavourite(); });
}

bool FavouriteCommands::commitAdd(QWidget* dialog, const QString& name, const QString& examples,
                                  const QString& pattern) {
    QStringList all = names();
    all << name;
    try {
        QList<Contents> slotList = slotsFor(m_settings, all.size() - 1);
        slotList.append({name, examples, pattern});
        favourites::store(m_settings, slotList, [&] { m_root.writeLines(kNames, all); });
    } catch (const AppError& e) {
        m_modals.showError(dialog, e.message());
        return false;
    }
    p.favouritesList->addItem(name);
    selectQuietly(p.favouritesList->count() - 1);
    p.poemPanel->setCaption(name);
    p.poemPane->setPlainText(examples);
    p.templatePane->setPlainText(pattern);
    return true;
}

void FavouriteCommands::storeShownFavourite() {
    const QStringList all = names();
    QList<Contents> slotList = slotsFor(m_settings, all.size());
    const int row = p.favouritesList->currentRow();
    if (row >= 0)
        slotList[row] = {p.poemPanel->caption(), p.poemPane->toPlainText(),
                         p.templatePane->toPlainText()};
    favourites::store(m_settings, slotList, [&] { m_root.writeLines(kNames, all); });
}

// ---- Show, save, lock -----------------------------------------------------------

void FavouriteCommands::showRow(int row) {
    Q_EMIT favouritePanesWanted();
    Q_EMIT favouriteShownInCentre();
    if (row < 0)
        return;
    const Contents shown = favourites::readSlot(m_settings, row + 1);
    p.poemPanel->setCaption(shown.title);
    p.poemPane->setPlainText(shown.examples);
    p.templatePane->setPlainText(shown.pattern);
}

void FavouriteCommands::save() {
    Q_EMIT verseViewWanted();
    const int row = p.favouritesList->currentRow();
    if (row < 0)
        return;
    runGuarded(m_modals, m_window, [&] {
        QList<Contents> slotList =
            favourites::readSlots(m_settings, std::max(row + 1, int(p.favouritesList->count())));
        // The title as it stands: no command changes it after the add.
        slotList[row] = {p.poemPanel->caption(), p.poemPane->toPlainText(),
                         p.templatePane->toPlainText()};
        favourites::store(m_settings, slotList, [] {});
    });
}

void FavouriteCommands::setLocked(bool locked) {
    if (!locked)
        unlockWarning->Execute(m_modals, m_window); // either answer unlocks
    p.lockContents(locked);
}

void FavouriteCommands::applyRestoredLock() {
    p.lockContents(c.lock->isChecked());
}

// ---- Edit the list, clear -------------------------------------------------------

void FavouriteCommands::editList() {
    Q_EMIT verseViewWanted();
    runGuarded(m_modals, m_window, [this] {
        // The editor starts from the file, which may still hold names cleared from the
        // list; their slotList are still on disk and go with them.
        const QString text = m_root.readText(kNames);
        const QStringList previous = favourites::editorRows(text);
        EditFavouritesWindow window(
            text, [&](const QString& edited) { return commitList(&window, previous, edited); },
            m_window);
        m_modals.exec(window);
    });
}

bool FavouriteCommands::commitList(QWidget* dialog, const QStringList& previous,
                                   const QString& text) {
    const QStringList rows = favourites::editorRows(text);
    const QList<int> match = favourites::matchRows(previous, rows);
    try {
        const QList<Contents> before = slotsFor(m_settings, previous.size());
        QList<Contents> slotList;
        for (int from : match)
            slotList.append(from >= 0 ? before[from] : Contents{});
        favourites::store(m_settings, slotList, [&] { m_root.writeText(kNames, text); });
    } catch (const AppError& e) {
        m_modals.showError(dialog, e.message());
        return false;
    }
    // The favourite on show stays selected on its new row, so that 保存 writes the
    // boxes into its own slot; without one, nothing is selected.
    const int shown = names() == previous ? p.favouritesList->currentRow() : -1;
    {
        QSignalBlocker quiet(p.favouritesList);
        p.favouritesList->clear();
        p.favouritesList->addItems(rows);
    }
    selectQuietly(shown >= 0 ? int(match.indexOf(shown)) : -1);
    return true;
}

void FavouriteCommands::clear() {
    Q_EMIT verseViewWanted();
    ClearFavouritesWindow window(m_window);
    if (m_modals.exec(window) != QDialog::Accepted)
        return;
    {
        QSignalBlocker quiet(p.favouritesList);
        p.favouritesList->clear();
    }
    // The title caption stays; only the two boxes are emptied.
    p.poemPane->clear();
    p.templatePane->clear();
}

// ---- Shutdown -------------------------------------------------------------------

void FavouriteCommands::store(const DataRoot& root) {
    const QStringList all = names();
    favourites::store(m_settings, slotsFor(m_settings, all.size()),
                      [&] { root.writeLines(kNames, all); });
}
