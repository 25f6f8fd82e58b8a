#include "rhyme/ui/rhyme_master.h"

#include "base/ui/modals.h"
#include "rhyme/ui/rhyme_panels.h"
#include "skin/ui/skinned.h"

#include <QAction>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QPlainTextEdit>
#include <QSpinBox>

namespace {

constexpr RhymeSystem kBooks[] = {RhymeSystem::CiYun, RhymeSystem::XinYun, RhymeSystem::XianDai};

qint32 colourNumber(const QColor& c) {
    return qint32(c.red() | (c.green() << 8) | (c.blue() << 16));
}

} // namespace

RhymeMaster::RhymeMaster(RhymePanels& panels, const RhymeActions& actions, ModalRunner& modals,
                         QWidget* window)
    : QObject(window), p(panels), a(actions), m_modals(modals),
      m_window(window), m_books{{p.skdbComboBox1, p.skR1, a.C2},
                                {p.skdbComboBox2, p.skR2, a.M1},
                                {p.skdbComboBox3, p.skR3, a.P6}} {
    // The lists, filled once.
    for (RhymeSystem book : kBooks) {
        QComboBox* list = controls(book).list;
        for (const RhymeGroup& g : rhyme::groups(book))
            list->addItem(g.name);
        connect(list, &QComboBox::currentIndexChanged, this,
                [this, book](int i) { chooseEntry(book, i); });
        connect(controls(book).button, &TskRadioButton::onClick, this,
                [this, book] { chooseBook(book); });
        // A menu item acts as the book choice; on the current book it repeats it.
        connect(controls(book).item, &QAction::triggered, this, [this, book] {
            if (controls(book).button->isChecked())
                chooseBook(book);
            else
                controls(book).button->setSkChecked(true);
        });
    }
    struct Split {
        QComboBox* list;
        RhymeSystem book;
        TskRadioButton* button;
    };
    for (Split s : {Split{p.ComboBox2, RhymeSystem::XinYun, p.skrr2},
                    Split{p.ComboBox3, RhymeSystem::XianDai, p.skrr3}}) {
        for (const RhymePair& pair : rhyme::pairs(s.book))
            s.list->addItem(pair.name);
        connect(s.list, &QComboBox::currentIndexChanged, this,
                [this, s](int i) { chooseGroup(s.book, i); });
        connect(s.button, &TskRadioButton::onClick, this, [this, s] { chooseSplitBook(s.book); });
    }

    connect(p.skCheckBox2, &TskCheckBox::onClick, this,
            [this] { setSplitView(p.skCheckBox2->isChecked()); });
    // The menu item has inverted its own check; the switch follows it.
    connect(a.N81, &QAction::triggered, this,
            [this] { p.skCheckBox2->setSkChecked(a.N81->isChecked()); });

    TskRadioButton* sizeButtons[] = {p.skRadioButton1, p.skRadioButton2, p.skRadioButton3,
                                     p.skRadioButton4, p.skRadioButton5};
    for (int i = 0; i < 5; ++i) {
        connect(sizeButtons[i], &TskRadioButton::onClick, this, [this, i] {
            QFont f = p.skMemo5->font();
            f.setPointSize(kSizes[i]);
            p.skMemo5->setFont(f);
            p.SpinEdit1->setValue(kSizes[i]); // its change applies the size to all three panes
        });
    }
    connect(p.SpinEdit1, &QSpinBox::valueChanged, this, &RhymeMaster::applySize);
    connect(p.SpinEdit1, &QSpinBox::editingFinished, this, [this] {
        // A value typed outside the range holds until the spinner loses the focus.
        const int v = p.SpinEdit1->value();
        if (v < 9 || v > 36)
            p.SpinEdit1->setValue(std::clamp(v, 9, 36));
    });

    connect(a.T3, &QAction::triggered, this, &RhymeMaster::chooseFont);
    connect(a.C4, &QAction::triggered, this, &RhymeMaster::chooseFontColour);
    connect(a.B3, &QAction::triggered, this, &RhymeMaster::chooseBackground);
}

QList<QWidget*> RhymeMaster::panes() const {
    return {p.skMemo5, p.Memo7, p.Memo8};
}

RhymeSystem RhymeMaster::checkedBook() const {
    for (RhymeSystem book : kBooks) {
        if (controls(book).button->isChecked())
            return book;
    }
    return RhymeSystem::CiYun;
}

