#include "app/ui/TForm1.h"

#include "app/ui/appearance_commands.h"
#include "app/ui/centre_panes.h"
#include "app/ui/edit_commands.h"
#include "app/ui/file_steps.h"
#include "app/ui/help_links.h"
#include "app/ui/help_menu.h"
#include "app/ui/settings_binding.h"
#include "app/ui/splash_window.h"
#include "app/ui/view_modes.h"
#include "base/core/app_error.h"
#include "base/core/clock.h"
#include "base/ui/modals.h"
#include "base/ui/url_opener.h"
#include "catalogue/ui/pattern_display.h"
#include "catalogue/ui/pattern_panels.h"
#include "checker/ui/check_pane.h"
#include "favourites/ui/favourite_commands.h"
#include "favourites/ui/favourites_panels.h"
#include "library/ui/knowledge_panels.h"
#include "library/ui/library_menus.h"
#include "rhyme/ui/rhyme_master.h"
#include "rhyme/ui/rhyme_panels.h"
#include "search/ui/poem_search.h"
#include "skin/ui/skinned.h"
#include "workspace/ui/document_loader.h"
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
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>

namespace {

const QString kTitle = QString::fromUtf8(kApplicationTitle);

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
    // The documents' files are the slow part of start-up when they are large: they
    // are read and built on another thread from here on, and handed to the editors at
    // their load step (7).
    m_loader = std::make_unique<DocumentLoader>(m_context.root, workspace::HeadSize(),
                                                m_context.beforeDocumentRest);
    if (!m_context.modals) {
        m_ownModals = std::make_unique<InteractiveModals>();
        m_context.modals = m_ownModals.get();
    }
    // Every modal window of the program goes through this: during start-up, it waits
    // for the splash to close.
    m_afterSplash = std::make_unique<AfterSplashModals>(*m_context.modals);
    m_modals = m_afterSplash.get();
    if (!m_context.clock) {
        m_ownClock = std::make_unique<SystemClock>();
        m_context.clock = m_ownClock.get();
    }
    if (!m_context.urls) {
        m_ownUrls = std::make_unique<DesktopUrlOpener>();
        m_context.urls = m_ownUrls.get();
    }
    m_files = std::make_unique<FileSteps>(m_context.root, *m_modals, this);
    // The window itself is built behind the splash (step 2).
    FormCreate();
}

void TForm1::buildWindow() {
    if (m_built)
        return;
    m_built = true;
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
}

TForm1::~TForm1() {
    // The edit commands go first: taking the controls down moves the focus, and their
    // refresh must not reach actions that are being destroyed.
    delete m_editCommands;
}

const QSet<QString>& TForm1::unloadedFiles() const {
    return m_files->unloaded();
}

// ---- Building the window -------------------------------------------------------

