#pragma once
// The bare window the program's start-up is measured against: a menu bar and an editor
// showing one line of Chinese in the program's CJK face. With the program's first-screen
// text it also shows what the program's first screen writes (its captions, menus, lists
// and notice, and the bold title), so that the memory a bare window needs for that much
// text can be told from the program's own.

#include "skin/ui/skinned.h"

#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QTextEdit>
#include <QVBoxLayout>

namespace bench {

inline void buildReferenceWindow(QMainWindow& window) {
    window.resize(843, 611);
    window.menuBar()->addMenu(QStringLiteral("文件"))->addAction(QStringLiteral("退出"));
    auto* edit = new QTextEdit(&window);
    edit->setFont(skin::songFont(12));
    edit->setPlainText(QStringLiteral("寒蝉凄切，对长亭晚，骤雨初歇。"));
    window.setCentralWidget(edit);
}

// The texts of the program's first screen with empty documents, as shown there: the
// menu bar, the rhyme bar, the pattern captions and legend, the tabs, the verse list, the
// side captions, the status bar and the forum notice.
inline constexpr const char16_t* kFirstScreenText[] = {
    u"文件(F) 编辑(E) 视图(V) 设置(O) 收藏(A) 界面(I) 音乐(M) 赏析(J) 附录(X) 帮助(H)",
    u"词韵简编： 第一部 平声：一东二冬通用 查找词谱",
    u"同调作品 释义 例一 例二 例三 例四 例五",
    u"填词规格 ○平声 ●仄声 ◎可平可仄 △压平韵 ▲压仄韵",
    u"婉约词 豪放词 绝句篇 律诗篇 其它篇",
    u"律诗绝句 七律-首句平起仄收 七律-首句仄起平收 七律-首句仄起仄收 七律-首句平起平收",
    u"五律-首句平起仄收 五律-首句平起平收 五律-首句仄起平收 五律-首句仄起仄收",
    u"七绝-首句平起仄收 七绝-首句平起平收 七绝-首句仄起仄收",
    u"我的收藏 押韵大师 词牌 诗/藏 赏析 词牌与填词区",
    u"Quillmere2004 Versefold论坛欢迎广大诗词及文学爱好者注册发帖!",
};

// The reference with the program's first-screen text above its editor, and the title in
// bold as the program's own title bar draws it.
inline void addFirstScreenText(QMainWindow& window) {
    auto* page = new QWidget(&window);
    auto* column = new QVBoxLayout(page);
    auto* title = new QLabel(QStringLiteral("Lyrevane 终结版"), page);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    column->addWidget(title);
    for (const char16_t* line : kFirstScreenText) {
        auto* label = new QLabel(QString::fromUtf16(line), page);
        label->setFont(skin::songFont(12));
        column->addWidget(label);
    }
    column->addWidget(window.takeCentralWidget());
    window.setCentralWidget(page);
}

} // namespace bench
