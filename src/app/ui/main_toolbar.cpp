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
    t.toolBar = new QToolBar(window);
    t.toolBar->setObjectName(QStringLiteral("ToolBar1"));
    t.toolBar->setMovable(false);
    t.toolBar->setIconSize(QSize(32, 32));
    window->addToolBar(Qt::TopToolBarArea, t.toolBar);

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
        auto* b = new QToolButton(t.toolBar);
        b->setObjectName(QStringLiteral("ToolButton%1").arg(++n));
        b->setIcon(skin::glyphs::icon(s.glyph));
        b->setIconSize(QSize(32, 32));
        b->setFixedSize(48, 42);
        b->setAutoRaise(true);
        b->setToolTip(QString::fromUtf8(s.hint));
        b->setStatusTip(QString::fromUtf8(s.hint));
        t.toolBar->addWidget(b);
        t.buttons.append(b);
    }

    auto* spacer = new QWidget(t.toolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    t.toolBar->addWidget(spacer);
    t.searchPanel = new QWidget(t.toolBar);
    t.searchPanel->setObjectName(QStringLiteral("Panel7"));
    t.searchPanel->setFixedWidth(201);
    auto* row = new QHBoxLayout(t.searchPanel);
    row->setContentsMargins(2, 0, 2, 0);
    t.searchBox = new QLineEdit(t.searchPanel);
    t.searchBox->setObjectName(QStringLiteral("Edit1"));
    t.searchButton = new QPushButton(QStringLiteral("查找词谱"), t.searchPanel);
    t.searchButton->setObjectName(QStringLiteral("skButton1"));
    t.searchButton->setToolTip(t.searchButton->text());
    t.searchButton->setStatusTip(t.searchButton->text());
    row->addWidget(t.searchBox, 1);
    row->addWidget(t.searchButton);
    t.toolBar->addWidget(t.searchPanel);
    return t;
}
