#include "library/ui/TAnthologyForm.h"

#include "base/core/app_error.h"
#include "base/ui/modals.h"
#include "skin/ui/skinned.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>

namespace {

TskSideChannel* sideChannel(const QString& name, QWidget* parent, bool pinned) {
    auto* channel = new TskSideChannel(name, parent);
    if (pinned)
        channel->open(true); // shown open with the window, not sliding in
    channel->setStayOn(pinned);
    channel->setFixedWidth(170);
    auto* layout = new QVBoxLayout(channel);
    layout->setContentsMargins(0, 0, 0, 0);
    return channel;
}

} // namespace

TAnthologyForm::TAnthologyForm(const Anthology& anthology, DataRoot root, ModalRunner& modals,
                               QWidget* parent)
    : QWidget(parent, Qt::Window), m_anthology(anthology), m_root(std::move(root)),
      m_modals(modals) {
    setObjectName(QStringLiteral("TAnthologyForm_") + anthology.key);
    setWindowTitle(anthology.caption);
    resize(700, 480);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);

    const bool listVariantD = anthology.variant == AnthologyVariant::D;
    if (anthology.hasList()) {
        skSideChannel1 = sideChannel(QStringLiteral("skSideChannel1"), this, true);
        skPanel1 = new TskPanel(QStringLiteral("skPanel1"), skSideChannel1,
                                listVariantD ? QStringLiteral("列表") : QStringLiteral("诗词列表"));
        ListBox1 = skin::makeListBox(QStringLiteral("ListBox1"), skPanel1);
        ListBox1->setFont(skin::songFont(14));
        skPanel1->body()->addWidget(ListBox1);
        skSideChannel1->layout()->addWidget(skPanel1);
        row->addWidget(skSideChannel1);
        for (const AnthologyItem& item : anthology.fixedList)
            ListBox1->addItem(item.name);
        connect(ListBox1, &QListWidget::currentRowChanged, this, &TAnthologyForm::ListBox1Click);
    }

    skPanel2 = new TskPanel(QStringLiteral("skPanel2"), this,
                            listVariantD ? QStringLiteral("内容") : QStringLiteral("诗词内容"));
    Memo1 = skin::makeMemo(QStringLiteral("Memo1"), skPanel2, true);
    Memo1->setFont(skin::songFont(14));
    skPanel2->body()->addWidget(Memo1);
    row->addWidget(skPanel2, 1);

    if (anthology.hasNote()) {
        // Pinned open when the window has no list; otherwise it slides out on demand.
        skSideChannel2 = sideChannel(QStringLiteral("skSideChannel2"), this,
                                     anthology.variant == AnthologyVariant::A);
        skPanel3 = new TskPanel(QStringLiteral("skPanel3"), skSideChannel2, anthology.noteCaption);
        Memo2 = skin::makeMemo(QStringLiteral("Memo2"), skPanel3, true);
        Memo2->setFont(skin::songFont(14));
        skPanel3->body()->addWidget(Memo2);
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
