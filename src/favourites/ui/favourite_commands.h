#pragma once
// The 收藏 commands: add, show, save, lock, edit the list and clear, and the store of
// the collection at shutdown. The view mode and the centre's panes belong to the main
// window, which the commands ask through signals.

#include <QObject>

class DataRoot;
class FavouritesPanels;
class ModalRunner;
class QAbstractButton;
class QAction;
class QWidget;
class SettingsFile;
class TskMessageDialog;

struct FavouriteCommandControls {
    // 添加收藏, 修改收藏列表, 保存收藏内容, 锁定收藏内容, 清除收藏
    QAction *add, *editList, *save, *lock, *clear;
    QAbstractButton* addButton; // the tool bar's 添加我的收藏内容
};

class FavouriteCommands : public QObject {
    Q_OBJECT
  public:
    FavouriteCommands(FavouritesPanels& panels, const FavouriteCommandControls& controls,
                      const DataRoot& root, SettingsFile& settings, ModalRunner& modals,
                      QWidget* window);

    void add();
    void showRow(int row);
    void save();
    void setLocked(bool locked);
    // Start-up, after the keys: the boxes follow 锁定收藏内容's restored check mark.
    void applyRestoredLock();
    void editList();
    void clear();

    // Shutdown: the names to user.dat, and no slot kept past the last of them.
    void store(const DataRoot& root);

    // skMessageDialog2: the warning before the boxes become writable
    TskMessageDialog* unlockWarning;

  Q_SIGNALS:
    void verseViewWanted();        // the 诗/藏 view in the left column
    void favouritePanesWanted();   // the favourite's panes in place of the pattern's
    void favouriteShownInCentre(); // the template strip shown, 词谱换行 disabled

  private:
    bool commitAdd(QWidget* dialog, const QString& name, const QString& examples,
                   const QString& pattern);
    bool commitList(QWidget* dialog, const QStringList& previous, const QString& text);
    void storeShownFavourite();
    QStringList names() const;
    void selectQuietly(int row);

    FavouritesPanels& p;
    FavouriteCommandControls c;
    const DataRoot& m_root;
    SettingsFile& m_settings;
    ModalRunner& m_modals;
    QWidget* m_window;
};
