#include "app/ui/file_steps.h"

#include "base/core/app_error.h"
#include "base/core/data_root.h"
#include "base/ui/modals.h"

FileSteps::FileSteps(const DataRoot& root, ModalRunner& modals, QWidget* window)
    : m_root(root), m_modals(modals), m_window(window) {}

void FileSteps::load(const QString& path, const LoadStep& load) {
    try {
        const QString notice = load(m_root);
        if (!notice.isEmpty())
            m_modals.showError(m_window, notice);
    } catch (const AppError& e) {
        // Start-up goes on; the file is never written back over at shutdown.
        m_unloaded.insert(path);
        m_modals.showError(m_window, e.message());
    }
}

void FileSteps::save(const QString& path, const Step& save) const {
    // A file that exists but could not be read at start-up is left as it is; one that
    // was missing is written, since nothing on disk could be lost.
    if (m_unloaded.contains(path) && m_root.exists(path))
        return;
    save(m_root);
}
