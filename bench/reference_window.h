#pragma once
// The bare window the program's start-up is measured against: a menu bar and an editor
// showing one line of Chinese in the program's CJK face.

#include "skin/ui/skinned.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QTextEdit>

namespace bench {

inline void buildReferenceWindow(QMainWindow& window) {
    window.resize(843, 611);
    window.menuBar()->addMenu(QStringLiteral("文件"))->addAction(QStringLiteral("退出"));
    auto* edit = new QTextEdit(&window);
    edit->setFont(skin::songFont(12));
    edit->setPlainText(QStringLiteral("寒蝉凄切，对长亭晚，骤雨初歇。"));
    window.setCentralWidget(edit);
}

} // namespace bench
