#include "app/ui/music_menu.h"

#include "app/core/fluid_midi_device.h"
#include "base/core/app_error.h"
#include "base/ui/modals.h"

#include <QAction>
#include <QDir>
#include <QWidget>

MusicMenu::MusicMenu(QAction* pause, QList<QAction*> pieces, MidiDevice* device, DataRoot root,
                     ModalRunner& modals, QWidget* window)
    : QObject(window), m_pause(pause), m_device(device), m_root(std::move(root)), m_modals(modals),
      m_window(window) {
    for (QAction* item : pieces) {
        connect(item, &QAction::triggered, this, [this, item] { pieceClick(item); });
    }
    connect(m_pause, &QAction::triggered, this, &MusicMenu::P8Click);
}

// Closing the main window releases the player, which closes any open piece.
MusicMenu::~MusicMenu() = default;

QString MusicMenu::piecePath(const QAction* item) {
    QString caption = item->text();
    caption.remove(QLatin1Char('&'));
    return QStringLiteral("midi\\") + caption + QStringLiteral(".mid");
}

MidiDevice& MusicMenu::device() {
    if (!m_device) {
        // Created on first use, so a machine without sound only hears of it when it
        // asks for music; a failure leaves no device and the next request tries again.
        m_ownDevice = std::make_unique<FluidMidiDevice>();
        m_device = m_ownDevice.get();
    }
    return *m_device;
}

void MusicMenu::pieceClick(QAction* item) {
    runGuarded(m_modals, m_window, [this, item] {
        const QString path = piecePath(item);
        QString host = m_root.findFile(path);
        if (host.isEmpty()) // the device reports the missing file
            host = QDir(m_root.shippedFolder())
                       .filePath(QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')));
        MidiDevice& midi = device();
        midi.open(host); // closes the piece that was open
        midi.play();
    });
}

void MusicMenu::P8Click() {
    runGuarded(m_modals, m_window, [this] {
        if (!m_device) // nothing was ever opened
            throw AppError(QStringLiteral("No MCI device open"));
        if (m_pause->isChecked()) {
            if (m_device->mode() == MidiDevice::Mode::Paused)
                m_device->resume();
            else
                m_device->pause();
        } else {
            m_device->play(); // goes on, or starts again after the end
        }
    });
}
