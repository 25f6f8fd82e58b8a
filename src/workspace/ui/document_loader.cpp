#include "workspace/ui/document_loader.h"

#include "base/core/data_root.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QShortcutEvent>
#include <QTextDocument>
#include <QThread>
#include <QTimer>

#include <algorithm>

#include <sys/resource.h>
#include <unistd.h>

namespace {

// Input that could change or show a document's text. The pointer only moving over the
// window cannot, nor can Escape, which edits nothing and closes the window (a close
// writes only what changed, and a document still loading has not).
bool mayReachDocuments(const QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        return static_cast<const QKeyEvent*>(event)->key() != Qt::Key_Escape ||
               static_cast<const QKeyEvent*>(event)->modifiers() != Qt::NoModifier;
    case QEvent::Shortcut:
        return static_cast<const QShortcutEvent*>(event)->key() != QKeySequence(Qt::Key_Escape);
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
    case QEvent::DragEnter:
    case QEvent::Drop:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

// Watches the documents' window for its first paint and its first show.
class FirstScreenWatch : public QObject {
  public:
    explicit FirstScreenWatch(DocumentLoader* loader) : QObject(loader), m_loader(loader) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Paint && !m_painted) {
            // The first screen is drawn (and put on the screen once this returns to the
            // loop): the rest may now be built.
            m_painted = true;
            QMetaObject::invokeMethod(m_loader, &DocumentLoader::buildRest, Qt::QueuedConnection);
        }
        if (e->type() == QEvent::Show && !m_shown) {
            // A window shown but never painted (minimised at once, say) still gets the rest.
            m_shown = true;
            QTimer::singleShot(DocumentLoader::kLatestRestStartMs, m_loader,
                               &DocumentLoader::buildRest);
        }
        return QObject::eventFilter(watched, e);
    }

  private:
    DocumentLoader* m_loader;
    bool m_painted = false;
    bool m_shown = false;
};

} // namespace

DocumentLoader::DocumentLoader(const DataRoot& root, workspace::HeadSize head,
                               std::function<void()> beforeRest)
    : m_read(m_readPromise.get_future()) {
    QThread* gui = QThread::currentThread();
    std::shared_future<void> go = m_go.get_future().share();
    m_whole = std::async(std::launch::async, [this, root, head, gui, beforeRest, go] {
        // Built with what the processor has to spare, so that it never slows the window's
        // start-up; whatever waits for it leaves the processor free.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
        std::array<Prepared, 5> prepared;
        std::array<QByteArray, 5> sources;
        try {
            for (int n = 1; n <= 5; ++n) {
                prepared[n - 1] = WorkspaceCommands::prepare(root, n, gui, &head);
                sources[n - 1] = prepared[n - 1].source;
            }
        } catch (...) { // out of memory, say: the load steps see it, not a hung start-up
            m_readPromise.set_exception(std::current_exception());
            return std::array<Whole, 5>();
        }
        m_readPromise.set_value(std::move(prepared));
        // Nothing is left to build when every file was short.
        if (std::all_of(sources.begin(), sources.end(), [](auto& s) { return s.isEmpty(); }))
            return std::array<Whole, 5>();
        if (beforeRest)
            beforeRest();
        // The rest waits for the window's first screen.
        go.wait();
        std::array<Whole, 5> whole;
        bool any = false;
        for (int n = 1; n <= 5; ++n) {
            if (sources[n - 1].isEmpty())
                continue;
            whole[n - 1] = workspace::buildRichDocument(sources[n - 1], nullptr, &m_stop);
            if (!whole[n - 1])
                return whole; // stopped: the program is ending
            whole[n - 1]->moveToThread(gui);
            any = true;
        }
        if (any) // delivered on the loader's thread; dropped if the loader is gone by then
            QMetaObject::invokeMethod(this, &DocumentLoader::finish, Qt::QueuedConnection);
        return whole;
    });
}

DocumentLoader::~DocumentLoader() {
    m_stop = true;
    buildRest();
    if (m_whole.valid())
        m_whole.wait();
    stopFiltering();
}

void DocumentLoader::stopFiltering() {
    if (m_filtering)
        QCoreApplication::instance()->removeEventFilter(this);
    m_filtering = false;
}

std::array<DocumentLoader::Prepared, 5> DocumentLoader::takePrepared() {
    std::array<Prepared, 5> prepared = m_read.get();
    if (m_whole.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
        std::array<Whole, 5> whole = m_whole.get();
        for (int n = 1; n <= 5; ++n)
            if (prepared[n - 1].partial && whole[n - 1]) {
                prepared[n - 1].document = std::move(whole[n - 1]);
                prepared[n - 1].partial = false;
            }
    }
    for (const Prepared& p : prepared)
        m_pending = m_pending || p.partial;
    return prepared;
}

void DocumentLoader::buildRest() {
    if (m_going)
        return;
    m_going = true;
    m_go.set_value();
}

void DocumentLoader::buildRestAfterFirstScreen(QWidget* window) {
    window->installEventFilter(new FirstScreenWatch(this));
}

void DocumentLoader::deliverTo(std::function<void(int, Whole)> complete, const QWidget* window) {
    m_complete = std::move(complete);
    m_window = window;
    if (!m_pending || m_filtering)
        return;
    // Installed on the application, it sees every event before its receiver does.
    QCoreApplication::instance()->installEventFilter(this);
    m_filtering = true;
}

void DocumentLoader::finish() {
    if (!m_pending || !m_complete || !m_whole.valid())
        return;
    m_pending = false;
    stopFiltering();
    buildRest();
    std::array<Whole, 5> whole = m_whole.get();
    for (int n = 1; n <= 5; ++n)
        if (whole[n - 1])
            m_complete(n, std::move(whole[n - 1]));
}

void DocumentLoader::abandon() {
    m_stop = true;
    m_pending = false;
    stopFiltering();
}

bool DocumentLoader::eventFilter(QObject* watched, QEvent* event) {
    // A shortcut reaches its action wherever it was typed; other input counts when it
    // goes to the documents' window (the splash, say, is clicked without waiting).
    const auto* widget = qobject_cast<const QWidget*>(watched);
    const bool toDocuments =
        event->type() == QEvent::Shortcut || (widget && widget->window() == m_window);
    if (m_pending && toDocuments && mayReachDocuments(event))
        finish(); // the event then goes on, to the whole document
    return QObject::eventFilter(watched, event);
}
