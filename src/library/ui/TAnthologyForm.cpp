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
        skSideChannel1 = reading::sideChannel(QStringLiteral("skSideChannel1"), this, true, 170);
        std::tie(skPanel1, ListBox1) = reading::listPanel(
            skSideChannel1, listVariantD ? QStringLiteral("列表") : QStringLiteral("诗词列表"));
        row->addWidget(skSideChannel1);
        for (const AnthologyItem& item : anthology.fixedList)
            ListBox1->addItem(item.name);
        connect(ListBox1, &QListWidget::currentRowChanged, this, &TAnthologyForm::ListBox1Click);
    }

    std::tie(skPanel2, Memo1) =
        reading::textPanel(QStringLiteral("skPanel2"), this,
                           listVariantD ? QStringLiteral("内容") : QStringLiteral("诗词内容"),
                           QStringLiteral("Memo1"));
    row->addWidget(skPanel2, 1);

    if (anthology.hasNote()) {
        // Pinned open when the window has no list; otherwise it slides out on demand.
        skSideChannel2 = reading::sideChannel(QStringLiteral("skSideChannel2"), this,
                                              anthology.variant == AnthologyVariant::A, 170);
        std::tie(skPanel3, Memo2) =
            reading::textPanel(QStringLiteral("skPanel3"), skSideChannel2, anthology.noteCaption,
                               QStringLiteral("Memo2"));
        skSideChannel2->layout()->addWidget(skPanel3);
        row->addWidget(skSideChannel2);
    }

    runGuarded(m_modals, this, [this] { loadFiles(); });
}

void TAnthologyForm::loadFiles() {
    if (const QString list = m_anthology.listFile(); !list.isEmpty()) {
        const QStringList lines = m_root.readLines(list);
        const QSignalBlocker quiet(ListBox1);
        ListBox1->addItems(lines);
        ListBox1->setCurrentRow(-1);
    }
    if (const QString text = m_anthology.textFile(); !text.isEmpty())
        Memo1->setPlainText(m_root.readText(text));
    if (const QString note = m_anthology.noteFile(); !note.isEmpty())
        Memo2->setPlainText(m_root.readText(note));
}

void TAnthologyForm::ListBox1Click(int row) {
    const QString file = m_anthology.pieceFile(row);
    if (file.isEmpty())
        return;
    runGuarded(m_modals, this, [this, &file] { Memo1->setPlainText(m_root.readText(file)); });
}

void TAnthologyForm::closeEvent(QCloseEvent* event) {
    // Closing only hides the window; it lives until the program ends.
    event->accept();
    hide();
}
