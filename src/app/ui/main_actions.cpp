#include "app/ui/main_actions.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

namespace {

struct Item {
    const char* name;
    const char* caption;
    const char* hint = "";
    QKeySequence shortcut = {};
    bool checkable = false;
    bool checked = false;
};

QAction* add(QMenu* menu, const Item& it) {
    auto* a = new QAction(QString::fromUtf8(it.caption), menu);
    a->setObjectName(QString::fromUtf8(it.name));
    a->setStatusTip(QString::fromUtf8(it.hint));
    if (!it.shortcut.isEmpty()) {
        a->setShortcut(it.shortcut);
        a->setShortcutContext(Qt::WindowShortcut);
    }
    a->setCheckable(it.checkable);
    a->setChecked(it.checked);
    menu->addAction(a);
    return a;
}

// A hidden item: not shown, but its shortcut still runs it.
QAction* addHidden(QMainWindow* window, QMenu* menu, const Item& it) {
    Item shown = it;
    shown.shortcut = {};
    QAction* a = add(menu, shown);
    a->setVisible(false);
    if (!it.shortcut.isEmpty()) {
        auto* key = new QShortcut(it.shortcut, window);
        key->setObjectName(a->objectName() + QStringLiteral("Shortcut"));
        // A hidden action reports itself disabled, so its key is wired here.
        QObject::connect(key, &QShortcut::activated, a,
                         [a] { Q_EMIT a->triggered(a->isChecked()); });
    }
    return a;
}

QKeySequence ctrl(int key) {
    return QKeySequence(Qt::CTRL | key);
}
QKeySequence ctrlAlt(int key) {
    return QKeySequence(Qt::CTRL | Qt::ALT | key);
}

} // namespace

