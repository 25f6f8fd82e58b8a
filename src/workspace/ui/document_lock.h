#pragma once
// Document protection (保护文档) and the password lock (密码保护).

#include <QList>
#include <QObject>

class ModalRunner;
class QAction;
class QTextEdit;
class QWidget;
class SettingsFile;

struct LockControls {
    QAction* protectDocuments; // 保护文档
    QAction* passwordProtect;  // 密码保护
    QList<QTextEdit*> documents;
    QWidget* documentArea; // the documents' tab control, hidden while locked
};

class DocumentLock : public QObject {
    Q_OBJECT
  public:
    DocumentLock(const LockControls& controls, SettingsFile& settings, ModalRunner& modals,
                 QWidget* window);

    // 保护文档: the check flips and every document's read-only flag follows it.
    void toggleProtection();
    // 密码保护: set a password (lock on) or give it (lock off).
    void toggleLock();
    // Start-up: the lock marker as the settings file holds it.
    QString storedMarker() const;
    // Start-up, after the keys: the prompt, when the lock is on; it leaves [temp] worder
    // as the user answered and returns that marker. With the lock off, `stored` as it is.
    QString startUpPrompt(const QString& stored);
    // Start-up: the documents are hidden only while the lock is on and `marker` says
    // the prompt was left without the password.
    void showDocumentsUnlessLocked(const QString& marker);

  private:
    LockControls c;
    SettingsFile& m_settings;
    ModalRunner& m_modals;
    QWidget* m_window;
};
