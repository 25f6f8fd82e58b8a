#include "rhyme/ui/rhyme_master.h"

#include "base/ui/modals.h"
#include "rhyme/ui/rhyme_panels.h"
#include "skin/ui/shared_dialogs.h"
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
      m_window(window), m_books{{p.ciYunList, p.ciYunButton, a.showCiRhymes},
                                {p.xinYunList, p.xinYunButton, a.showNewRhymes},
                                {p.xianDaiList, p.xianDaiButton, a.showModernRhymes}} {
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
    for (Split s : {Split{p.xinYunSplitList, RhymeSystem::XinYun, p.xinYunSplitButton},
                    Split{p.xianDaiSplitList, RhymeSystem::XianDai, p.xianDaiSplitButton}}) {
        for (const RhymePair& pair : rhyme::pairs(s.book))
            s.list->addItem(pair.name);
        connect(s.list, &QComboBox::currentIndexChanged, this,
                [this, s](int i) { chooseGroup(s.book, i); });
        connect(s.button, &TskRadioButton::onClick, this, [this, s] { chooseSplitBook(s.book); });
    }

    connect(p.splitSwitch, &TskCheckBox::onClick, this,
            [this] { setSplitView(p.splitSwitch->isChecked()); });
    // The menu item has inverted its own check; the switch follows it.
    connect(a.splitByTone, &QAction::triggered, this,
            [this] { p.splitSwitch->setSkChecked(a.splitByTone->isChecked()); });

    TskRadioButton* sizeButtons[] = {p.sizeSmallest, p.sizeSmaller, p.sizeMedium, p.sizeLarger,
                                     p.sizeLargest};
    for (int i = 0; i < 5; ++i) {
        connect(sizeButtons[i], &TskRadioButton::onClick, this, [this, i] {
            QFont f = p.rhymePane->font();
            f.setPointSize(kSizes[i]);
            p.rhymePane->setFont(f);
            p.sizeSpinner->setValue(kSizes[i]); // its change applies the size to all three panes
        });
    }
    connect(p.sizeSpinner, &QSpinBox::valueChanged, this, &RhymeMaster::applySize);
    connect(p.sizeSpinner, &QSpinBox::editingFinished, this, [this] {
        // A value typed outside the range holds until the spinner loses the focus.
        const int v = p.sizeSpinner->value();
        if (v < 9 || v > 36)
            p.sizeSpinner->setValue(std::clamp(v, 9, 36));
    });

    connect(a.font, &QAction::triggered, this, &RhymeMaster::chooseFont);
    connect(a.fontColour, &QAction::triggered, this, &RhymeMaster::chooseFontColour);
    connect(a.background, &QAction::triggered, this, &RhymeMaster::chooseBackground);
}

QList<QWidget*> RhymeMaster::panes() const {
    return {p.rhymePane, p.levelPane, p.obliquePane};
}

RhymeSystem RhymeMaster::checkedBook() const {
    for (RhymeSystem book : kBooks) {
        if (controls(book).button->isChecked())
            return book;
    }
    return RhymeSystem::CiYun;
}

void RhymeMaster::chooseBook(RhymeSystem book) {
    p.bookLabel->setCaption(rhyme::systemName(book));
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
    p.rhymePane->setPlainText(g.characters);
    p.finalsLabel->setCaption(g.finals);
}

void RhymeMaster::setSplitView(bool on) {
    for (RhymeSystem book : kBooks)
        controls(book).list->setVisible(!on && book == checkedBook());
    p.xinYunSplitList->setVisible(on && !p.xianDaiSplitButton->isChecked());
    p.xianDaiSplitList->setVisible(on && p.xianDaiSplitButton->isChecked());
    p.splitBookButtons->setVisible(on);
    p.levelPanel->setVisible(on);
    p.obliquePanel->setVisible(on);
    a.splitByTone->setChecked(on);
    a.showCiRhymes->setEnabled(!on);
}

void RhymeMaster::chooseSplitBook(RhymeSystem book) {
    p.bookLabel->setCaption(rhyme::systemName(book));
    a.showNewRhymes->setChecked(book == RhymeSystem::XinYun);
    a.showModernRhymes->setChecked(book == RhymeSystem::XianDai);
    a.showCiRhymes->setChecked(false);
    p.xinYunSplitList->setVisible(book == RhymeSystem::XinYun);
    p.xianDaiSplitList->setVisible(book == RhymeSystem::XianDai);
}

void RhymeMaster::chooseGroup(RhymeSystem book, int index) {
    if (index < 0 || index >= rhyme::pairs(book).size())
        return;
    const RhymePair& pair = rhyme::pairs(book)[index];
    const RhymeGroup& level = rhyme::groups(book)[pair.level];
    const RhymeGroup& oblique = rhyme::groups(book)[pair.oblique];
    p.levelPane->setPlainText(level.characters);
    p.obliquePane->setPlainText(oblique.characters);
    p.finalsLabel->setCaption(level.finals);
}

void RhymeMaster::applySize(int points) {
    for (QWidget* pane : panes()) {
        QFont f = pane->font();
        f.setPointSize(std::max(points, 1)); // typed values outside 9 to 36 apply as typed
        pane->setFont(f);
    }
    TskRadioButton* sizeButtons[] = {p.sizeSmallest, p.sizeSmaller, p.sizeMedium, p.sizeLarger,
                                     p.sizeLargest};
    for (int i = 0; i < 5; ++i) {
        if (kSizes[i] == points)
            sizeButtons[i]->setSkChecked(true); // already checked when it was the one clicked
    }
    if (std::find(std::begin(kSizes), std::end(kSizes), points) == std::end(kSizes)) {
        for (TskRadioButton* b : sizeButtons)
            b->setSkChecked(false);
    }
}

// The window's one font dialog and one colour dialog, which open on the last choice
// made in them by any command.
void RhymeMaster::chooseFont() {
    const std::optional<QFont> font =
        skin::SharedDialogs::of(m_window).chooseFont(m_modals, m_window);
    if (!font)
        return;
    const QFont chosen = *font;
    for (QWidget* pane : panes())
        pane->setFont(chosen);
    // The spinner takes the size within its range; the size is applied even when the
    // spinner already showed that value, so a 48-point choice always ends at 36.
    const int size = std::clamp(chosen.pointSize(), 9, 36);
    if (p.sizeSpinner->value() == size)
        applySize(size);
    else
        p.sizeSpinner->setValue(size);
}

void RhymeMaster::chooseFontColour() {
    const std::optional<QColor> colour =
        skin::SharedDialogs::of(m_window).chooseColour(m_modals, m_window);
    if (!colour)
        return;
    for (QWidget* pane : panes())
        skin::setFontColour(pane, colourNumber(*colour));
}

void RhymeMaster::chooseBackground() {
    const std::optional<QColor> colour =
        skin::SharedDialogs::of(m_window).chooseColour(m_modals, m_window);
    if (!colour)
        return;
    for (QWidget* pane : panes())
        skin::setBackground(pane, colourNumber(*colour));
}

void RhymeMaster::labelRestoredBook() {
    if (p.ciYunButton->isChecked())
        p.bookLabel->setCaption(QStringLiteral(" 词韵简编："));
}

void RhymeMaster::followPaneSize() {
    p.sizeSpinner->setValue(p.rhymePane->font().pointSize());
}
