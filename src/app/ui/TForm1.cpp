#include "app/ui/TForm1.h"

#include "app/ui/appearance_commands.h"
#include "app/ui/centre_panes.h"
#include "app/ui/check_pane_wiring.h"
#include "app/ui/edit_commands.h"
#include "app/ui/file_steps.h"
#include "app/ui/help_menu.h"
#include "app/ui/main_status_bar.h"
#include "app/ui/settings_binding.h"
#include "app/ui/splash_window.h"
#include "app/ui/view_modes.h"
#include "base/core/app_error.h"
#include "base/core/clock.h"
#include "base/ui/modals.h"
#include "base/ui/url_opener.h"
#include "catalogue/ui/pattern_display.h"
#include "catalogue/ui/pattern_panels.h"
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
#include <QCloseEvent>
#include <QGridLayout>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>

namespace {

const QString kTitle = QString::fromUtf8(kApplicationTitle);

} // namespace

TForm1::TForm1(AppContext context, QWidget* parent)
    : QMainWindow(parent), m_context(std::move(context)), m_settings(m_context.settingsPath) {
    // The documents' files are the slow part of start-up when they are large: they
    // are read and built on another thread from here on, and handed to the editors at
    // their load step.
    m_loader = std::make_unique<DocumentLoader>(m_context.root, workspace::HeadSize(),
                                                m_context.beforeDocumentRest);
    m_loader->buildRestAfterFirstScreen(this);
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
    // The window itself is built behind the splash.
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
        m_modes = buildViewModeColumns(m_leftChannel);
        buildCentre();
        buildRightChannel();
        buildMainStatusBar(this);
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
    m_frame = new TskForm(QStringLiteral("skForm1"), this);
    m_frame->setFramed(true); // our own title bar and border
    m_frame->setCaption(kTitle);
    m_actions = buildMainActions(this);
    m_toolBar = buildMainToolBar(this);
    addToolBarBreak();
    m_rhymeToolBar = new QToolBar(this);
    m_rhymeToolBar->setObjectName(QStringLiteral("ToolBar4"));
    m_rhymeToolBar->setMovable(false);
    addToolBar(Qt::TopToolBarArea, m_rhymeToolBar);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("skForm1Client"));
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    m_leftChannel = new TskSideChannel(QStringLiteral("skSideChannel1"), central, m_context.clock);
    m_leftChannel->setStatusTip(QStringLiteral("词谱列表栏"));
    m_leftChannel->setOpenWidth(193);
    m_rightChannel = new TskSideChannel(QStringLiteral("skSideChannel2"), central, m_context.clock);
    m_rightChannel->setStatusTip(QStringLiteral("调韵侠"));
    m_rightChannel->setAlign(TskSideChannel::skRight);
    m_rightChannel->setOpenWidth(186);
    auto* centre = new QWidget(central);
    centre->setObjectName(QStringLiteral("centreArea"));
    new QGridLayout(centre);
    centre->layout()->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_leftChannel);
    row->addWidget(centre, 1);
    row->addWidget(m_rightChannel);
    setCentralWidget(central);
}

