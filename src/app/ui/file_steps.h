#pragma once
// The data-file steps of start-up and shutdown. A file that cannot be read at start-up
// is reported and start-up goes on; shutdown then leaves that file as it is on disk,
// so nothing that was never loaded is written back over.

#include <QSet>
#include <QString>
#include <functional>

class DataRoot;
class ModalRunner;
class QWidget;

class FileSteps {
  public:
    // A load step returns a notice for the error box (a damaged file kept aside), or
    // an empty string.
    using LoadStep = std::function<QString(const DataRoot&)>;
    using Step = std::function<void(const DataRoot&)>;

    FileSteps(const DataRoot& root, ModalRunner& modals, QWidget* window);

    // Runs `load`; an AppError is shown in the error box and marks `path` unloaded. A
    // notice the step returns is shown too; the file then counts as loaded.
    void load(const QString& path, const LoadStep& load);
    // Runs `save` unless `path` was not loaded and still exists; an AppError passes on,
    // so the caller stops its sequence.
    void save(const QString& path, const Step& save) const;

    const QSet<QString>& unloaded() const { return m_unloaded; }

  private:
    const DataRoot& m_root;
    ModalRunner& m_modals;
    QWidget* m_window;
    QSet<QString> m_unloaded;
};