void TForm1::buildFrame() {
    setObjectName(QStringLiteral("Form1"));
    resize(843, 611);
    setMinimumSize(130, 31);
    skForm1 = new TskForm(QStringLiteral("skForm1"), this);
    skForm1->setFramed(true); // our own title bar and border
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
    skSideChannel1 = new TskSideChannel(QStringLiteral("skSideChannel1"), central, m_context.clock);
    skSideChannel1->setStatusTip(QStringLiteral("词谱列表栏"));
    skSideChannel1->setOpenWidth(193);
    skSideChannel2 = new TskSideChannel(QStringLiteral("skSideChannel2"), central, m_context.clock);
    skSideChannel2->setStatusTip(QStringLiteral("调韵侠"));
    skSideChannel2->setAlign(TskSideChannel::skRight);
    skSideChannel2->setOpenWidth(186);
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
    // ---- The check pane (格律检查): beside the documents; its command in 编辑 and on the
    // tool bar. It reads the document and the template on show and changes neither.
    m_check = installCheckPane(
        {.document =
             [this] {
                 return m_workspace->documents.value(m_workspace->skTabControl1->tabIndex());
             },
         .templateText =
             [this] {
                 return (!m_favourites->skMmemo3->isHidden() ? m_favourites->skMmemo3
                                                             : m_patterns->skMemo3)
                     ->toPlainText();
             },
         .patternName =
             [this] {
                 return !m_favourites->skMmemo3->isHidden() ? QString()
                                                            : m_patterns->skPanel6->caption();
             },
         .watched = QList<QObject*>{m_patterns->skMemo3, m_favourites->skMmemo3,
                                    m_workspace->skTabControl1}},
        m_context.root.shippedFolder() + QStringLiteral("/data/checker"), lowerRow,
        m_actions.editMenu, m_toolBar.ToolBar1, m_patterns->skPanel6->captionStrip());
    // ---- end of the check pane
    body->addWidget(lower, 1);
    m_knowledge = new KnowledgePanels(Panel6, skPanel14);
    m_centre = new CentrePanes({.skPanel6 = m_patterns->skPanel6,
                                .skMemo3 = m_patterns->skMemo3,
                                .skPanel8 = m_favourites->skPanel8,
                                .skMmemo3 = m_favourites->skMmemo3},
                               this);
    m_centre->onHover({skPanel5, m_patterns->skPanel6, m_patterns->skPanel7, m_favourites->skPanel8,
                       m_patterns->skPanel11, m_workspace->skTabControl1},
                      [this] { m_favourites->showPlainAddIcon(); });
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
    auto* third = new QLabel(help_links::forum(), skStatusBar1);
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
    m_viewModes = new ViewModes({.skRadioButton6 = skRadioButton6,
                                 .skRadioButton7 = skRadioButton7,
                                 .skRadioButton8 = skRadioButton8,
                                 .N4 = a.N4,
                                 .N5 = a.N5,
                                 .D2 = a.D2,
                                 .H1 = a.H1,
                                 .centre = m_centre,
                                 .viewButtons = {viewButtons.begin(), viewButtons.end()},
                                 .skCheckBox1 = m_patterns->skCheckBox1,
                                 .Panel1 = Panel1,
                                 .Panel3 = Panel3,
                                 .Panel6 = Panel6,
                                 .skPanel14 = skPanel14},
                                this);

    m_display = new PatternDisplay(*m_patterns, a.H1, m_context.root, *m_modals, this);
    m_display->attachToolBarSearch(m_toolBar.Edit1, m_toolBar.skButton1);
    connect(m_display, &PatternDisplay::patternPanesWanted, m_centre, &CentrePanes::showPattern);
    connect(a.F2, &QAction::triggered, m_display, &PatternDisplay::openSearchDialog);
    connect(m_toolBar.button(MainToolBar::Find), &QToolButton::clicked, m_display,
            &PatternDisplay::openSearchDialog);
    // The view buttons' hover colours: blue over a button, dark grey elsewhere.
    for (int i = 0; i < viewButtons.size(); ++i)
        m_centre->onHover(
            {viewButtons[i]}, [this, i] { m_display->hoverButton(catalogue::PatternView(i)); },
            CentrePanes::EnterOnly);
    m_centre->onHover({skPanel5, m_patterns->skPanel6, m_patterns->skMemo1, m_patterns->skMemo2,
                       m_patterns->Memo2, m_patterns->Memo3, m_patterns->Memo4, m_patterns->Memo5,
                       m_patterns->skPanel7, m_favourites->skPanel8, m_favourites->skMmemo1,
                       m_patterns->skPanel11, m_patterns->Memo6, Panel1, Panel3, Panel6,
                       m_favourites->skPanel4, m_patterns->skPanel2, m_rhyme->skPanel9},
                      [this] { m_display->hoverElsewhere(); });

    m_rhymeMaster = new RhymeMaster(
        *m_rhyme,
        {.C2 = a.C2, .M1 = a.M1, .P6 = a.P6, .N81 = a.N81, .T3 = a.T3, .C4 = a.C4, .B3 = a.B3},
        *m_modals, this);

    m_documents = new WorkspaceCommands(*m_workspace,
                                        {.S1 = a.S1,
                                         .O1 = a.O1,
                                         .L1 = a.L1,
                                         .C3 = a.C3,
                                         .R1 = a.R1,
                                         .T2 = a.T2,
                                         .P5 = a.P5,
                                         .W2 = a.W2,
                                         .saveButton = m_toolBar.button(MainToolBar::Save)},
                                        m_context.root, *m_modals, this);

    m_recovery =
        new DocumentRecovery(*m_workspace, m_context.root, *m_context.clock, *m_modals, this);

    m_lock = new DocumentLock({.P7 = a.P7,
                               .M4 = a.M4,
                               .documents = m_workspace->documents,
                               .skTabControl1 = m_workspace->skTabControl1},
                              m_settings, *m_modals, this);

    // The reference library: the knowledge pane's topics, the 赏析 and 附录 windows.
    m_knowledge->attach(m_context.root, *m_modals);
    m_library = new LibraryMenus({.anthologyMenu = a.anthologyMenu,
                                  .shilv = a.N21,
                                  .areaCodes = a.N22,
                                  .postalCodes = a.N23,
                                  .tools = a.N24},
                                 m_context.root, *m_modals, this);
    // 诗词检索 and 前人用例 over the selection of the document in front.
    m_search = new PoemSearch(
        {.openWindow = a.poemSearch,
         .precedents = a.popupPrecedents,
         .selection =
             [this] { return m_workspace->visibleDocument()->textCursor().selectedText(); }},
        m_context.root, *m_modals, this);

    m_favouriteCommands =
        new FavouriteCommands(*m_favourites,
                              {.N2 = a.N2,
                               .L3 = a.L3,
                               .V2 = a.V2,
                               .M3 = a.M3,
                               .D3 = a.D3,
                               .addButton = m_toolBar.button(MainToolBar::AddFavourite)},
                              m_context.root, m_settings, *m_modals, this);
    connect(m_favouriteCommands, &FavouriteCommands::verseViewWanted, this,
            [this] { skRadioButton7->setSkChecked(true); }); // runs its handler on a change
    connect(m_favouriteCommands, &FavouriteCommands::favouritePanesWanted, m_centre,
            &CentrePanes::showFavourite);
    connect(m_favouriteCommands, &FavouriteCommands::favouriteShownInCentre, this, [this] {
        m_patterns->skPanel7->show();
        m_patterns->skPanel11->hide();
        m_actions.H1->setEnabled(false);
    });

    // The kit's input and password dialogs: carried by the window (its theme manager
    // styles them) and opened by no command.
    TskInputDialog::programDialog(QStringLiteral("skInputDialog1"), this);
    TskPasswordDialog::programDialog(QStringLiteral("skPasswordDialog1"), this);

    // The look: styles, theme file, fonts, colours, sizes and the channels' options.
    m_appearance = new AppearanceCommands(this, a, skForm1, {skSideChannel1, skSideChannel2},
                                          m_settings, *m_modals);

    // The standard edit commands: on the focused control, or on the shown document.
    m_editCommands =
        new EditCommands({.undo = {a.Z1, a.popupUndo},
                          .cut = {a.X2, a.popupCut},
                          .copy = {a.C1, a.popupCopy},
                          .paste = {a.V1, a.popupPaste},
                          .selectAll = {a.A1, a.popupSelectAll},
                          .menus = {a.editMenu, a.skPopupMenu1},
                          .undoButton = m_toolBar.button(MainToolBar::Undo),
                          .cutButton = m_toolBar.button(MainToolBar::Cut),
                          .copyButton = m_toolBar.button(MainToolBar::Copy),
                          .pasteButton = m_toolBar.button(MainToolBar::Paste),
                          .shownDocument = [this] { return m_workspace->visibleDocument(); }},
                         this);

    // The help and music menus with their tool-bar buttons.
    m_help = connectHelpAndMusic(a, m_toolBar, m_context, m_settings.path(), *m_modals, this);
}

