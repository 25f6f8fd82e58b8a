#include "catalogue/ui/pattern_display.h"

#include "base/core/app_error.h"
#include "base/core/data_root.h"
#include "base/ui/modals.h"
#include "catalogue/ui/pattern_panels.h"
#include "catalogue/ui/search_dialog.h"
#include "skin/ui/message_dialog.h"
#include "skin/ui/skinned.h"

#include <QAction>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

using namespace catalogue;

namespace catalogue {

PanelTexts textsOf(const CiPattern& p) {
    return {p.name, p.templateText, p.explanation, p.examples, templateFilePath(p)};
}

PanelTexts textsOf(const VersePattern& p) {
    return {p.name, p.templateText, p.explanation, p.examples, templateFilePath(p)};
}

} // namespace catalogue

namespace {

const QString kEmptyInput = QStringLiteral("请输入查找内容！");
const QString kNoHit =
    QStringLiteral("很抱歉，您所输入的词牌名暂时没有在“常用词谱”、“通用词谱”和“冷僻词谱”中收藏！");

// The view button under the pointer reads as a link; the others are dimmed.
void setCaptionColour(QWidget* button, skin::Role role) {
    skin::setRole(button, role);
}

} // namespace

PatternDisplay::PatternDisplay(PatternPanels& panels, QAction* lineBreak, const DataRoot& root,
                               ModalRunner& modals, QWidget* window)
    : QObject(window), p(panels), m_lineBreak(lineBreak), m_root(root), m_modals(modals),
      m_window(window) {
    m_toolBarEmpty = TskMessageDialog::programDialog(
        QStringLiteral("skMessageDialog5"), TskMessageDialog::skWarning, kEmptyInput, window);
    m_toolBarMiss = TskMessageDialog::programDialog(QStringLiteral("skMessageDialog4"),
                                                    TskMessageDialog::skWarning, kNoHit, window);

    struct ListRow {
        QListWidget* list;
        PatternList which;
    };
    for (ListRow l :
         {ListRow{p.commonList, PatternList::Common}, ListRow{p.generalList, PatternList::General},
          ListRow{p.rareList, PatternList::Rare}}) {
        // A selection made with the keyboard or the mouse shows the row; a press on the
        // row already selected shows it again, as a click does (but a press that
        // changed the row has already shown it).
        connect(l.list, &QListWidget::currentRowChanged, this, [this, l](int row) {
            noteRowChange();
            runGuarded(m_modals, m_window, [&] { showRow(l.which, row); });
        });
        connect(l.list, &QListWidget::itemPressed, this, [this, l] {
            if (!takeRowChange())
                runGuarded(m_modals, m_window, [&] { showRow(l.which, l.list->currentRow()); });
        });
        connect(l.list, &QListWidget::itemDoubleClicked, this, &PatternDisplay::rowDoubleClicked);
    }
    connect(p.verseList, &QListWidget::currentRowChanged, this, [this](int row) {
        noteRowChange();
        runGuarded(m_modals, m_window, [&] { showVerseRow(row); });
    });
    connect(p.verseList, &QListWidget::itemPressed, this, [this] {
        if (!takeRowChange())
            runGuarded(m_modals, m_window, [&] { showVerseRow(p.verseList->currentRow()); });
    });
    connect(p.verseList, &QListWidget::itemDoubleClicked, this, &PatternDisplay::rowDoubleClicked);

    // The example flag: a change shows example 1 or the explanation.
    connect(p.exampleFlag, &TskCheckBox::onClick, this, [this] {
        selectView(p.exampleFlag->isChecked() ? PatternView::Example1 : PatternView::Explanation);
    });

    const QList<QToolButton*> buttons = p.viewButtons();
    for (int i = 0; i < buttons.size(); ++i) {
        connect(buttons[i], &QToolButton::clicked, this, [this, i] { selectView(PatternView(i)); });
    }
    connect(m_lineBreak, &QAction::triggered, this, &PatternDisplay::toggleLineBreak);
    // A click on the 律诗绝句 caption brings the pattern panel back over a favourite.
    connect(p.versePanel, &TskPanel::captionClicked, this, &PatternDisplay::patternPanesWanted);
}

void PatternDisplay::noteRowChange() {
    // The press that changed the row comes right after, in the same event.
    m_rowJustChanged = true;
    QTimer::singleShot(0, this, [this] { m_rowJustChanged = false; });
}

bool PatternDisplay::takeRowChange() {
    return std::exchange(m_rowJustChanged, false);
}

void PatternDisplay::setExampleFlag(bool on) {
    p.exampleFlag->setSkChecked(on); // a change runs the flag's action
}

void PatternDisplay::showViewButtons(bool shown) {
    for (QToolButton* b : p.viewButtons())
        b->setVisible(shown);
}

