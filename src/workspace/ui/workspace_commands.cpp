#include "workspace/ui/workspace_commands.h"

#include "base/core/app_error.h"
#include "base/core/data_root.h"
#include "base/ui/modals.h"
#include "skin/ui/skinned.h"
#include "workspace/core/recovery_file.h"
#include "workspace/core/rtfreader.h"
#include "workspace/core/rtfwriter.h"
#include "workspace/ui/print_document.h"
#include "workspace/ui/richtextdocument.h"
#include "workspace/ui/word_count_window.h"
#include "workspace/ui/workspace_panel.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QTabBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QThread>
#include <QToolButton>

#include <algorithm>

WorkspaceCommands::WorkspaceCommands(WorkspacePanel& panel, const WorkspaceActions& actions,
                                     const DataRoot& root, ModalRunner& modals, QWidget* window)
    : QObject(window), m_panel(panel), a(actions), m_root(root), m_modals(modals),
      m_window(window) {
    auto run = [this](void (WorkspaceCommands::*command)()) {
        return [this, command] { runGuarded(m_modals, m_window, [&] { (this->*command)(); }); };
    };
    connect(a.saveAll, &QAction::triggered, this, run(&WorkspaceCommands::saveCopies));
    connect(a.saveButton, &QToolButton::clicked, this, run(&WorkspaceCommands::saveCopies));
    connect(a.openTextFile, &QAction::triggered, this, run(&WorkspaceCommands::openFile));
    connect(a.pageSetup, &QAction::triggered, this, run(&WorkspaceCommands::pageSetup));
    connect(a.print, &QAction::triggered, this, run(&WorkspaceCommands::print));
    connect(a.wordCount, &QAction::triggered, this, run(&WorkspaceCommands::countWords));
    connect(a.alignLeft, &QAction::triggered, this, [this] { align(Qt::AlignLeft); });
    connect(a.alignCentre, &QAction::triggered, this, [this] { align(Qt::AlignHCenter); });
    connect(a.alignRight, &QAction::triggered, this, [this] { align(Qt::AlignRight); });
    for (int i = 0; i < 5; ++i)
        connect(m_panel.documents[i], &QTextEdit::textChanged, this,
                [this, i] { m_changed[i] = true; });
}

WorkspaceCommands::~WorkspaceCommands() = default;

QString WorkspaceCommands::storePath(int n) {
    return QStringLiteral("save\\mq%1.rtf").arg(n);
}
QString WorkspaceCommands::copyPath(int n) {
    return QStringLiteral("Save\\mq%1.dat").arg(n);
}

WorkspaceCommands::Prepared WorkspaceCommands::prepare(const DataRoot& root, int n, QThread* owner,
                                                       const workspace::HeadSize* head) {
    Prepared prepared;
    QByteArray bytes;
    try {
        bytes = root.readBytes(storePath(n));
    } catch (const AppError&) {
        prepared.error = std::current_exception();
        return prepared;
    }
    std::unique_ptr<QTextDocument> built;
    if (head) {
        bool all = true;
        built = workspace::buildRichDocumentHead(bytes, *head, &prepared.whole, &all);
        prepared.partial = !all;
        if (prepared.partial)
            prepared.source = bytes;
    } else {
        built = workspace::buildRichDocument(bytes, &prepared.whole);
    }
    if (!prepared.whole)
        prepared.bytes = bytes;
    built->moveToThread(owner);
    prepared.document = std::move(built);
    return prepared;
}

QString WorkspaceCommands::load(int n, Prepared prepared) {
    const QString path = storePath(n);
    if (prepared.error) {
        m_unread.insert(n);
        std::rethrow_exception(prepared.error);
    }
    m_unread.remove(n);
    // Loading is not an edit: undo must never bring back the empty document.
    workspace::adoptRichDocument(m_panel.documents[n - 1], std::move(prepared.document));
    // What was read in part differs from the file, which is written back at shutdown.
    m_changed[n - 1] = !prepared.whole;
    m_storedFont[n - 1] = m_panel.documents[n - 1]->document()->defaultFont();
    m_partial[n - 1] = prepared.partial;
    if (prepared.whole)
        return {};
    // What could be read is shown; the file itself is kept aside first, so that the
    // shutdown, which writes the document back, loses nothing of it.
    const QString keep = m_root.keepOriginal(path, prepared.bytes);
    return QStringLiteral("文件 %1 已损坏，只读入了其中能读出的文字；原文件另存为 %2。")
        .arg(path, keep);
}

void WorkspaceCommands::completeLoad(int n, std::unique_ptr<QTextDocument> whole) {
    if (!m_partial[n - 1] || !whole)
        return;
    m_partial[n - 1] = false;
    // The same file as loaded: whether it differs from its store file stays as the load
    // step found it.
    const bool changed = m_changed[n - 1];
    workspace::adoptRichDocument(m_panel.documents[n - 1], std::move(whole));
    m_changed[n - 1] = changed;
}