// ---- Start-up -----------------------------------------------------------------

void TForm1::FormCreate() {
    // 1. The pop-up notice runs by itself.
    TskPopForm::mainWindowNotice(this, m_context.clock)->Show();
    // 2. The splash, modal, closing itself after two seconds or on a click; the window
    // is built and the start-up runs on while it shows (what asks the user anything
    // waits for the splash to close).
    showSplash();
}

void TForm1::startUp() {
    if (m_startedUp)
        return;
    m_startedUp = true;
    // 3. The settings file was opened with the window (a missing file reads as empty).
    // 4. The lock marker.
    m_lockMarker = m_lock->storedMarker();
    // Writes that a kill interrupted leave temporaries beside the files; none is read.
    removeStaleTemporaries();
    // 5–9. The data files, each whole into its control. The three written back at
    // shutdown keep a damaged original aside first, and say so.
    m_files->load(FavouritesPanels::namesFile(),
                  [this](auto& root) { return m_favourites->loadNames(root); });
    m_files->load(KnowledgePanels::listFile(), [this](auto& root) {
        m_knowledge->loadList(root);
        return QString();
    });
    // The documents were read meanwhile (see the constructor); a large one shows its
    // head first and is made whole as soon as its rest is built.
    auto prepared = m_loader->takePrepared();
    for (int n = 1; n <= 5; ++n)
        m_files->load(WorkspaceCommands::storePath(n), [this, n, &prepared](auto&) {
            return m_documents->load(n, std::move(prepared[n - 1]));
        });
    m_loader->deliverTo(
        [this](int n, DocumentLoader::Whole whole) {
            m_documents->completeLoad(n, std::move(whole));
        },
        this);
    m_documents->setFinishLoading([this] { m_loader->finish(); });
    // Text a crashed run left unsaved is offered back over what was loaded, so over
    // the whole documents.
    if (m_context.root.exists(DocumentRecovery::path()))
        m_loader->finish();
    m_recovery->offer();
    m_files->load(KnowledgePanels::paneFile(),
                  [this](auto& root) { return m_knowledge->loadPane(root); });
    m_files->load(PatternDisplay::templateViewFile(),
                  [this](auto&) { return m_display->loadTemplateView(); });
    // 10–20. Fonts, sizes, colours, backgrounds, selections, visibility, captions, pane
    // texts, window size, protection and check marks, in the table's order.
    applySettingsKeys();
    // 21. The chosen skin again.
    reapplySkin();
    // 22. The rhyme-book label.
    m_rhymeMaster->labelRestoredBook();
    // 23. The example flag in the 诗/藏 mode.
    m_viewModes->settleRestoredMode();
    // 24. The side channels' options.
    m_appearance->applyChannelOptions();
    // 25. The password prompt, when the lock is on; it leaves the marker as answered.
    if (m_actions.M4->isChecked())
        m_lockMarker = m_lock->startUpPrompt();
    // 26. The documents are hidden only while the lock is on and was not opened.
    m_lock->showDocumentsUnlessLocked(m_lockMarker);
    // 27. The spinners follow their panes' sizes.
    m_rhymeMaster->followPaneSize();
    m_knowledge->followPaneSize();
    // 28. The start-up notice, unless it was switched off.
    m_help->startUpNotice();
    // 29. 锁定收藏内容.
    m_favourites->lockContents(m_actions.M3->isChecked());
}