void PatternDisplay::fill(const PanelTexts& t) {
    p.patternPanel->setCaption(t.name);
    p.templatePane->setPlainText(t.templateText);
    p.examplePane1->setPlainText(t.examples[0]);
    p.explanationPane->setPlainText(t.explanation);
    QPlainTextEdit* panes[] = {p.examplePane2, p.examplePane3, p.examplePane4, p.examplePane5};
    for (int i = 0; i < 4; ++i)
        panes[i]->setPlainText(t.examples[i + 1]);
    // Last: a missing file leaves the template-file view as it was, after the rest.
    const QStringList lines = m_root.readLines(t.templateFile);
    p.templateFileView->setPlainText(lines.join(QLatin1Char('\n')));
}

void PatternDisplay::showRow(PatternList list, int row) {
    setExampleFlag(false);
    showViewButtons(true);
    const CiPattern* record = pattern(list, row);
    if (!record)
        return;
    fill(textsOf(*record));
}

void PatternDisplay::showVerseRow(int row) {
    m_lineBreak->setEnabled(true);
    Q_EMIT patternPanesWanted();
    setExampleFlag(false);
    showViewButtons(true);
    const VersePattern* record = versePattern(row);
    if (!record)
        return;
    fill(textsOf(*record));
}

void PatternDisplay::rowDoubleClicked() {
    setExampleFlag(true);
}

void PatternDisplay::selectView(PatternView view) {
    QWidget* panes[] = {p.explanationPane, p.examplePane1, p.examplePane2,
                        p.examplePane3,    p.examplePane4, p.examplePane5};
    const QList<QToolButton*> buttons = p.viewButtons();
    for (int i = 0; i < 6; ++i) {
        const bool current = i == int(view);
        panes[i]->setVisible(current);
        buttons[i]->setEnabled(!current);
    }
}

PatternView PatternDisplay::currentView() const {
    const QWidget* panes[] = {p.explanationPane, p.examplePane1, p.examplePane2,
                              p.examplePane3,    p.examplePane4, p.examplePane5};
    for (int i = 0; i < 6; ++i) {
        if (!panes[i]->isHidden())
            return PatternView(i);
    }
    return PatternView::Explanation;
}

void PatternDisplay::toggleLineBreak() {
    // The menu has already inverted the check mark.
    const bool broken = m_lineBreak->isChecked();
    p.templateStrip->setVisible(!broken);
    p.templateFilePanel->setVisible(broken);
}

void PatternDisplay::makeRoomForFavourite() {
    p.templateStrip->show();
    p.templateFilePanel->hide();
    m_lineBreak->setEnabled(false);
}

void PatternDisplay::patternsViewChosen() {
    m_lineBreak->setEnabled(true);
    showViewButtons(true);
}

QString PatternDisplay::templateViewFile() {
    return QStringLiteral("data.dat");
}

QString PatternDisplay::loadTemplateView() {
    QString damage;
    p.templateFileView->setPlainText(
        m_root.readOwnLines(templateViewFile(), &damage).join(QLatin1Char('\n')));
    return damage;
}

void PatternDisplay::storeTemplateView() const {
    m_root.writeText(templateViewFile(), p.templateFileView->toPlainText());
}

void PatternDisplay::hoverButton(PatternView view) {
    const QList<QToolButton*> buttons = p.viewButtons();
    for (int i = 0; i < buttons.size(); ++i)
        setCaptionColour(buttons[i], i == int(view) ? skin::Role::Link : skin::Role::Dimmed);
}

void PatternDisplay::hoverElsewhere() {
    for (QToolButton* b : p.viewButtons())
        setCaptionColour(b, skin::Role::Dimmed);
}

void PatternDisplay::runSearch(const QString& text, bool hideButtons,
                               TskMessageDialog* emptyMessage, TskMessageDialog* missMessage,
                               QWidget* messageParent) {
    if (hideButtons)
        showViewButtons(false);
    if (text.isEmpty()) {
        emptyMessage->Execute(m_modals, messageParent);
        return;
    }
    const CiPattern* hit = findPattern(text);
    if (!hit) {
        missMessage->Execute(m_modals, messageParent);
        return;
    }
    // Every pane of the hit, so that whichever view is showing belongs to it, and the
    // pattern panel over a favourite; the showing view, the flag and the lists stay.
    m_lineBreak->setEnabled(true);
    Q_EMIT patternPanesWanted();
    fill(textsOf(*hit));
}

void PatternDisplay::attachToolBarSearch(QLineEdit* box, QPushButton* button) {
    auto search = [this, box] {
        runGuarded(m_modals, m_window,
                   [&] { runSearch(box->text(), true, m_toolBarEmpty, m_toolBarMiss, m_window); });
    };
    connect(button, &QPushButton::clicked, this, search);
    connect(box, &QLineEdit::returnPressed, this, [button, search] {
        button->setFocus(); // Enter moves on to the button and searches
        search();
    });
}

void PatternDisplay::openSearchDialog() {
    showViewButtons(false);
    auto* dialog = new SearchDialog(m_window);
    connect(dialog, &SearchDialog::searchRequested, this, [this, dialog](const QString& text) {
        runGuarded(m_modals, m_window, [&] {
            runSearch(text, false, dialog->emptyMessage, dialog->missMessage, dialog);
        });
    });
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}
