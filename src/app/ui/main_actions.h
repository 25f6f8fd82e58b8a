#pragma once
// The main menu, the documents' pop-up menu and their commands, by identity. Built in
// one place; each subsystem connects the commands it owns.

#include <QList>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;

struct MainActions {
    QMenuBar* skMainMenu1 = nullptr;
    QMenu* skPopupMenu1 = nullptr;
    QMenu *fileMenu{}, *editMenu{}, *viewMenu{}, *settingsMenu{}, *favouritesMenu{}, *skinMenu{},
        *musicMenu{}, *anthologyMenu{}, *appendixMenu{}, *helpMenu{};

    // 文件
    QAction *O1{}, *S1{}, *T2{}, *P5{}, *X1{};
    // 编辑 (the standard edit actions act on the focused control)
    QAction *Z1{}, *X2{}, *C1{}, *V1{}, *F2{}, *A1{};
    // 视图
    QAction *C2{}, *M1{}, *P6{}, *N81{}, *L1{}, *C3{}, *R1{}, *N4{}, *N5{}, *D2{}, *H1{};
    // 设置
    QAction *T1{}, *F1{}, *G2{}, *L2{}, *M2{}, *S5{}, *A5{};
    QAction *W1{}, *H2{}, *J1{}, *L4{}, *Q1{}, *B2{}; // backgrounds of the documents
    QAction *J2{}, *J3{};                             // 加大字体, 减小字体
    QAction *T3{}, *C4{}, *B3{};                      // 押韵大师 ▸ font, colour, background
    QAction *C5{}, *O2{}, *Y1{};                      // window font, colour, background
    QAction *P7{}, *M4{}, *W2{}, *S2{}, *D1{};
    // 收藏
    QAction *N2{}, *L3{}, *V2{}, *M3{}, *D3{};
    // 界面
    QAction *WindowsXP2{}, *MACOS2{}, *BLUEGLASS1{}, *DeepBlue1{}, *Protein1{};
    // 音乐: 打开Midi (hidden), 暂停, the eleven pieces
    QAction *O3{}, *P8{};
    QList<QAction*> pieces; // N9 … N18, sda1
    // 附录
    QAction *N19{}, *N20{}, *N21{}, *N22{}, *N23{}, *N24{};
    QAction* poemSearch{}; // 诗词检索
    // 帮助
    QAction *H3{}, *W3{}, *L5{}, *B4{}, *V3{}, *S3{}, *C6{}, *X3{}, *J4{}, *A3{};
    // The pop-up menu's own items
    QAction *popupBigger{}, *popupSmaller{}, *popupColour{}, *popupUndo{}, *popupCut{},
        *popupCopy{}, *popupPaste{}, *popupSelectAll{}, *popupPrecedents{};

    // The skin items in the order start-up tests them.
    QList<QAction*> skinsInRestoreOrder() const {
        return {MACOS2, WindowsXP2, BLUEGLASS1, DeepBlue1, Protein1};
    }
};

// Builds the menu bar into `window` and the pop-up menu; hidden items that carry a
// shortcut still answer it.
MainActions buildMainActions(QMainWindow* window);
