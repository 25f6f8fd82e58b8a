#pragma once
// The 诗词检索 commands: the 附录 item opens the search window, 前人用例 opens it on the
// phrase selected in a document. The corpus is opened when first needed, not at start.

#include "base/core/data_root.h"
#include "search/core/search_index.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class ModalRunner;
class QAction;
class QWidget;
class TSearchForm;

struct PoemSearchActions {
    QAction* openWindow = nullptr;      // 诗词检索
    QAction* precedents = nullptr;      // 前人用例
    std::function<QString()> selection; // the text selected in the current document
};

class PoemSearch : public QObject {
    Q_OBJECT
  public:
    PoemSearch(PoemSearchActions actions, DataRoot root, ModalRunner& modals, QWidget* window);
    ~PoemSearch() override;

    // The window, made on first use and shown.
    TSearchForm* showWindow();
    // The window searching `phrase`.
    void searchFor(const QString& phrase);
    // The corpus, opened on the first call; null when it cannot be (the reason is shown
    // once in an error box and returned every time).
    const search::Index* index(QString* error);

  private:
    PoemSearchActions m_actions;
    DataRoot m_root;
    ModalRunner& m_modals;
    QWidget* m_window;
    QPointer<TSearchForm> m_form;
    std::unique_ptr<search::Index> m_index;
    QString m_error;
    bool m_opened = false;
};
