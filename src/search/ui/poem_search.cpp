#include "search/ui/poem_search.h"

#include "base/ui/modals.h"
#include "search/ui/search_window.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>

PoemSearch::PoemSearch(PoemSearchActions actions, DataRoot root, ModalRunner& modals,
                       QWidget* window)
    : QObject(window), m_actions(std::move(actions)), m_root(std::move(root)), m_modals(modals),
      m_window(window) {
    if (m_actions.openWindow)
        connect(m_actions.openWindow, &QAction::triggered, this, [this] { showWindow(); });
    if (m_actions.precedents)
        connect(m_actions.precedents, &QAction::triggered, this, [this] {
            const QString phrase = m_actions.selection ? m_actions.selection() : QString();
            TSearchForm* form = showWindow();
            if (phrase.trimmed().isEmpty())
                form->statusLabel->setText(QStringLiteral("请先在文稿中选定要查的字句。"));
            else
                form->searchFor(phrase);
        });
}

PoemSearch::~PoemSearch() = default;

TSearchForm* PoemSearch::showWindow() {
    if (!m_form) {
        m_form = new TSearchForm([this](QString* error) { return index(error); }, m_window);
        m_form->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_form->show();
    m_form->raise();
    m_form->activateWindow();
    m_form->queryEdit->setFocus();
    return m_form;
}

void PoemSearch::searchFor(const QString& phrase) {
    showWindow()->searchFor(phrase);
}

const search::Index* PoemSearch::index(QString* error) {
    if (!m_opened) {
        m_opened = true;
        m_index = search::Index::open(m_root.folder() + QStringLiteral("/data/search/poems.idx"),
                                      &m_error);
        if (!m_index)
            m_modals.showError(m_form ? static_cast<QWidget*>(m_form) : m_window, m_error);
    }
    if (error && !m_index)
        *error = m_error;
    return m_index.get();
}
