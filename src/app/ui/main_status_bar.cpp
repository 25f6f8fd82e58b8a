#include "app/ui/main_status_bar.h"

#include "app/ui/help_links.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

QStatusBar* buildMainStatusBar(QMainWindow* window) {
    auto* bar = new QStatusBar(window);
    bar->setObjectName(QStringLiteral("skStatusBar1"));
    window->setStatusBar(bar);
    // The first panel (500 pixels) is the bar's own message area, where hints show.
    bar->setMinimumWidth(500 + 80 + 100);
    auto* second = new QLabel(bar);
    second->setObjectName(QStringLiteral("skStatusBar1Panel2"));
    second->setFixedWidth(80);
    second->setAlignment(Qt::AlignCenter);
    auto* third = new QLabel(help_links::forum(), bar);
    third->setObjectName(QStringLiteral("skStatusBar1Panel3"));
    third->setMinimumWidth(100);
    third->setAlignment(Qt::AlignCenter);
    bar->addPermanentWidget(second);
    bar->addPermanentWidget(third);
    return bar;
}
