#pragma once
// The main window: composes the subsystems' panels and runs the start-up and shutdown
// sequences that bring their state back and write it out.

#include "app/ui/main_actions.h"
#include "app/ui/main_toolbar.h"
#include "app/ui/view_modes.h"
#include "base/core/data_root.h"
#include "base/core/settings_file.h"

#include <QMainWindow>
#include <QSet>
#include <functional>
#include <memory>

class AfterSplashModals;
class CentrePanes;
class Clock;
class DocumentLoader;
class DocumentLock;
class DocumentRecovery;
class MidiDevice;
class UrlOpener;
class FavouriteCommands;
class AppearanceCommands;
class EditCommands;
class FavouritesPanels;
class FileSteps;
class HelpMenu;
class KnowledgePanels;
class LibraryMenus;
class PoemSearch;
class ModalRunner;
class PatternDisplay;
class PatternPanels;
class RhymeMaster;
class RhymePanels;
class TskForm;
class TskPanel;
class TskSideChannel;
class WorkspaceCommands;
class WorkspacePanel;

// What the window needs from outside: its data tree, its settings file and the
// platform's pieces (modal windows, time, the desktop's open action, the MIDI device).
// A null pointer means the real one, which the window then owns; tests pass twins.
struct AppContext {
    DataRoot root = DataRoot::current();
    QString settingsPath = SettingsFile::besideExecutable();
    ModalRunner* modals = nullptr;
    Clock* clock = nullptr;
    UrlOpener* urls = nullptr;
    MidiDevice* midi = nullptr; // the synthesiser, created when music is first asked for
    // Runs on the document reader's thread before it builds the rest of large documents
    // (tests hold it there, to meet the window while documents are still partial).
    std::function<void()> beforeDocumentRest;
};

class TForm1 : public QMainWindow {
    Q_OBJECT
  public:
    explicit TForm1(AppContext context = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    SettingsFile& settingsFile() { return m_settings; }
    const MainActions& actions() const { return m_actions; }
    // Files that could not be read at start-up; shutdown leaves them alone.
    const QSet<QString>& unloadedFiles() const;
    QString lockMarker() const { return m_lockMarker; }

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    // Building the window, in order; once.
    void buildWindow();
    void buildFrame();
    void buildCentre();
    void buildRightChannel();
    void connectCommands();

    // The sequences.
    void FormCreate();
    void startUp(); // everything after the splash, once
    void FormActivate();
    bool FormClose(); // false when a write failed and the window stays open

    // Start-up and shutdown steps the shell owns.
    void showSplash();
    // Temporaries that an interrupted write of one of our files left behind.
    void removeStaleTemporaries();

    // Handlers the shell owns.
    void showError(const QString& message);

    AppContext m_context;
    std::unique_ptr<ModalRunner> m_ownModals;
    std::unique_ptr<AfterSplashModals> m_afterSplash;
    ModalRunner* m_modals = nullptr;
    std::unique_ptr<Clock> m_ownClock;
    std::unique_ptr<UrlOpener> m_ownUrls;
    SettingsFile m_settings;
    QString m_lockMarker;
    std::unique_ptr<FileSteps> m_files;
    bool m_built = false;
    bool m_startedUp = false;
    // The five store files, read and built on another thread while the window is built
    // and the splash shows; taken at the documents' load step.
    std::unique_ptr<DocumentLoader> m_loader;

    TskForm* m_frame = nullptr; // skForm1: our own title bar and border
    MainActions m_actions;
    MainToolBar m_toolBar;
    QToolBar* m_rhymeToolBar = nullptr; // ToolBar4
    // The side channels (skSideChannel1, skSideChannel2): the lists at the left with the
    // three view modes' columns (Panel1, Panel3, Panel6) and their radio buttons
    // (skRadioButton6 … 8), 押韵大师 at the right.
    TskSideChannel* m_leftChannel = nullptr;
    TskSideChannel* m_rightChannel = nullptr;
    ViewModeColumns m_modes{};
    // The centre: the pattern and writing area (skPanel5) and, over it in 诗词知识, the
    // knowledge area (skPanel14).
    TskPanel* m_writingArea = nullptr;
    TskPanel* m_knowledgeArea = nullptr;

    PatternPanels* m_patterns = nullptr;
    PatternDisplay* m_display = nullptr;
    FavouritesPanels* m_favourites = nullptr;
    FavouriteCommands* m_favouriteCommands = nullptr;
    WorkspacePanel* m_workspace = nullptr;
    WorkspaceCommands* m_documents = nullptr;
    RhymePanels* m_rhyme = nullptr;
    RhymeMaster* m_rhymeMaster = nullptr;
    KnowledgePanels* m_knowledge = nullptr;
    CentrePanes* m_centre = nullptr;
    LibraryMenus* m_library = nullptr;
    PoemSearch* m_search = nullptr;
    ViewModes* m_viewModes = nullptr;
    DocumentLock* m_lock = nullptr;
    HelpMenu* m_help = nullptr;
    AppearanceCommands* m_appearance = nullptr;
    EditCommands* m_editCommands = nullptr;
    DocumentRecovery* m_recovery = nullptr;
};
