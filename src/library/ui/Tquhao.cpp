#include "library/ui/Tquhao.h"

#include "library/ui/reading_window.h"
#include "skin/ui/skinned.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>

#include <tuple>

TCodeTableForm::TCodeTableForm(const QString& title, const QString& blocksCaption,
                               const QList<CodeRegion>& regions, bool scrollBars, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    QHBoxLayout* row = reading::windowRow(this, title, QSize(630, 485));
    listChannel = reading::sideChannel(QStringLiteral("skSideChannel1"), this, true, 170);
    std::tie(listPanel, regionList) = reading::listPanel(listChannel, QStringLiteral("地区"));
    row->addWidget(listChannel);

    blocksPanel = new TskPanel(QStringLiteral("skPanel2"), this, blocksCaption);
    // The blocks lie on top of each other; only the chosen one is visible.
    auto* stack = new QWidget(blocksPanel);
    auto* grid = new QGridLayout(stack);
    grid->setContentsMargins(0, 0, 0, 0);
    for (const CodeRegion& region : regions) {
        regionList->addItem(region.name);
        QPlainTextEdit* box = skin::makeMemo(region.id, stack, true);
        box->setFont(skin::songFont(14));
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
        if (!scrollBars)
            box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setPlainText(region.lines.join(u'\n'));
        box->setVisible(blocks.isEmpty());
        grid->addWidget(box, 0, 0);
        blocks.append(box);
    }
    blocksPanel->body()->addWidget(stack);
    row->addWidget(blocksPanel, 1);

    regionList->setCurrentRow(0);
    connect(regionList, &QListWidget::currentRowChanged, this, &TCodeTableForm::showRegion);
}

void TCodeTableForm::showRegion(int row) {
    if (row < 0 || row >= blocks.size())
        return;
    for (int i = 0; i < blocks.size(); ++i)
        blocks[i]->setVisible(i == row);
}

void TCodeTableForm::closeEvent(QCloseEvent* event) {
    event->accept();
    hide();
}

AreaCodesWindow::AreaCodesWindow(QWidget* parent)
    : TCodeTableForm(QStringLiteral("全国电话区号"), QStringLiteral("对应区号"),
                     code_tables::areaCodes(), false, parent) {
    setObjectName(QStringLiteral("quhao"));
}

PostalCodesWindow::PostalCodesWindow(QWidget* parent)
    : TCodeTableForm(QStringLiteral("全国邮政编码"), QStringLiteral("对应邮编"),
                     code_tables::postalCodes(), true, parent) {
    setObjectName(QStringLiteral("youzheng1"));
}