void TForm1::showSplash() {
    TForm17 splash(*m_context.clock, this);
    // Once the splash is on the screen, the user looks at it while the window is built
    // and started up; a click that closes it meanwhile is answered when that is done.
    m_afterSplash->setSplash(&splash);
    connect(&splash, &TForm17::shown, &splash, [this] {
        buildWindow();
        startUp();
        // Made ready to show: its native window made and its layout settled.
        winId();
        if (layout())
            layout()->activate();
    });
    m_modals->exec(splash);
    // When the splash closed before it was painted, or ran no loop.
    buildWindow();
    startUp();
}

void TForm1::removeStaleTemporaries() {
    m_settings.removeStaleTemporaries();
    QStringList written = {FavouritesPanels::namesFile(), KnowledgePanels::paneFile(),
                           PatternDisplay::templateViewFile(), DocumentRecovery::path()};
    for (int n = 1; n <= 5; ++n)
        written << WorkspaceCommands::storePath(n) << WorkspaceCommands::copyPath(n);
    m_context.root.removeStaleTemporaries(written);
}

void TForm1::applySettingsKeys() {
    for (const settings::Key& key : settings::mainWindowKeys()) {
        if (key.read)
            settings::apply(this, key, m_settings);
    }
}

void TForm1::reapplySkin() {
    m_appearance->reapplySkin();
}