void TForm1::buildCentre() {
    QWidget* centre = centralWidget()->findChild<QWidget*>(QStringLiteral("centreArea"));
    auto* stack = static_cast<QGridLayout*>(centre->layout());
    m_writingArea = new TskPanel(QStringLiteral("skPanel5"), centre, QString(), false);
    m_writingArea->setStatusTip(QStringLiteral("词牌与填词区"));
    m_knowledgeArea = new TskPanel(QStringLiteral("skPanel14"), centre, QString(), false);
    stack->addWidget(m_writingArea, 0, 0);
    stack->addWidget(m_knowledgeArea, 0, 0); // over the pattern and writing area when shown
    m_knowledgeArea->raise();

    QVBoxLayout* body = m_writingArea->body();
    auto* lower = new QWidget(m_writingArea);
    lower->setObjectName(QStringLiteral("lowerArea"));
    auto* lowerRow = new QHBoxLayout(lower);
    lowerRow->setContentsMargins(0, 0, 0, 0);
    lowerRow->setSpacing(2);

    m_patterns = new PatternPanels(m_modes.patternsColumn, m_modes.verseColumn, body, lowerRow);
    m_favourites = new FavouritesPanels(m_modes.verseColumn, body);
    body->insertWidget(0, m_favourites->poemPanel); // above the pattern panel
    m_favourites->addTemplatePane(m_patterns->templateStrip);
    m_centre = new CentrePanes({.patternPanel = m_patterns->patternPanel,
                                .patternTemplate = m_patterns->templatePane,
                                .favouritePanel = m_favourites->poemPanel,
                                .favouriteTemplate = m_favourites->templatePane},
                               this);
    m_workspace = new WorkspacePanel(lowerRow, m_actions.documentPopup);
    // The check pane (格律检查) beside the documents, kept by their row.
    composeCheckPane({.workspace = m_workspace,
                      .centre = m_centre,
                      .patterns = m_patterns,
                      .favourites = m_favourites,
                      .row = lowerRow,
                      .editMenu = m_actions.editMenu,
                      .toolBar = m_toolBar.toolBar},
                     m_context.root);
    body->addWidget(lower, 1);
    m_knowledge = new KnowledgePanels(m_modes.knowledgeColumn, m_knowledgeArea);
    m_centre->onHover({m_writingArea, m_patterns->patternPanel, m_patterns->templateStrip,
                       m_favourites->poemPanel, m_patterns->templateFilePanel,
                       m_workspace->documentTabs},
                      [this] { m_favourites->showPlainAddIcon(); });
}

void TForm1::buildRightChannel() {
    m_rhyme = new RhymePanels(m_rhymeToolBar, m_rightChannel);
}

