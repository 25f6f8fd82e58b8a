#include "app/ui/main_toolbar.h"

#include "skin/ui/glyph_icons.h"

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

    // The buttons' glyphs and colours are in skin::glyphs::kButtons, whose pictures are
    // drawn at build time.
    struct ButtonLook {
        const char* glyph;
        const char* hint;
    } looks[] = {
        {"示", "有情提示"},
        {"存", "保存诗词：保存书写的所有诗词"},
        {"藏", "添加我的收藏内容"},
        {"查", "查找词谱"},
        {"撤", "撤消上一步操作"},
        {"剪", "剪切"},
        {"复", "复制"},
        {"粘", "粘贴"},
        {"字", "字体设置"},
        {"邮", "给作者发送邮件"},
        {"坛", "登录Versefold社区"},
        {"新", "查看网络最新版"},
    };
    int n = 0;
    for (const ButtonLook& s : looks) {
        auto* b = new QToolButton(t.ToolBar1);
        b->setObjectName(QStringLiteral("ToolButton%1").arg(++n));
        b->setIcon(skin::glyphs::icon(s.glyph));
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
