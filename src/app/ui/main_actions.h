#pragma once
// The main menu, the documents' pop-up menu and their commands, by identity. Built in
// one place; each subsystem connects the commands it owns.

#include <QList>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;

// Each member is named for what it does; its objectName (the settings file's key and
// what tests find it by) is the one main_actions.cpp gives it beside its caption.
struct MainActions {
    QMenuBar* menuBar = nullptr;    // skMainMenu1
    QMenu* documentPopup = nullptr; // skPopupMenu1, the documents' pop-up menu
    QMenu *fileMenu{}, *editMenu{}, *viewMenu{}, *settingsMenu{}, *favouritesMenu{}, *skinMenu{},
        *musicMenu{}, *anthologyMenu{}, *appendixMenu{}, *helpMenu{};

    // 文件
    QAction *openTextFile{}, *saveAll{}, *pageSetup{}, *print{}, *exit{};
    // 编辑 (the standard edit actions act on the focused control)
    QAction *undo{}, *cut{}, *copy{}, *paste{}, *findPattern{}, *selectAll{};
    // 视图: the rhyme books, 平仄分栏, the documents' alignment, the three view modes,
    // 词谱换行
    QAction *showCiRhymes{}, *showNewRhymes{}, *showModernRhymes{};
    QAction* splitByTone{};
    QAction *alignLeft{}, *alignCentre{}, *alignRight{};
    QAction *showPatternsView{}, *showVerseView{}, *showKnowledgeView{};
    QAction* wrapPatterns{};
    // 设置: the documents' font, colour and 文字大小
    QAction *documentFont{}, *documentFontColour{};
    QAction *sizeLargest{}, *sizeLarger{}, *sizeMedium{}, *sizeSmaller{}, *sizeSmallest{};
    // 背景颜色: one per document (婉约词, 豪放词, 绝句篇, 律诗篇, 其它篇), then all of them
    QAction *wanyueBackground{}, *haofangBackground{}, *jujuBackground{}, *lushiBackground{},
        *otherBackground{}, *allDocumentsBackground{};
    QAction *biggerFont{}, *smallerFont{}; // 加大字体, 减小字体
    QAction *rhymeMasterFont{}, *rhymeMasterFontColour{}, *rhymeMasterBackground{}; // 押韵大师 ▸
    QAction *windowFont{}, *windowFontColour{}, *windowBackground{};
    QAction *protectDocuments{}, *passwordProtect{}, *wordCount{};
    // The side channels' options: 动画轨迹 and 鼠标点击显示
    QAction *animateChannels{}, *openChannelsOnClick{};
    // 收藏
    QAction *addFavourite{}, *editFavouritesList{}, *saveFavouriteContents{},
        *lockFavouriteContents{}, *clearFavourites{};
    // 界面
    QAction *skinXp{}, *skinMac{}, *skinBlueGlass{}, *skinDeepBlue{}, *skinProtein{};
    // 音乐: 打开Midi (hidden), 暂停, the eleven pieces
    QAction *openMidi{}, *pauseMusic{};
    QList<QAction*> pieces; // N9 … N18, sda1
    // 附录: 诗词常识 and 词学名词释义 (hidden), 诗律浅说, 全国电话区号, 全国邮政编码, 常用信息
    QAction *poetryBasics{}, *ciTerms{}, *versePrimer{}, *areaCodes{}, *postalCodes{},
        *usefulInformation{};
    QAction* poemSearch{}; // 诗词检索
    // 帮助: 帮助 (hidden), 填词向导, 留言本, 登录论坛, 查看网络新版本, 给作者发电子邮件,
    // 版本历史, 关于白香词谱, 什么是绝句？, 关于
    QAction *help{}, *fillingGuide{}, *guestBook{}, *forum{}, *newVersion{}, *mailAuthor{},
        *versionHistory{}, *aboutBaixiang{}, *whatIsJueju{}, *about{};
    // The pop-up menu's own items
    QAction *popupBigger{}, *popupSmaller{}, *popupColour{}, *popupUndo{}, *popupCut{},
        *popupCopy{}, *popupPaste{}, *popupSelectAll{}, *popupPrecedents{};

    // The skin items in the order start-up tests them.
    QList<QAction*> skinsInRestoreOrder() const {
        return {skinMac, skinXp, skinBlueGlass, skinDeepBlue, skinProtein};
    }
};

// Builds the menu bar into `window` and the pop-up menu; hidden items that carry a
// shortcut still answer it.
MainActions buildMainActions(QMainWindow* window);