// ---- Activation ---------------------------------------------------------------

bool TForm1::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    if (e->type() == QEvent::Paint && !m_painted) {
        // The first screen is drawn (and put on the screen once this returns to the
        // loop): the rest of a large document may now be built.
        m_painted = true;
        QMetaObject::invokeMethod(m_loader.get(), &DocumentLoader::buildRest, Qt::QueuedConnection);
    }
    if (e->type() == QEvent::Show && !m_shown) {
        // A window shown but never painted (minimised at once, say) still gets the rest.
        // Not before it is shown: a document made whole on a window not yet shown is laid
        // out differently from one made whole on screen.
        m_shown = true;
        QTimer::singleShot(DocumentLoader::kLatestRestStartMs, m_loader.get(),
                           &DocumentLoader::buildRest);
    }
    return QMainWindow::event(e);
}

void TForm1::FormActivate() {
    if (!isMaximized())
        setWindowState(windowState() | Qt::WindowMaximized);
    skForm1->setCaption(kTitle);
}

// ---- Shutdown -----------------------------------------------------------------

void TForm1::closeEvent(QCloseEvent* e) {
    if (FormClose()) {
        m_loader->abandon(); // everything is stored: a rest still being built is not wanted
        stopDocumentLayout();
        e->accept();
    } else
        e->ignore(); // the window stays open; the next close runs the sequence again
}

bool TForm1::FormClose() {
    try {
        // 1. The five documents.
        for (int n = 1; n <= 5; ++n) {
            // Typing into a document whose file could not be read is kept beside it.
            if (const QString kept = m_documents->keepTypingBesideUnreadFile(n); !kept.isEmpty())
                showError(kept);
            m_files->save(WorkspaceCommands::storePath(n),
                          [this, n](auto&) { m_documents->store(n); });
        }
        // 2. The knowledge pane, the template-file view and the favourites' names (with
        // their slots: none is kept past the last name).
        m_files->save(KnowledgePanels::paneFile(),
                      [this](auto& root) { m_knowledge->storePane(root); });
        m_files->save(PatternDisplay::templateViewFile(),
                      [this](auto&) { m_display->storeTemplateView(); });
        m_files->save(FavouritesPanels::namesFile(),
                      [this](auto& root) { m_favouriteCommands->store(root); });
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

void TForm1::stopDocumentLayout() {
    // Qt lays a large document out in idle-time steps of up to 200,000 characters
    // after it is shown; a step still due when the window closes would hold up the end
    // of the program for nothing, since everything is stored and nothing is shown.
    struct DropTimers : QObject {
        using QObject::QObject;
        bool eventFilter(QObject*, QEvent* e) override { return e->type() == QEvent::Timer; }
    };
    for (QTextEdit* document : m_workspace->documents) {
        QObject* layout = document->document()->documentLayout();
        layout->installEventFilter(new DropTimers(layout));
    }
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
