#include "app/ui/main_toolbar.h"

#include "skin/ui/pictures.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

MainToolBar buildMainToolBar(QMainWindow* window) {
    MainToolBar t;
    t.ToolBar1 = new QToolBar(window);
    t.ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    t.ToolBar1->setMovable(false);
    t.ToolBar1->setIconSize(QSize(32, 32));
    window->addToolBar(Qt::TopToolBarArea, t.ToolBar1);

    struct ButtonLook {
        const char* glyph;
        const char* hint;
        QColor colour;
    } looks[] = {
        {"示", "有情提示", QColor(0xc0, 0x50, 0x50)},
        {"存", "保存诗词：保存书写的所有诗词", QColor(0x30, 0x70, 0xb0)},
        {"藏", "添加我的收藏内容", QColor(0xb0, 0x80, 0x20)},
        {"查", "查找词谱", QColor(0x30, 0x90, 0x60)},
        {"撤", "撤消上一步操作", QColor(0x60, 0x60, 0x60)},
        {"剪", "剪切", QColor(0x60, 0x60, 0x60)},
        {"复", "复制", QColor(0x60, 0x60, 0x60)},
        {"粘", "粘贴", QColor(0x60, 0x60, 0x60)},
        {"字", "字体设置", QColor(0x80, 0x40, 0xa0)},
        {"邮", "给作者发送邮件", QColor(0x20, 0x80, 0x90)},
        {"坛", "登录Versefold社区", QColor(0x20, 0x80, 0x90)},
        {"新", "查看网络最新版", QColor(0x20, 0x80, 0x90)},
    };
    int n = 0;
    for (const ButtonLook& s : looks) {
        auto* b = new QToolButton(t.ToolBar1);
        b->setObjectName(QStringLiteral("ToolButton%1").arg(++n));
        b->setIcon(skin::pictures::glyphIcon(QString::fromUtf8(s.glyph), s.colour));
        b->setIconSize(QSize(32, 32));
        b->setFixedSize(48, 42);
        b->setAutoRaise(true);
        b->setToolTip(QString::fromUtf8(s.hint));
        b->setStatusTip(QString::fromUtf8(s.hint));
        t.ToolBar1->addWidget(b);
        t.buttons.append(b);
    }

    auto* spacer = new QWidget(t.ToolBar1);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    t.ToolBar1->addWidget(spacer);
    t.Panel7 = new QWidget(t.ToolBar1);
    t.Panel7->setObjectName(QStringLiteral("Panel7"));
    t.Panel7->setFixedWidth(201);
    auto* row = new QHBoxLayout(t.Panel7);
    row->setContentsMargins(2, 0, 2, 0);
    t.Edit1 = new QLineEdit(t.Panel7);
    t.Edit1->setObjectName(QStringLiteral("Edit1"));
    t.skButton1 = new QPushButton(QStringLiteral("查找词谱"), t.Panel7);
    t.skButton1->setObjectName(QStringLiteral("skButton1"));
    t.skButton1->setToolTip(t.skButton1->text());
    t.skButton1->setStatusTip(t.skButton1->text());
    row->addWidget(t.Edit1, 1);
    row->addWidget(t.skButton1);
    t.ToolBar1->addWidget(t.Panel7);
    return t;
}
