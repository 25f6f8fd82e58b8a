#pragma once
// The five store files, read and built on a worker thread while the window is built.
// A large file's load step gets the head of the document at once, enough to fill the
// screen; the rest is built once the window is up, and the whole document takes the
// head's place as soon as it is built. Until then nothing reaches the head: input that
// could change or reveal a document first waits for the rest, and so does anything that
// writes a document.

#include "workspace/ui/richtextdocument.h"
#include "workspace/ui/workspace_commands.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <array>
#include <atomic>
#include <functional>
#include <future>
#include <memory>

class DataRoot;
class QTextDocument;

class DocumentLoader : public QObject {
    Q_OBJECT
  public:
    using Prepared = WorkspaceCommands::Prepared;
    using Whole = std::unique_ptr<QTextDocument>;

    // Starts reading at once. `beforeRest` runs on the worker between the heads and
    // the rest (tests hold the worker there).
    explicit DocumentLoader(const DataRoot& root, workspace::HeadSize head = {},
                            std::function<void()> beforeRest = {});
    // Stops building what is no longer wanted and waits for the worker.
    ~DocumentLoader() override;

    // What the load steps get, once every file is read. A file whose whole document is
    // already built comes whole.
    std::array<Prepared, 5> takePrepared();
    // From now on the whole of each document loaded in part goes to `complete`, on
    // this thread, as soon as it is built or sooner when something needs it: input to
    // `window`, the documents' window, waits for it.
    void deliverTo(std::function<void(int n, Whole whole)> complete, const QWidget* window);
    // Waits until every document loaded in part is whole, and delivers it.
    void finish();
    bool pending() const { return m_pending; }
    // Lets the worker build the rest: called once the window's first screen is painted,
    // so that the building does not compete with the start-up, and at the latest this
    // long after the window is shown. Anything that needs the rest sooner calls finish.
    void buildRest();
    static constexpr int kLatestRestStartMs = 1000;
    // Calls buildRest once `window`, the documents' window, has painted its first screen,
    // and at the latest kLatestRestStartMs after it is first shown; not before it is
    // shown: a document made whole on a window not yet shown is laid out differently
    // from one made whole on screen.
    void buildRestAfterFirstScreen(QWidget* window);
    // The window has closed with everything stored: what is still being built is
    // dropped, and nothing more is delivered.
    void abandon();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void stopFiltering();

    std::promise<std::array<Prepared, 5>> m_readPromise;
    std::future<std::array<Prepared, 5>> m_read;
    std::future<std::array<Whole, 5>> m_whole;
    std::atomic<bool> m_stop = false;
    std::promise<void> m_go; // the rest may be built
    bool m_going = false;
    std::function<void(int, Whole)> m_complete;
    bool m_pending = false;
    bool m_filtering = false;
    QPointer<const QWidget> m_window;
};