MainActions buildMainActions(QMainWindow* w) {
    MainActions a;
    auto* bar = new QMenuBar(w);
    bar->setObjectName(QStringLiteral("skMainMenu1"));
    w->setMenuBar(bar);
    a.menuBar = bar;
    auto menu = [&](const char* name, const char* caption) {
        QMenu* m = bar->addMenu(QString::fromUtf8(caption));
        m->setObjectName(QString::fromUtf8(name));
        return m;
    };

    QMenu* m = a.fileMenu = menu("File1", "文件(&F)");
    a.openTextFile = addHidden(
        w, m, {"O1", "打开(&O)", "打开文本文件：打开后将于婉约词下显示", ctrl(Qt::Key_O)});
    a.saveAll = add(m, {"S1", "保存(&S)", "保存诗词：保存书写的所有诗词", ctrl(Qt::Key_S)});
    m->addSeparator();
    m->addSeparator();
    a.pageSetup = add(m, {"T2", "页面设置(&T)", "页面设置"});
    a.print = add(m, {"P5", "打印(&P)", "打印婉约词提供的文件", ctrl(Qt::Key_P)});
    m->addSeparator();
    a.exit = add(m, {"X1", "退出(&X)", "退出系统", QKeySequence(Qt::Key_Escape)});

    m = a.editMenu = menu("Edit1", "编辑(&E)");
    a.undo = add(m, {"Z1", "撤消(&Z)", "撤消上一步操作", ctrl(Qt::Key_Z)});
    m->addSeparator();
    a.cut = add(m, {"X2", "剪切(&X)", "", ctrl(Qt::Key_X)});
    a.copy = add(m, {"C1", "复制(&C)", "", ctrl(Qt::Key_C)});
    a.paste = add(m, {"V1", "粘贴(&V)", "", ctrl(Qt::Key_V)});
    m->addSeparator();
    a.findPattern = add(m, {"F2", "查找词谱(&F)",
                            "查找词谱：在常用词谱与白香词谱中查找所需要的词谱", ctrl(Qt::Key_F)});
    m->addSeparator();
    a.selectAll = add(m, {"A1", "全部选定(&A)", "全部选定", ctrl(Qt::Key_A)});

    m = a.viewMenu = menu("View1", "视图(&V)");
    a.showCiRhymes = add(
        m,
        {"C2", "词韵简编(&C)", "词韵简编...>>>平仄分栏后将无法使用，取消可恢复", {}, true, true});
    a.showNewRhymes = add(m, {"M1", "新韵简观(&M)", "新韵简观", {}, true});
    a.showModernRhymes = add(m, {"P6", "现代诗韵(&P)", "现代诗韵", {}, true});
    m->addSeparator();
    a.splitByTone = add(m, {"N81", "平仄分栏(&P)", "平仄分栏", {}, true});
    m->addSeparator();
    a.alignLeft = add(m, {"L1", "左对齐(&L)", "左对齐", {}, true, true});
    a.alignCentre = add(m, {"C3", "居中对齐(&C)", "居中对齐", {}, true});
    a.alignRight = add(m, {"R1", "右对齐(&R)", "右对齐", {}, true});
    m->addSeparator();
    a.showPatternsView = add(m, {"N4", "词谱类(&A)", "词谱类", {}, true, true});
    a.showVerseView = add(m, {"N5", "诗类与收藏(&B)", "诗类与收藏", {}, true});
    a.showKnowledgeView = add(m, {"D2", "诗词知识(&D)", "诗词知识", {}, true});
    m->addSeparator();
    a.wrapPatterns = add(
        m, {"H1", "词谱换行(&H)", "词谱换行：可使词谱换行显示", QKeySequence(Qt::Key_F5), true});

    m = a.settingsMenu = menu("Option1", "设置(&O)");
    a.documentFont = add(m, {"T1", "字体(&T)", "字体：修改各篇的字体显示"});
    a.documentFontColour = add(m, {"F1", "字体颜色(&F)", "字体颜色"});
    QMenu* sizes = m->addMenu(QStringLiteral("文字大小(&D)"));
    sizes->setObjectName(QStringLiteral("D4"));
    a.sizeLargest = add(sizes, {"G2", "最大(&G)", "最大", ctrl(Qt::Key_1), true});
    a.sizeLarger = add(sizes, {"L2", "较大(&L)", "较大", ctrl(Qt::Key_2), true});
    a.sizeMedium = add(sizes, {"M2", "中等(&M)", "中等", ctrl(Qt::Key_3), true});
    a.sizeSmaller = add(sizes, {"S5", "较小(&S)", "较小", ctrl(Qt::Key_4), true});
    a.sizeSmallest = add(sizes, {"A5", "最小(&A)", "最小", ctrl(Qt::Key_5), true, true});
    QMenu* backs = m->addMenu(QStringLiteral("背景颜色(&B)"));
    backs->setObjectName(QStringLiteral("B1"));
    a.wanyueBackground = add(backs, {"W1", "婉约词背景颜色(&W)", "婉约词背景颜色"});
    a.haofangBackground = add(backs, {"H2", "豪放词背景颜色(&H)", "豪放词背景颜色"});
    a.jujuBackground = add(backs, {"J1", "绝句篇背景颜色(&J)", "绝句篇背景颜色"});
    a.lushiBackground = add(backs, {"L4", "律诗篇背景颜色(&L)", "律诗篇背景颜色"});
    a.otherBackground = add(backs, {"Q1", "其它篇字体颜色(&Q)", "其它篇字体颜色"});
    backs->addSeparator();
    a.allDocumentsBackground = add(backs, {"B2", "编辑区总背景颜色(&B)", "编辑区总背景颜色"});
    m->addSeparator();
    a.biggerFont = add(m, {"J2", "加大字体"});
    a.smallerFont = add(m, {"J3", "减小字体"});
    m->addSeparator();
    QMenu* master = m->addMenu(QStringLiteral("押韵大师(&A)"));
    master->setObjectName(QStringLiteral("A2"));
    a.rhymeMasterFont = add(master, {"T3", "字体(&T)", "字体"});
    a.rhymeMasterFontColour = add(master, {"C4", "字体颜色(&C)", "字体颜色"});
    a.rhymeMasterBackground = add(master, {"B3", "背景颜色(&B)", "背景颜色"});
    m->addSeparator();
    a.windowFont = add(m, {"C5", "窗口字体(&C)", "窗口字体：其它窗口的字体显示效果"});
    a.windowFontColour = add(m, {"O2", "窗口字体颜色(&O)", "窗口字体颜色"});
    a.windowBackground = add(m, {"Y1", "窗口背景颜色(&Y)", "窗口背景颜色"});
    m->addSeparator();
    // Shows F5, but the key belongs to 词谱换行, the first item that carries it.
    a.protectDocuments = add(m, {"P7", "保护文档(&P)\tF5", "保护文档：使文挡无法更改", {}, true});
    a.passwordProtect =
        add(m, {"M4", "密码保护(&M)", "密码保护：保护你的文挡不被他人查看", {}, true});
    a.wordCount = add(m, {"W2", "字数统计(&W)", "字数统计"});
    m->addSeparator();
    a.animateChannels =
        add(m, {"S2", "动画轨迹(&S)", "动画轨迹：取消后显示速度加快", {}, true, true});
    a.openChannelsOnClick = add(m, {"D1", "鼠标点击显示(&D)", "鼠标点击显示", {}, true});

    m = a.favouritesMenu = menu("Favourite1", "收藏(&A)");
    a.addFavourite =
        add(m, {"N2", "添加收藏(&A)", "添加收藏：自己添加词谱到“我的收藏”", ctrlAlt(Qt::Key_A)});
    m->addSeparator();
    a.editFavouritesList =
        add(m, {"L3", "修改收藏列表(&L)", "修改收藏列表：修改“我的收藏”列表", ctrlAlt(Qt::Key_L)});
    a.saveFavouriteContents =
        add(m, {"V2", "保存收藏内容(&V)", "保存收藏内容：写在“我的收藏”中的内容将被保存",
                ctrlAlt(Qt::Key_S)});
    a.lockFavouriteContents =
        add(m, {"M3", "锁定收藏内容(&M)", "锁定收藏内容：使收藏内容无法修改", {}, true, true});
    m->addSeparator();
    a.clearFavourites = add(m, {"D3", "清除收藏(&D)", "清除收藏：将清除“我的收藏”内所有词谱"});

    m = a.skinMenu = menu("Interface1", "界面(&I)");
    a.skinXp = add(m, {"WindowsXP2", "XP 时代(&X)", "Windows XP", {}, true});
    a.skinMac = add(m, {"MACOS2", "苹果幻想(&M)", "Mac OS", {}, true, true});
    a.skinBlueGlass = add(m, {"BLUEGLASS1", "蓝色玻璃(&B)", "BlueGlass", {}, true});
    a.skinDeepBlue = add(m, {"DeepBlue1", "深海地带(&D)", "DeepBlue", {}, true});
    a.skinProtein = add(m, {"Protein1", "营养蛋白(&P)", "Protein", {}, true});

    m = a.musicMenu = menu("Music1", "音乐(&M)");
    a.openMidi = addHidden(w, m, {"O3", "打开Midi(&O)"});
    a.pauseMusic = add(m, {"P8", "暂停(&P)", "", {}, true});
    m->addSeparator();
    const Item pieces[] = {
        {"N9", "贝多芬·献给爱丽丝"}, {"N10", "贝多芬·月光奏鸣曲"},
        {"N11", "春江花月夜"},       {"N12", "二泉映月"},
        {"N13", "高山流水"},         {"N14", "良宵"},
        {"N15", "满江红"},           {"N16", "莫扎特·C奏鸣曲"},
        {"N17", "舒伯特·圣玛丽亚"},  {"N18", "施特劳斯·兰色的多瑙河"},
        {"sda1", "瑶族舞曲"},
    };
    for (Item piece : pieces) {
        piece.hint = piece.caption; // a piece's hint is its caption
        a.pieces.append(add(m, piece));
    }

    // The reading windows' items are added by the anthology readers.
    a.anthologyMenu = menu("Enjoy1", "赏析(&J)");

    m = a.appendixMenu = menu("Appendix1", "附录(&X)");
    a.poetryBasics = addHidden(w, m, {"N19", "诗词常识", "诗词常识"});
    a.ciTerms = addHidden(w, m, {"N20", "词学名词释义", "词学名词释义"});
    a.versePrimer = add(m, {"N21", "诗律浅说", "诗律浅说"});
    m->addSeparator();
    a.areaCodes = add(m, {"N22", "全国电话区号", "全国电话区号"});
    a.postalCodes = add(m, {"N23", "全国邮政编码", "全国邮政编码"});
    a.usefulInformation = add(m, {"N24", "常用信息", "常用信息"});
    m->addSeparator();
    a.poemSearch = add(m, {"PoemSearch", "诗词检索(&S)", "诗词检索：前人用过哪些字句",
                           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F)});

    m = a.helpMenu = menu("Help1", "帮助(&H)");
    // Hidden and without a command: F1 does nothing.
    a.help = addHidden(w, m, {"H3", "帮助(&H)", "帮助"});
    a.fillingGuide = add(m, {"W3", "填词向导(&W)", "填词向导：教你三分钟学填词"});
    a.guestBook = add(m, {"L5", "留言本(&L)", "留言本"});
    a.forum = add(m, {"B4", "登录论坛(&B)", "登录论坛"});
    m->addSeparator();
    a.newVersion = add(m, {"V3", "查看网络新版本(&V)", "查看网络新版本"});
    a.mailAuthor = add(m, {"S3", "给作者发电子邮件(&S)", "给作者发电子邮件"});
    a.versionHistory = add(m, {"C6", "版本历史(&C)", "版本历史"});
    m->addSeparator();
    a.aboutBaixiang = add(m, {"X3", "关于白香词谱(&X)", "关于白香词谱"});
    a.whatIsJueju = add(m, {"J4", "什么是绝句？(&J)", "什么是绝句？"});
    m->addSeparator();
    a.about = add(m, {"A3", "关于(&A)...", "关于Lyrevane"});

    auto* pop = new QMenu(w);
    pop->setObjectName(QStringLiteral("skPopupMenu1"));
    a.documentPopup = pop;
    a.popupBigger = add(pop, {"N25", "加大字体"});
    a.popupSmaller = add(pop, {"N26", "减小字体"});
    pop->addSeparator();
    a.popupColour = add(pop, {"N27", "字体颜色"});
    pop->addSeparator();
    a.popupUndo = add(pop, {"N28", "撤消(&Z)"});
    pop->addSeparator();
    a.popupCut = add(pop, {"N29", "剪切(&X)"});
    a.popupCopy = add(pop, {"N30", "复制(&C)"});
    a.popupPaste = add(pop, {"N31", "粘贴(&V)"});
    pop->addSeparator();
    a.popupSelectAll = add(pop, {"N32", "全部选定(&A)"});
    pop->addSeparator();
    // Its key works in the window, not only while the menu is open.
    a.popupPrecedents = add(pop, {"Precedents", "前人用例(&Y)", "前人用例：选定的字句前人怎样用过",
                                  QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Y)});
    w->addAction(a.popupPrecedents);
    return a;
}