QString WorkspaceCommands::keepTypingBesideUnreadFile(int n) {
    const QString path = storePath(n);
    if (!m_unread.contains(n) || !m_root.exists(path) ||
        !m_panel.documents[n - 1]->document()->isModified())
        return {};
    // A new name each time: an earlier run's rescued text is never written over.
    QString beside = QStringLiteral("save\\mq%1.recovered.rtf").arg(n);
    for (int i = 2; m_root.exists(beside); ++i)
        beside = QStringLiteral("save\\mq%1.recovered-%2.rtf").arg(n).arg(i);
    m_root.writeBytes(beside, rtfOf(n));
    // Kept now: a second close, after a later step failed, writes no second copy.
    m_panel.documents[n - 1]->document()->setModified(false);
    return QStringLiteral("文件 %1 在启动时无法读取，已原样保留；本次在“%2”中输入的文字另存为 %3。")
        .arg(path, m_panel.documentTabs->tabBar()->tabText(n - 1), beside);
}

QByteArray WorkspaceCommands::rtfOf(int n) {
    if (m_partial[n - 1])
        wholeDocuments();
    return workspace::RtfWriter::toRtf(
        workspace::richDocument(*m_panel.documents[n - 1]->document()));
}

void WorkspaceCommands::store(int n) {
    const QFont font = m_panel.documents[n - 1]->document()->defaultFont();
    if (!m_changed[n - 1] && font == m_storedFont[n - 1] && m_root.exists(storePath(n)))
        return; // the file already holds exactly this document
    m_root.writeBytes(storePath(n), rtfOf(n));
    m_changed[n - 1] = false;
    m_storedFont[n - 1] = font;
}

QPrinter& WorkspaceCommands::printer() {
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void WorkspaceCommands::wholeDocuments() {
    if (m_finishLoading && std::find(m_partial.begin(), m_partial.end(), true) != m_partial.end())
        m_finishLoading();
}

void WorkspaceCommands::saveCopies() {
    for (int n = 1; n <= 5; ++n)
        m_root.writeBytes(copyPath(n), rtfOf(n));
}

void WorkspaceCommands::openFile() {
    QFileDialog dialog(m_window);
    dialog.setObjectName(QStringLiteral("OpenDialog1"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(
        {QStringLiteral("文本文件 (*.TXT *.txt)"), QStringLiteral("所有文件 (*)")});
    if (m_modals.exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    wholeDocuments(); // what replaces the first document is never replaced by its rest
    const QString file = dialog.selectedFiles().first();
    const QString shown = QDir::toNativeSeparators(file);
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        throw AppError::cannotOpen(shown);
    const QByteArray bytes = in.readAll();
    // A picture or a program would fill the document with junk: it is refused and
    // the document keeps its text.
    if (!workspace::isTextDocument(bytes))
        throw AppError(
            QStringLiteral("文件 %1 既不是 RTF 文档，也不是文本文件，没有打开；婉约词未作改动。")
                .arg(shown));
    workspace::RtfReader reader;
    const bool whole = reader.read(bytes);
    // The first document, whichever tab shows, replaced as one step that 撤消 takes
    // back.
    QTextDocument opened;
    opened.setDefaultFont(m_panel.documents.first()->document()->defaultFont());
    workspace::setRichDocument(&opened, reader.document());
    QTextCursor all(m_panel.documents.first()->document());
    all.beginEditBlock();
    all.select(QTextCursor::Document);
    all.removeSelectedText();
    all.insertFragment(QTextDocumentFragment(&opened));
    all.endEditBlock();
    if (!whole)
        throw AppError(QStringLiteral("文件 %1 已损坏，只读入了其中能读出的文字。").arg(shown));
}

void WorkspaceCommands::align(Qt::Alignment alignment) {
    wholeDocuments();
    a.alignLeft->setChecked(alignment == Qt::AlignLeft);
    a.alignCentre->setChecked(alignment == Qt::AlignHCenter);
    a.alignRight->setChecked(alignment == Qt::AlignRight);
    for (QTextEdit* doc : m_panel.documents) {
        QTextCursor all(doc->document());
        all.select(QTextCursor::Document);
        QTextBlockFormat format;
        format.setAlignment(alignment);
        all.mergeBlockFormat(format); // also what is typed there later
        QTextOption option = doc->document()->defaultTextOption();
        option.setAlignment(alignment);
        doc->document()->setDefaultTextOption(option);
    }
}

void WorkspaceCommands::pageSetup() {
    QPageSetupDialog dialog(&printer(), m_window);
    dialog.setObjectName(QStringLiteral("PrinterSetupDialog1"));
    m_modals.exec(dialog);
}

void WorkspaceCommands::print() {
    QPrintDialog dialog(&printer(), m_window);
    dialog.setObjectName(QStringLiteral("PrintDialog1"));
    if (m_modals.exec(dialog) != QDialog::Accepted)
        return; // nothing printed, no job opened
    QTextEdit* first = m_panel.documents.first();
    if (first->isHidden()) // lay it out as it shows when its tab is selected
        first->document()->setTextWidth(m_panel.visibleDocument()->viewport()->width());
    workspace::printLines(workspace::screenLines(*first), *first, printer());
}

void WorkspaceCommands::countWords() {
    WordCountWindow window(m_panel.documents, m_window);
    m_modals.exec(window);
}