void TForm1::connectCommands() {
    MainActions& a = m_actions;
    connect(a.exit, &QAction::triggered, this, &QWidget::close);

    m_display = new PatternDisplay(*m_patterns, a.wrapPatterns, m_context.root, *m_modals, this);
    m_viewModes = new ViewModes({.columns = m_modes,
                                 .patternsItem = a.showPatternsView,
                                 .verseItem = a.showVerseView,
                                 .knowledgeItem = a.showKnowledgeView,
                                 .centre = m_centre,
                                 .display = m_display,
                                 .exampleFlag = m_patterns->exampleFlag,
                                 .knowledgeArea = m_knowledgeArea},
                                this);
    m_display->attachToolBarSearch(m_toolBar.searchBox, m_toolBar.searchButton);
    connect(m_display, &PatternDisplay::patternPanesWanted, m_centre, &CentrePanes::showPattern);
    connect(a.findPattern, &QAction::triggered, m_display, &PatternDisplay::openSearchDialog);
    connect(m_toolBar.button(MainToolBar::Find), &QToolButton::clicked, m_display,
            &PatternDisplay::openSearchDialog);
    // The view buttons' hover colours: blue over a button, dark grey elsewhere.
    const QList<QToolButton*> viewButtons = m_patterns->viewButtons();
    for (int i = 0; i < viewButtons.size(); ++i)
        m_centre->onHover(
            {viewButtons[i]}, [this, i] { m_display->hoverButton(catalogue::PatternView(i)); },
            CentrePanes::EnterOnly);
    m_centre->onHover({m_writingArea, m_patterns->patternPanel, m_patterns->explanationPane,
                       m_patterns->examplePane1, m_patterns->examplePane2, m_patterns->examplePane3,
                       m_patterns->examplePane4, m_patterns->examplePane5,
                       m_patterns->templateStrip, m_favourites->poemPanel, m_favourites->poemPane,
                       m_patterns->templateFilePanel, m_patterns->templateFileView,
                       m_modes.patternsColumn, m_modes.verseColumn, m_modes.knowledgeColumn,
                       m_favourites->listPanel, m_patterns->versePanel, m_rhyme->masterPanel},
                      [this] { m_display->hoverElsewhere(); });

    m_rhymeMaster = new RhymeMaster(*m_rhyme,
                                    {.showCiRhymes = a.showCiRhymes,
                                     .showNewRhymes = a.showNewRhymes,
                                     .showModernRhymes = a.showModernRhymes,
                                     .splitByTone = a.splitByTone,
                                     .font = a.rhymeMasterFont,
                                     .fontColour = a.rhymeMasterFontColour,
                                     .background = a.rhymeMasterBackground},
                                    *m_modals, this);

    m_documents = new WorkspaceCommands(*m_workspace,
                                        {.saveAll = a.saveAll,
                                         .openTextFile = a.openTextFile,
                                         .alignLeft = a.alignLeft,
                                         .alignCentre = a.alignCentre,
                                         .alignRight = a.alignRight,
                                         .pageSetup = a.pageSetup,
                                         .print = a.print,
                                         .wordCount = a.wordCount,
                                         .saveButton = m_toolBar.button(MainToolBar::Save)},
                                        m_context.root, *m_modals, this);

    m_recovery =
        new DocumentRecovery(*m_workspace, m_context.root, *m_context.clock, *m_modals, this);

    m_lock = new DocumentLock({.protectDocuments = a.protectDocuments,
                               .passwordProtect = a.passwordProtect,
                               .documents = m_workspace->documents,
                               .documentArea = m_workspace->documentTabs},
                              m_settings, *m_modals, this);

    // The reference library: the knowledge pane's topics, the 赏析 and 附录 windows.
    m_knowledge->attach(m_context.root, *m_modals);
    m_library = new LibraryMenus({.anthologyMenu = a.anthologyMenu,
                                  .shilv = a.versePrimer,
                                  .areaCodes = a.areaCodes,
                                  .postalCodes = a.postalCodes,
                                  .tools = a.usefulInformation},
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
                              {.add = a.addFavourite,
                               .editList = a.editFavouritesList,
                               .save = a.saveFavouriteContents,
                               .lock = a.lockFavouriteContents,
                               .clear = a.clearFavourites,
                               .addButton = m_toolBar.button(MainToolBar::AddFavourite)},
                              m_context.root, m_settings, *m_modals, this);
    connect(m_favouriteCommands, &FavouriteCommands::verseViewWanted, m_viewModes,
            &ViewModes::chooseVerse);
    connect(m_favouriteCommands, &FavouriteCommands::favouritePanesWanted, m_centre,
            &CentrePanes::showFavourite);
    connect(m_favouriteCommands, &FavouriteCommands::favouriteShownInCentre, m_display,
            &PatternDisplay::makeRoomForFavourite);

    // The kit's input and password dialogs: carried by the window (its theme manager
    // styles them) and opened by no command.
    TskInputDialog::programDialog(QStringLiteral("skInputDialog1"), this);
    TskPasswordDialog::programDialog(QStringLiteral("skPasswordDialog1"), this);

    // The look: styles, theme file, fonts, colours, sizes and the channels' options.
    m_appearance = new AppearanceCommands(this, a, m_frame, {m_leftChannel, m_rightChannel},
                                          m_settings, *m_modals);

    // The standard edit commands: on the focused control, or on the shown document.
    m_editCommands =
        new EditCommands({.undo = {a.undo, a.popupUndo},
                          .cut = {a.cut, a.popupCut},
                          .copy = {a.copy, a.popupCopy},
                          .paste = {a.paste, a.popupPaste},
                          .selectAll = {a.selectAll, a.popupSelectAll},
                          .menus = {a.editMenu, a.documentPopup},
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
    // The pop-up notice runs by itself.
    TskPopForm::mainWindowNotice(this, m_context.clock)->Show();
    // The splash, modal, closing itself after two seconds or on a click; the window
    // is built and the start-up runs on while it shows (what asks the user anything
    // waits for the splash to close).
    showSplash();
}

void TForm1::startUp() {
    if (m_startedUp)
        return;
    m_startedUp = true;
    // The settings file was opened with the window (a missing file reads as empty).
    // The lock marker.
    m_lockMarker = m_lock->storedMarker();
    // Writes that a kill interrupted leave temporaries beside the files; none is read.
    removeStaleTemporaries();
    // The data files, each whole into its control. The three written back at
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
    // Text a crashed run left unsaved is offered back over what was loaded.
    m_recovery->offer(*m_loader);
    m_files->load(KnowledgePanels::paneFile(),
                  [this](auto& root) { return m_knowledge->loadPane(root); });
    m_files->load(PatternDisplay::templateViewFile(),
                  [this](auto&) { return m_display->loadTemplateView(); });
    // The settings keys: fonts, sizes, colours, backgrounds, selections, visibility,
    // captions, pane texts, window size, protection and check marks, in the table's order.
    settings::applyAll(this, m_settings);
    // The chosen skin again.
    m_appearance->reapplySkin();
    // The rhyme-book label.
    m_rhymeMaster->labelRestoredBook();
    // The example flag in the 诗/藏 mode.
    m_viewModes->settleRestoredMode();
    // The side channels' options.
    m_appearance->applyChannelOptions();
    // The password prompt, when the lock is on; it leaves the marker as answered.
    m_lockMarker = m_lock->startUpPrompt(m_lockMarker);
    // The documents are hidden only while the lock is on and was not opened.
    m_lock->showDocumentsUnlessLocked(m_lockMarker);
    // The spinners follow their panes' sizes.
    m_rhymeMaster->followPaneSize();
    m_knowledge->followPaneSize();
    // The start-up notice, unless it was switched off.
    m_help->startUpNotice();
    // The favourites' lock (锁定收藏内容).
    m_favouriteCommands->applyRestoredLock();
}

void TForm1::showSplash() {
    SplashWindow splash(*m_context.clock, this);
    // Once the splash is on the screen, the user looks at it while the window is built
    // and started up; a click that closes it meanwhile is answered when that is done.
    m_afterSplash->setSplash(&splash);
    connect(&splash, &SplashWindow::shown, &splash, [this] {
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

// ---- Activation ---------------------------------------------------------------

bool TForm1::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return QMainWindow::event(e);
}

void TForm1::FormActivate() {
    if (!isMaximized())
        setWindowState(windowState() | Qt::WindowMaximized);
    m_frame->setCaption(kTitle);
}

// ---- Shutdown -----------------------------------------------------------------

void TForm1::closeEvent(QCloseEvent* e) {
    if (FormClose()) {
        m_loader->abandon(); // everything is stored: a rest still being built is not wanted
        m_workspace->dropPendingLayout();
        e->accept();
    } else
        e->ignore(); // the window stays open; the next close runs the sequence again
}

bool TForm1::FormClose() {
    try {
        // The five documents.
        for (int n = 1; n <= 5; ++n) {
            // Typing into a document whose file could not be read is kept beside it.
            if (const QString kept = m_documents->keepTypingBesideUnreadFile(n); !kept.isEmpty())
                showError(kept);
            m_files->save(WorkspaceCommands::storePath(n),
                          [this, n](auto&) { m_documents->store(n); });
        }
        // The knowledge pane, the template-file view and the favourites' names (with
        // their slots: none is kept past the last name).
        m_files->save(KnowledgePanels::paneFile(),
                      [this](auto& root) { m_knowledge->storePane(root); });
        m_files->save(PatternDisplay::templateViewFile(),
                      [this](auto&) { m_display->storeTemplateView(); });
        m_files->save(FavouritesPanels::namesFile(),
                      [this](auto& root) { m_favouriteCommands->store(root); });
        // Every settings key, in the table's order, in one replacement of the file.
        settings::writeAll(this, m_settings);
        // Everything is stored: the crash insurance is no longer needed.
        m_recovery->discard();
    } catch (const AppError& e) {
        showError(e.message());
        return false;
    }
    return true;
}

// ---- Errors -------------------------------------------------------------------

void TForm1::showError(const QString& message) {
    m_modals->showError(this, message);
}
