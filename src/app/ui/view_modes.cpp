#include "app/ui/view_modes.h"

#include "app/ui/centre_panes.h"
#include "skin/ui/skinned.h"

#include <QAction>

ViewModes::ViewModes(const ViewModeControls& controls, QObject* parent)
    : QObject(parent), c(controls) {
    connect(c.skRadioButton6, &TskRadioButton::onClick, this, &ViewModes::showPatterns);
    connect(c.skRadioButton7, &TskRadioButton::onClick, this, &ViewModes::showVerse);
    connect(c.skRadioButton8, &TskRadioButton::onClick, this, &ViewModes::showKnowledge);
    // Each menu item acts as a click on its radio button: choosing the mode already
    // selected changes nothing (but the item's own check mark, put back here).
    auto asClick = [](QAction* item, TskRadioButton* button) {
        connect(item, &QAction::triggered, button, [item, button] {
            item->setChecked(button->isChecked() || item->isChecked());
            if (!button->isChecked())
                button->setSkChecked(true);
        });
    };
    asClick(c.N4, c.skRadioButton6);
    asClick(c.N5, c.skRadioButton7);
    asClick(c.D2, c.skRadioButton8);
}

void ViewModes::showPatterns() {
    c.H1->setEnabled(true);
    c.centre->showPattern();
    for (QWidget* b : c.viewButtons)
        b->show();
    c.skCheckBox1->setEnabled(true);
    c.N4->setChecked(true);
    c.N5->setChecked(false);
    c.D2->setChecked(false);
    c.Panel3->hide();
    c.Panel1->show();
    c.Panel6->hide();
    c.skPanel14->hide();
}

void ViewModes::showVerse() {
    c.skCheckBox1->setEnabled(false);
    c.skCheckBox1->setSkChecked(false); // clearing it runs its handler
    c.N5->setChecked(true);
    c.N4->setChecked(false);
    c.D2->setChecked(false);
    c.Panel1->hide();
    c.Panel3->show();
    c.Panel6->hide();
    c.skPanel14->hide();
}

void ViewModes::showKnowledge() {
    c.Panel6->show();
    c.skPanel14->show();
    c.D2->setChecked(true);
    c.N4->setChecked(false);
    c.N5->setChecked(false);
}

void ViewModes::settleRestoredMode() {
    if (c.skRadioButton7->isChecked())
        c.skCheckBox1->setEnabled(false);
}
