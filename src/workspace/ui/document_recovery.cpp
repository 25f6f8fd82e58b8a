#include "workspace/ui/document_recovery.h"

#include "base/core/app_error.h"
#include "base/core/clock.h"
#include "base/core/data_root.h"
#include "base/ui/modals.h"
#include "skin/ui/skinned.h"
#include "workspace/core/recovery_file.h"
#include "workspace/core/rtfreader.h"
#include "workspace/core/rtfwriter.h"
#include "workspace/ui/document_loader.h"
#include "workspace/ui/richtextdocument.h"
#include "workspace/ui/workspace_panel.h"

#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTextDocument>
#include <QTextEdit>

DocumentRecovery::DocumentRecovery(WorkspacePanel& panel, const DataRoot& root, Clock& clock,
                                   ModalRunner& modals, QWidget* window)
    : QObject(window), m_panel(panel), m_root(root), m_clock(clock), m_modals(modals),
      m_window(window) {
    // The editor's signal, not its document's: loading a file gives the editor a new
    // document.
    for (QTextEdit* doc : m_panel.documents)
        connect(doc, &QTextEdit::textChanged, this, &DocumentRecovery::typed);
}

void DocumentRecovery::offer(DocumentLoader& loader) {
    const bool found = m_root.exists(path());
    if (found)
        loader.finish(); // what is offered back goes over the whole documents
    m_watching = true;
    if (!found)
        return;
    std::optional<std::vector<workspace::RecoveredDocument>> kept;
    QByteArray bytes;
    try {
        bytes = m_root.readBytes(path());
        kept = workspace::decodeRecovery(bytes);
    } catch (const AppError&) {
        return; // left where it is; nothing here may stop the start-up
    }
    if (!kept) {
        // Damaged: what it holds may still be someone's only copy, so it is kept aside
        // like any damaged file before the recovery file goes.
        QString aside;
        try {
            aside = m_root.keepOriginal(path(), bytes);
        } catch (const AppError&) {
            return; // left where it is
        }
        removeFile();
        m_modals.showError(
            m_window, QStringLiteral("上次运行留下的恢复文件 %1 已损坏，无法从中恢复未存盘的文字；"
                                     "原文件另存为 %2。")
                          .arg(path(), aside));
        return;
    }
    if (kept->empty()) {
        removeFile();
        return;
    }
    QStringList names;
    for (const workspace::RecoveredDocument& d : *kept)
        names << m_panel.documentTabs->tabBar()->tabText(d.number - 1);

    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kApplicationTitle),
                    QStringLiteral("上次运行没有正常结束。以下文档中有当时未存盘的文字：\n%1\n\n"
                                   "要恢复这些文字吗？恢复后，文档显示的是上次最后输入时的内容。")
                        .arg(names.join(QStringLiteral("、"))),
                    QMessageBox::NoButton, m_window);
    box.setObjectName(QStringLiteral("RecoveryQuestion"));
    QPushButton* restore = box.addButton(QStringLiteral("恢复"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("不恢复"), QMessageBox::RejectRole);
    box.setDefaultButton(restore);
    m_modals.exec(box);
    if (box.clickedButton() != restore) {
        removeFile();
        return;
    }
    for (const workspace::RecoveredDocument& d : *kept) {
        workspace::RtfReader reader;
        reader.read(QByteArrayView(d.rtf));
        QTextDocument* doc = m_panel.documents[d.number - 1]->document();
        workspace::setRichDocument(doc, reader.document());
        doc->clearUndoRedoStacks();
        doc->setModified(true); // not stored yet: kept again, and stored at shutdown
    }
}

void DocumentRecovery::discard() {
    m_watching = false;
    if (m_timer)
        m_timer->stop();
    removeFile();
}

void DocumentRecovery::typed() {
    if (!m_watching)
        return; // loading is not typing
    if (m_timer) {
        m_timer->stop();
        m_timer->deleteLater();
    }
    m_timer = m_clock.startTimer(kPauseMs, false, this, [this] { keep(); });
}

void DocumentRecovery::keep() {
    if (!m_watching)
        return;
    std::vector<workspace::RecoveredDocument> changed;
    for (int n = 1; n <= m_panel.documents.size(); ++n) {
        const QTextDocument& doc = *m_panel.documents[n - 1]->document();
        if (doc.isModified())
            changed.push_back({n, workspace::RtfWriter::toRtf(workspace::richDocument(doc))});
    }
    if (changed.empty()) {
        removeFile();
        return;
    }
    try {
        m_root.writeBytes(path(), workspace::encodeRecovery(changed));
    } catch (const AppError&) {
        // Insurance only: a folder that cannot be written shows at shutdown.
    }
}

void DocumentRecovery::removeFile() {
    const QString file = m_root.findFile(path());
    if (!file.isEmpty())
        QFile::remove(file);
}