void RhymeMaster::chooseBook(RhymeSystem book) {
    p.Panel5->setCaption(rhyme::systemName(book));
    for (RhymeSystem other : kBooks) {
        if (other != book)
            controls(other).button->setChecked(false);
        controls(other).item->setChecked(other == book);
        controls(other).list->setVisible(other == book);
    }
    controls(book).button->setChecked(true);
    // The split lists lie in front of the entry lists (their stacking is set when the
    // tool bar is built), so in the split view the list seen stays.
}

void RhymeMaster::chooseEntry(RhymeSystem book, int index) {
    if (index < 0 || index >= rhyme::groups(book).size())
        return;
    const RhymeGroup& g = rhyme::groups(book)[index];
    p.skMemo5->setPlainText(g.characters);
    p.p4->setCaption(g.finals);
}

void RhymeMaster::setSplitView(bool on) {
    for (RhymeSystem book : kBooks)
        controls(book).list->setVisible(!on && book == checkedBook());
    p.ComboBox2->setVisible(on && !p.skrr3->isChecked());
    p.ComboBox3->setVisible(on && p.skrr3->isChecked());
    p.Panel4->setVisible(on);
    p.skPanel12->setVisible(on);
    p.skPanel13->setVisible(on);
    a.N81->setChecked(on);
    a.C2->setEnabled(!on);
}

void RhymeMaster::chooseSplitBook(RhymeSystem book) {
    p.Panel5->setCaption(rhyme::systemName(book));
    a.M1->setChecked(book == RhymeSystem::XinYun);
    a.P6->setChecked(book == RhymeSystem::XianDai);
    a.C2->setChecked(false);
    p.ComboBox2->setVisible(book == RhymeSystem::XinYun);
    p.ComboBox3->setVisible(book == RhymeSystem::XianDai);
}

void RhymeMaster::chooseGroup(RhymeSystem book, int index) {
    if (index < 0 || index >= rhyme::pairs(book).size())
        return;
    const RhymePair& pair = rhyme::pairs(book)[index];
    const RhymeGroup& level = rhyme::groups(book)[pair.level];
    const RhymeGroup& oblique = rhyme::groups(book)[pair.oblique];
    p.Memo7->setPlainText(level.characters);
    p.Memo8->setPlainText(oblique.characters);
    p.p4->setCaption(level.finals);
}

void RhymeMaster::applySize(int points) {
    for (QWidget* pane : panes()) {
        QFont f = pane->font();
        f.setPointSize(std::max(points, 1)); // typed values outside 9 to 36 apply as typed
        pane->setFont(f);
    }
    TskRadioButton* sizeButtons[] = {p.skRadioButton1, p.skRadioButton2, p.skRadioButton3,
                                     p.skRadioButton4, p.skRadioButton5};
    for (int i = 0; i < 5; ++i) {
        if (kSizes[i] == points)
            sizeButtons[i]->setSkChecked(true); // already checked when it was the one clicked
    }
    if (std::find(std::begin(kSizes), std::end(kSizes), points) == std::end(kSizes)) {
        for (TskRadioButton* b : sizeButtons)
            b->setSkChecked(false);
    }
}

void RhymeMaster::chooseFont() {
    QFontDialog dialog(p.skMemo5->font(), m_window);
    dialog.setObjectName(QStringLiteral("FontDialog2"));
    if (m_modals.exec(dialog) != QDialog::Accepted)
        return;
    const QFont chosen = dialog.selectedFont();
    for (QWidget* pane : panes())
        pane->setFont(chosen);
    // The spinner takes the size within its range; the size is applied even when the
    // spinner already showed that value, so a 48-point choice always ends at 36.
    const int size = std::clamp(chosen.pointSize(), 9, 36);
    if (p.SpinEdit1->value() == size)
        applySize(size);
    else
        p.SpinEdit1->setValue(size);
}

void RhymeMaster::chooseFontColour() {
    QColorDialog dialog(m_window);
    dialog.setObjectName(QStringLiteral("ColorDialog2"));
    // Opens on the colour the panes have, which is the last one chosen in this run.
    dialog.setCurrentColor(skin::colourFromNumber(skin::fontColour(p.skMemo5)));
    if (m_modals.exec(dialog) != QDialog::Accepted)
        return;
    for (QWidget* pane : panes())
        skin::setFontColour(pane, colourNumber(dialog.selectedColor()));
}

void RhymeMaster::chooseBackground() {
    QColorDialog dialog(m_window);
    dialog.setObjectName(QStringLiteral("ColorDialog3"));
    dialog.setCurrentColor(skin::colourFromNumber(skin::background(p.skMemo5)));
    if (m_modals.exec(dialog) != QDialog::Accepted)
        return;
    for (QWidget* pane : panes())
        skin::setBackground(pane, colourNumber(dialog.selectedColor()));
}
