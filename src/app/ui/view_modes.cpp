#include "app/ui/view_modes.h"

#include "app/ui/centre_panes.h"
#include "catalogue/ui/pattern_display.h"
#include "skin/ui/skinned.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

QWidget* stackedPanel(const QString& name, QWidget* parent) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return panel;
}

} // namespace

ViewModeColumns buildViewModeColumns(QWidget* channel) {
    ViewModeColumns m{};
    auto* column = new QVBoxLayout(channel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* stack = new QGridLayout;
    m.patternsColumn = stackedPanel(QStringLiteral("Panel1"), channel);
    m.verseColumn = stackedPanel(QStringLiteral("Panel3"), channel);
    m.knowledgeColumn = stackedPanel(QStringLiteral("Panel6"), channel);
    for (QWidget* p : {m.patternsColumn, m.verseColumn, m.knowledgeColumn})
        stack->addWidget(p, 0, 0);
    m.verseColumn->hide();
    m.knowledgeColumn->raise(); // covers the other two when shown
    column->addLayout(stack, 1);

    auto* strip = new QWidget(channel);
    strip->setObjectName(QStringLiteral("viewModeStrip"));
    strip->setFixedHeight(27);
    auto* modes = new QHBoxLayout(strip);
    modes->setContentsMargins(4, 0, 4, 0);
    m.patternsButton =
        new TskRadioButton(QStringLiteral("skRadioButton6"), QStringLiteral("词牌"), strip);
    m.patternsButton->setStatusTip(QStringLiteral("词谱类"));
    m.verseButton =
        new TskRadioButton(QStringLiteral("skRadioButton7"), QStringLiteral("诗/藏"), strip);
    m.verseButton->setStatusTip(QStringLiteral("诗类与收藏"));
    m.knowledgeButton =
        new TskRadioButton(QStringLiteral("skRadioButton8"), QStringLiteral("赏析"), strip);
    m.knowledgeButton->setStatusTip(QStringLiteral("诗词知识"));
    for (auto* b : {m.patternsButton, m.verseButton, m.knowledgeButton})
        modes->addWidget(b);
    m.patternsButton->setSkChecked(true);
    column->addWidget(strip);
    return m;
}

ViewModes::ViewModes(const ViewModeControls& controls, QObject* parent)
    : QObject(parent), c(controls) {
    connect(c.columns.patternsButton, &TskRadioButton::onClick, this, &ViewModes::showPatterns);
    connect(c.columns.verseButton, &TskRadioButton::onClick, this, &ViewModes::showVerse);
    connect(c.columns.knowledgeButton, &TskRadioButton::onClick, this, &ViewModes::showKnowledge);
    // Each menu item acts as a click on its radio button: choosing the mode already
    // selected changes nothing (but the item's own check mark, put back here).
    auto asClick = [](QAction* item, TskRadioButton* button) {
        connect(item, &QAction::triggered, button, [item, button] {
            item->setChecked(button->isChecked() || item->isChecked());
            if (!button->isChecked())
                button->setSkChecked(true);
        });
    };
    asClick(c.patternsItem, c.columns.patternsButton);
    asClick(c.verseItem, c.columns.verseButton);
    asClick(c.knowledgeItem, c.columns.knowledgeButton);
}

void ViewModes::showPatterns() {
    c.centre->showPattern();
    c.display->patternsViewChosen();
    c.exampleFlag->setEnabled(true);
    c.patternsItem->setChecked(true);
    c.verseItem->setChecked(false);
    c.knowledgeItem->setChecked(false);
    c.columns.verseColumn->hide();
    c.columns.patternsColumn->show();
    c.columns.knowledgeColumn->hide();
    c.knowledgeArea->hide();
}

void ViewModes::showVerse() {
    c.exampleFlag->setEnabled(false);
    c.exampleFlag->setSkChecked(false); // clearing it runs its handler
    c.verseItem->setChecked(true);
    c.patternsItem->setChecked(false);
    c.knowledgeItem->setChecked(false);
    c.columns.patternsColumn->hide();
    c.columns.verseColumn->show();
    c.columns.knowledgeColumn->hide();
    c.knowledgeArea->hide();
}

void ViewModes::showKnowledge() {
    c.columns.knowledgeColumn->show();
    c.knowledgeArea->show();
    c.knowledgeItem->setChecked(true);
    c.patternsItem->setChecked(false);
    c.verseItem->setChecked(false);
}

void ViewModes::chooseVerse() {
    c.columns.verseButton->setSkChecked(true); // runs its handler on a change
}

void ViewModes::settleRestoredMode() {
    if (c.columns.verseButton->isChecked())
        c.exampleFlag->setEnabled(false);
}
