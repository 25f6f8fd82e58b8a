#pragma once
// Crash insurance for the documents: a few seconds after typing pauses, the text of
// every document changed since start-up is kept in a recovery file beside the store
// files. A clean shutdown removes it; found at start-up, it is offered back.

#include <QObject>
#include <QPointer>

class Clock;
class ClockTimer;
class DataRoot;
class DocumentLoader;
class ModalRunner;
class QWidget;
class WorkspacePanel;

class DocumentRecovery : public QObject {
    Q_OBJECT
  public:
    static constexpr int kPauseMs = 3000;
    static QString path() { return QStringLiteral("save\\mqrecover.dat"); }

    DocumentRecovery(WorkspacePanel& panel, const DataRoot& root, Clock& clock, ModalRunner& modals,
                     QWidget* window);

    // Start-up, once the documents are loaded: a recovery file left by a run that did
    // not end normally is offered back, over the whole documents (`loader` finishes
    // them first); from here on changes are kept.
    void offer(DocumentLoader& loader);
    // A clean shutdown has stored the documents: the recovery file goes.
    void discard();

  private:
    void typed();
    void keep();
    void removeFile();

    WorkspacePanel& m_panel;
    const DataRoot& m_root;
    Clock& m_clock;
    ModalRunner& m_modals;
    QWidget* m_window;
    QPointer<ClockTimer> m_timer;
    bool m_watching = false;
};
