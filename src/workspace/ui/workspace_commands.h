#pragma once
// What the workspace does with its five documents: load and store them as RTF, 保存
// the copies, 打开 a file into the first one, align them, print the first one and
// count their characters.

#include <QFont>
#include <QObject>
#include <QPrinter>
#include <QSet>
#include <QTextDocument>

#include <array>
#include <exception>
#include <functional>
#include <memory>

class DataRoot;
namespace workspace {
struct HeadSize;
struct RichDocument;
} // namespace workspace
class ModalRunner;
class QAction;
class QThread;
class QToolButton;
class WorkspacePanel;

struct WorkspaceActions {
    QAction *saveAll, *openTextFile;               // 保存, 打开 (hidden)
    QAction *alignLeft, *alignCentre, *alignRight; // the documents' alignment
    QAction *pageSetup, *print, *wordCount;        // 页面设置, 打印, 字数统计
    QToolButton* saveButton;                       // the tool bar's 保存
};

class WorkspaceCommands : public QObject {
    Q_OBJECT
  public:
    WorkspaceCommands(WorkspacePanel& panel, const WorkspaceActions& actions, const DataRoot& root,
                      ModalRunner& modals, QWidget* window);
    ~WorkspaceCommands() override;

    // The store file of document n (1 to 5) and its copy.
    static QString storePath(int n);
    static QString copyPath(int n);

    // A store file read and built into a document ahead of its load step, so that
    // start-up can do it on another thread while the window is built.
    struct Prepared {
        std::exception_ptr error; // the file could not be opened
        bool whole = true;        // read without damage
        QByteArray bytes;         // the file as read, kept only when it was damaged
        std::unique_ptr<QTextDocument> document;
        // The document holds the file's head only; `source` is the file, from which the
        // rest is built.
        bool partial = false;
        QByteArray source;
    };
    // Reads and builds document n's store file; safe on any thread. The document is
    // handed to `owner`, the thread of the editor that will show it. Given a head size,
    // a larger file is built only that far (`partial`).
    static Prepared prepare(const DataRoot& root, int n, QThread* owner,
                            const workspace::HeadSize* head = nullptr);
    // Start-up: replaces document n with its prepared store file. Throws AppError when
    // the file could not be opened. A damaged file loads what could be read and is kept
    // beside as "<name>.orig" (".orig.1", … when earlier damage was kept), so the
    // shutdown cannot lose it; the message saying so is returned (empty when the file
    // was whole).
    QString load(int n, Prepared prepared);
    // The whole of a document whose load step had its head only: it takes the head's
    // place, as loaded, with the cursor at the start. Nothing has reached the head
    // meanwhile (see DocumentLoader).
    void completeLoad(int n, std::unique_ptr<QTextDocument> whole);
    // Called before a document loaded in part is read for writing: waits for its rest.
    void setFinishLoading(std::function<void()> finish) { m_finishLoading = std::move(finish); }
    // Shutdown: writes document n to its store file when it changed since it was loaded
    // or last stored, or when the file is not there (or was damaged) to hold it.
    void store(int n);
    // Shutdown, for a document whose store file exists but could not be read at
    // start-up: that file is left alone, and what was typed into the document is
    // written beside it under a new name. Returns the message saying where (empty
    // when the document was read, or nothing was typed).
    QString keepTypingBesideUnreadFile(int n);

    void saveCopies(); // 保存
    void openFile();   // 打开
    void align(Qt::Alignment alignment);
    void pageSetup();  // 页面设置
    void print();      // 打印
    void countWords(); // 字数统计

    // Made on first use: the printing system is set up only when printing.
    QPrinter& printer();

  private:
    QByteArray rtfOf(int n);
    // Every document whole before a command reads or changes them all.
    void wholeDocuments();

    QSet<int> m_unread; // documents whose store file could not be read
    WorkspacePanel& m_panel;
    WorkspaceActions a;
    const DataRoot& m_root;
    ModalRunner& m_modals;
    QWidget* m_window;
    std::unique_ptr<QPrinter> m_printer;
    // Per document: whether it differs from its store file (any edit, 打开, a damaged
    // file loaded in part), and the base font it was last loaded or stored with.
    std::array<bool, 5> m_changed{};
    std::array<QFont, 5> m_storedFont;
    std::array<bool, 5> m_partial{}; // showing the head of its file, the rest to come
    std::function<void()> m_finishLoading;
};
