#include "library/ui/TAnthologyForm.h"

#include "base/core/app_error.h"
#include "base/ui/modals.h"
#include "library/ui/reading_window.h"
#include "skin/ui/skinned.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>

#include <tuple>

TAnthologyForm::TAnthologyForm(const Anthology& anthology, DataRoot root, ModalRunner& modals,
                               QWidget* parent)
    : QWidget(parent, Qt::Window), m_anthology(anthology), m_root(std::move(root)),
      m_modals(modals) {
    setObjectName(QStringLiteral("TAnthologyForm_") + anthology.key);
    QHBoxLayout* row = reading::windowRow(this, anthology.caption, QSize(700, 480));

    const bool listVariantD = anthology.variant == AnthologyVariant::D;
    if (anthology.hasList()) {
        listChannel = reading::sideChannel(QStringLiteral("skSideChannel1"), this, true, 170);
        std::tie(listPanel, pieceList) = reading::listPanel(
            listChannel, listVariantD ? QStringLiteral("列表") : QStringLiteral("诗词列表"));
        row->addWidget(listChannel);
        for (const AnthologyItem& item : anthology.fixedList)
            pieceList->addItem(item.name);
        connect(pieceList, &QListWidget::currentRowChanged, this, &TAnthologyForm::showPiece);
    }

    std::tie(textPanel, pieceText) =
        reading::textPanel(QStringLiteral("skPanel2"), this,
                           listVariantD ? QStringLiteral("内容") : QStringLiteral("诗词内容"),
                           QStringLiteral("Memo1"));
    row->addWidget(textPanel, 1);

    if (anthology.hasNote()) {
        // Pinned open when the window has no list; otherwise it slides out on demand.
        noteChannel = reading::sideChannel(QStringLiteral("skSideChannel2"), this,
                                           anthology.variant == AnthologyVariant::A, 170);
        std::tie(notePanel, noteText) =
            reading::textPanel(QStringLiteral("skPanel3"), noteChannel, anthology.noteCaption,
                               QStringLiteral("Memo2"));
        noteChannel->layout()->addWidget(notePanel);
        row->addWidget(noteChannel);
    }

    runGuarded(m_modals, this, [this] { loadFiles(); });
}

void TAnthologyForm::loadFiles() {
    if (const QString list = m_anthology.listFile(); !list.isEmpty()) {
        const QStringList lines = m_root.readLines(list);
        const QSignalBlocker quiet(pieceList);
        pieceList->addItems(lines);
        pieceList->setCurrentRow(-1);
    }
    if (const QString text = m_anthology.textFile(); !text.isEmpty())
        pieceText->setPlainText(m_root.readText(text));
    if (const QString note = m_anthology.noteFile(); !note.isEmpty())
        noteText->setPlainText(m_root.readText(note));
}

void TAnthologyForm::showPiece(int row) {
    const QString file = m_anthology.pieceFile(row);
    if (file.isEmpty())
        return;
    runGuarded(m_modals, this, [this, &file] { pieceText->setPlainText(m_root.readText(file)); });
}

void TAnthologyForm::closeEvent(QCloseEvent* event) {
    // Closing only hides the window; it lives until the program ends.
    event->accept();
    hide();
}
