#pragma once
// The main tool bar: twelve picture buttons and, at its right edge, the pattern
// search box.

#include <QList>

class QLineEdit;
class QMainWindow;
class QPushButton;
class QToolBar;
class QToolButton;
class QWidget;

struct MainToolBar {
    QToolBar* toolBar = nullptr; // ToolBar1
    // 有情提示, 保存, 添加收藏, 查找词谱, 撤消, 剪切, 复制, 粘贴, 字体设置, 邮件, 论坛, 新版本
    QList<QToolButton*> buttons;
    // The pattern search (Panel7): its box (Edit1) and 查找词谱 (skButton1)
    QWidget* searchPanel = nullptr;
    QLineEdit* searchBox = nullptr;
    QPushButton* searchButton = nullptr;

    enum Button {
        Notice,
        Save,
        AddFavourite,
        Find,
        Undo,
        Cut,
        Copy,
        Paste,
        Font,
        Mail,
        Forum,
        NewVersion
    };
    QToolButton* button(Button b) const { return buttons.at(b); }
};

MainToolBar buildMainToolBar(QMainWindow* window);
