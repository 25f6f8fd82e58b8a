#pragma once
// The 音乐 menu: each piece item opens its file under midi\ and plays it from the
// start (an item whose file is not there is disabled, its hint saying so); 暂停 toggles
// its check and pauses, resumes or plays again. The MIDI device is
// the one given, or the synthesiser, created the first time a piece is chosen.

#include "base/core/data_root.h"

#include <QList>
#include <QObject>
#include <memory>

class MidiDevice;
class ModalRunner;
class QAction;
class QWidget;

class MusicMenu : public QObject {
    Q_OBJECT
  public:
    MusicMenu(QAction* pause, QList<QAction*> pieces, MidiDevice* device, DataRoot root,
              ModalRunner& modals, QWidget* window);
    ~MusicMenu() override;

    // A piece's file in the data tree: midi\ followed by its caption and .mid.
    static QString piecePath(const QAction* item);

    // The handlers: a piece item, and 暂停 after its check has toggled.
    void pieceClick(QAction* item);
    void P8Click();

  private:
    MidiDevice& device();
    // What is said of a piece whose file is not there.
    static QString missingMessage(const QAction* item);
    // Disables an item whose file is not there, its hint saying so.
    void markMissing(QAction* item) const;

    QAction* m_pause;
    MidiDevice* m_device;
    std::unique_ptr<MidiDevice> m_ownDevice;
    DataRoot m_root;
    ModalRunner& m_modals;
    QWidget* m_window;
};
