#include "app/ui/view_modes.h"

#include "app/ui/centre_panes.h"
#include "catalogue/ui/pattern_display.h"
#include "skin/ui/skinned.h"

#include <QAction>

ViewModes::ViewModes(const ViewModeControls& controls, QObject* parent)
    : QObject(parent), c(controls) {
    connect(c.patternsButton, &TskRadioButton::onClick, this, &ViewModes::showPatterns);
    connect(c.verseButton, &TskRadioButton::onClick, this, &ViewModes::showVerse);
    connect(c.knowledgeButton, &TskRadioButton::onClick, this, &ViewModes::showKnowledge);
    // Each menu item acts as a click on its radio button: choosing the mode already
    // selected changes nothing (but the item's own check mark, put back here).
    auto asClick = [](QAction* item, TskRadioButton* button) {
        connect(item, &QAction::triggered, button, [item, button] {
            item->setChecked(button->isChecked() || item->isChecked());
            if (!button->isChecked())
                button->setSkChecked(true);
        });
    };
    asClick(c.patternsItem, c.patternsButton);
    asClick(c.verseItem, c.verseButton);
    asClick(c.knowledgeItem, c.knowledgeButton);
}

void ViewModes::showPatterns() {
    c.centre->showPattern();
    c.display->patternsViewChosen();
    c.exampleFlag->setEnabled(true);
    c.patternsItem->setChecked(true);
    c.verseItem->setChecked(false);
    c.knowledgeItem->setChecked(false);
    c.verseColumn->hide();
    c.patternsColumn->show();
    c.knowledgeColumn->hide();
    c.knowledgeArea->hide();
}

void ViewModes::showVerse() {
    c.exampleFlag->setEnabled(false);
    c.exampleFlag->setSkChecked(false); // clearing it runs its handler
    c.verseItem->setChecked(true);
    c.patternsItem->setChecked(false);
    c.knowledgeItem->setChecked(false);
    c.patternsColumn->hide();
    c.verseColumn->show();
    c.knowledgeColumn->hide();
    c.knowledgeArea->hide();
}

void ViewModes::showKnowledge() {
    c.knowledgeColumn->show();
    c.knowledgeArea->show();
    c.knowledgeItem->setChecked(true);
    c.patternsItem->setChecked(false);
    c.verseItem->setChecked(false);
}

void ViewModes::chooseVerse() {
    c.verseButton->setSkChecked(true); // runs its handler on a change
}

void ViewModes::settleRestoredMode() {
    if (c.verseButton->isChecked())
        c.exampleFlag->setEnabled(false);
}
