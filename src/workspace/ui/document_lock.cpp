#include "workspace/ui/document_lock.h"

#include "base/core/app_error.h"
#include "base/core/settings_file.h"
#include "base/ui/modals.h"
#include "workspace/core/lock_keys.h"
#include "workspace/core/password.h"
#include "workspace/ui/password_windows.h"

#include <QAction>
#include <QTextEdit>

DocumentLock::DocumentLock(const LockControls& controls, SettingsFile& settings,
                           ModalRunner& modals, QWidget* window)
    : QObject(window), c(controls), m_settings(settings), m_modals(modals), m_window(window) {
    connect(c.protectDocuments, &QAction::triggered, this, &DocumentLock::toggleProtection);
    connect(c.passwordProtect, &QAction::triggered, this, &DocumentLock::toggleLock);
    try {
        password::hashStoredPlainPassword(m_settings);
    } catch (const AppError&) {
        // A settings file that cannot be written keeps the plain value until a start
        // that can; the lock works the same with either.
    }
}

void DocumentLock::toggleProtection() {
    // The menu has already flipped the check mark.
    for (QTextEdit* doc : c.documents)
        doc->setReadOnly(c.protectDocuments->isChecked());
}

void DocumentLock::toggleLock() {
    // The menu has already flipped the check mark; it now says what the user asked for.
    if (c.passwordProtect->isChecked()) {
        SetPasswordWindow setPassword(m_settings, m_modals, m_window);
        if (m_modals.exec(setPassword) != QDialog::Accepted)
            c.passwordProtect->setChecked(false);
        return; // the lock takes effect at the next start
    }
    RemovePasswordWindow remove(m_settings, m_modals, m_window);
    if (m_modals.exec(remove) == QDialog::Accepted)
        c.documentArea->show();
    else
        c.passwordProtect->setChecked(true);
}

QString DocumentLock::storedMarker() const {
    return m_settings.readString(QString::fromLatin1(lock::kSection),
                                 QString::fromLatin1(lock::kMarkerKey));
}

void DocumentLock::showDocumentsUnlessLocked(const QString& marker) {
    c.documentArea->setVisible(marker != QLatin1String(lock::kLocked) ||
                               !c.passwordProtect->isChecked());
}

QString DocumentLock::startUpPrompt(const QString& stored) {
    if (!c.passwordProtect->isChecked())
        return stored;
    PasswordPrompt prompt(m_settings, m_modals, m_window);
    m_modals.exec(prompt);
    return prompt.marker();
}
