#include "checker/ui/check_pane.h"

#include "checker/core/checker_data.h"
#include "skin/ui/glyph_icons.h"
#include "skin/ui/skinned.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace checker;

namespace {

// The mark under a character: a full-width shape for each verdict, so that it stands
// under its character and reads without colour; the colour repeats it.
QString markHtml(const CharMark& m) {
    auto span = [](const char* colour, const QString& shape) {
        return QStringLiteral("<span style='color:%1'>%2</span>").arg(QLatin1String(colour), shape);
    };
    if (m.offRhyme)
        return span("#c00000", QStringLiteral("Ｘ"));
    switch (m.status) {
    case Status::Ok:
        return m.rhyme ? span("#006000", QStringLiteral("★"))
                       : span("#006000", QStringLiteral("・"));
    case Status::Clash:
        return span("#c00000", QStringLiteral("Ｘ"));
    case Status::Uncertain:
        return span("#a06000", QStringLiteral("？"));
    case Status::Free:
        return span("#909090", QStringLiteral("～"));
    case Status::Unchecked:
        return span("#909090", QStringLiteral("＿"));
    }
    return {};
}

// How much of a long document the pane draws and lists: far more than any poem.
constexpr qsizetype kShownMarks = 5000;
constexpr qsizetype kShownFindings = 500;

// The text line by line (as the document breaks it), each character over its mark.
QString resultHtml(const QString& text, const Result& r) {
    QString html;
    qsizetype k = 0;
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (k >= kShownMarks) {
            html += QStringLiteral("<p>……（以下从略）</p>");
            break;
        }
        const qsizetype lineStart = line.data() - text.constData();
        const qsizetype lineEnd = lineStart + line.size();
        QString chars, marks;
        for (; k < r.marks.size() && r.marks[k].offset < lineEnd; ++k) {
            if (r.marks[k].offset < lineStart)
                continue;
            chars += QString::fromUcs4(&r.marks[k].ch, 1).toHtmlEscaped();
            marks += markHtml(r.marks[k]);
        }
        if (!chars.isEmpty())
            html += QStringLiteral("<p style='margin:0 0 6px 0; font-size:13pt'>") + chars +
                    QStringLiteral("<br>") + marks + QStringLiteral("</p>");
    }
    return html;
}

} // namespace

CheckPane::CheckPane(CheckSources sources, QString dataDir, QWidget* parent)
    : QWidget(parent), m_sources(std::move(sources)), m_dataDir(std::move(dataDir)) {
    setObjectName(QStringLiteral("checkPane"));
    setStatusTip(QStringLiteral("格律检查"));
    setMinimumWidth(260);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("韵："), this));
    m_standard = new QComboBox(this);
    m_standard->setObjectName(QStringLiteral("checkStandard"));
    m_standard->addItems({QStringLiteral("自动"), QStringLiteral("词韵"), QStringLiteral("平水韵"),
                          QStringLiteral("新韵"), QStringLiteral("现代诗韵")});
    m_standard->setStatusTip(QStringLiteral("检查所依的韵：自动时词依词韵，诗依平水韵"));
    top->addWidget(m_standard, 1);
    m_poems = new QPushButton(QStringLiteral("同调作品"), this);
    m_poems->setObjectName(QStringLiteral("tunePoemsButton"));
    m_poems->setStatusTip(QStringLiteral("同调作品：数据集中此调的宋词"));
    top->addWidget(m_poems);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    top->addWidget(close);
    column->addLayout(top);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("checkSummary"));
    m_summary->setWordWrap(true);
    column->addWidget(m_summary);
    auto* split = new QSplitter(Qt::Vertical, this);
    m_view = new QTextBrowser(split);
    m_view->setObjectName(QStringLiteral("checkView"));
    m_findings = new QListWidget(split);
    m_findings->setObjectName(QStringLiteral("checkFindings"));
    m_findings->setWordWrap(true);
    m_findings->setAlternatingRowColors(true);
    m_findings->setSpacing(2);
    m_findings->setStatusTip(QStringLiteral("选一条，文中即选中该字"));
    column->addWidget(split, 1);
    column->addWidget(new QLabel(
        QStringLiteral("・合  ★韵脚  Ｘ不合或出韵  ？两读或未详  ～可平可仄  ＿未查"), this));

    m_action = new QAction(QStringLiteral("格律检查(&G)"), this);
    m_action->setObjectName(QStringLiteral("checkAction"));
    m_action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    m_action->setStatusTip(QStringLiteral("格律检查：按所示词谱检查当前文档的平仄与用韵"));
    connect(m_action, &QAction::triggered, this, &CheckPane::checkNow);

    m_debounce = new QTimer(this);
    m_debounce->setObjectName(QStringLiteral("checkDebounce"));
    m_debounce->setSingleShot(true);
    m_debounce->setInterval(300);
    connect(m_debounce, &QTimer::timeout, this, [this] {
        if (isVisible())
            checkNow();
    });
    connect(m_standard, &QComboBox::currentIndexChanged, this, [this] {
        if (isVisible())
            checkNow();
    });
    // Another document, pattern or favourite on show: check again while the pane is open.
    for (QObject* o : m_sources.watched) {
        for (const char* sig : {SIGNAL(textChanged()), SIGNAL(tabChanged(int))}) {
            if (o->metaObject()->indexOfSignal(QMetaObject::normalizedSignature(sig + 1)) >= 0)
                connect(o, sig, m_debounce, SLOT(start()));
        }
    }
    connect(m_findings, &QListWidget::itemClicked, this, &CheckPane::openFinding);
    connect(m_findings, &QListWidget::itemActivated, this, &CheckPane::openFinding);
    connect(m_poems, &QPushButton::clicked, this, &CheckPane::openTunePoems);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
}

void CheckPane::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    m_debounce->start();
}

void CheckPane::follow(QTextEdit* doc) {
    if (doc == m_followed)
        return;
    // The editor's signal, not its document's: loading a file gives the editor a new
    // document.
    if (m_followed)
        disconnect(m_followed, nullptr, m_debounce, nullptr);
    m_followed = doc;
    if (doc)
        connect(doc, &QTextEdit::textChanged, m_debounce, qOverload<>(&QTimer::start));
}

void CheckPane::checkNow() {
    show();
    QTextEdit* doc = m_sources.document();
    follow(doc);
    const QString text = doc ? doc->toPlainText() : QString();
    const QString name = m_sources.patternName();
    const QString tpl = m_sources.templateText();
    auto named = namedPattern(name);
    if (!named || named->templateText != tpl)
        named = NamedPattern{{}, tpl, {}, Pattern::parse(tpl).verseShape()};
    m_poems->setEnabled(tuneOnShow().has_value());
    const auto chosen = standardNamed(m_standard->currentText());
    const Standard standard = chosen.value_or(defaultStandard(*named));
    const CheckerData& store = checkerData(m_dataDir);
    const Result r = checkerOf(store).check({named->templateText, text, standard, named->key});

    QString summary = (named->name.isEmpty() ? QStringLiteral("自定词谱") : named->name) +
                      QStringLiteral("，依") + standardName(standard);
    if (!r.form.isEmpty())
        summary += QStringLiteral("，按") + r.form;
    summary += r.keeps() ? QStringLiteral("：合律") : QStringLiteral("：不合律");
    for (const RhymeReport& rr : r.rhymes)
        summary += QStringLiteral("\n韵：") + rr.group + QStringLiteral("  ") + rr.chars +
                   (rr.outside.isEmpty() ? QString() : QStringLiteral("  出韵：") + rr.outside);
    m_summary->setText(summary);
    m_view->setHtml(resultHtml(text, r));
    m_findings->clear();
    for (const Finding& f : r.findings) {
        if (m_findings->count() == kShownFindings) {
            m_findings->addItem(
                QStringLiteral("……（另有%1条从略）").arg(r.findings.size() - kShownFindings));
            break;
        }
        QString line = f.message;
        if (!f.precedent.isEmpty())
            line += u'\n' + f.precedent;
        if (!f.examples.isEmpty())
            line += QStringLiteral("\n如") + f.examples.join(QStringLiteral("、"));
        auto* item = new QListWidgetItem(line, m_findings);
        if (f.kind == Finding::Clash || f.kind == Finding::OffRhyme || f.kind == Finding::Length ||
            f.kind == Finding::Verse)
            item->setForeground(QColor(0xa0, 0x00, 0x00));
        else if (f.kind == Finding::Uncertain)
            item->setForeground(QColor(0x80, 0x50, 0x00));
        item->setData(Qt::UserRole, f.offset);
        item->setData(Qt::UserRole + 1, f.length);
    }
    m_debounce->stop(); // the check that showing the pane asked for is done
}

void CheckPane::openFinding(QListWidgetItem* item) {
    const int offset = item->data(Qt::UserRole).toInt();
    if (!m_followed || offset < 0)
        return;
    QTextCursor c(m_followed->document());
    c.setPosition(offset);
    c.setPosition(offset + std::max(1, item->data(Qt::UserRole + 1).toInt()),
                  QTextCursor::KeepAnchor);
    m_followed->setTextCursor(c); // a selection only: the text stays as it is
    m_followed->setFocus();
}

std::optional<NamedPattern> CheckPane::tuneOnShow() const {
    auto named = namedPattern(m_sources.patternName());
    if (!named || named->verse || named->key.isEmpty() ||
        named->templateText != m_sources.templateText())
        return std::nullopt;
    return named;
}

void CheckPane::openTunePoems() {
    const auto tune = tuneOnShow();
    if (!tune)
        return;
    const QList<TunePoem> poems = checkerData(m_dataDir).poems().poems(tune->key);
    // A read-only reading window, a new one each time, as the anthologies open.
    auto* w = new QDialog(window());
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setObjectName(QStringLiteral("tunePoemsWindow"));
    w->setWindowTitle(QStringLiteral("同调作品：") + tune->name +
                      QStringLiteral("（%1首）").arg(poems.size()));
    w->resize(640, 480);
    auto* row = new QHBoxLayout(w);
    auto* list = new QListWidget(w);
    list->setObjectName(QStringLiteral("tunePoemsList"));
    auto* text = new QPlainTextEdit(w);
    text->setObjectName(QStringLiteral("tunePoemText"));
    text->setReadOnly(true);
    row->addWidget(list, 2);
    row->addWidget(text, 3);
    for (const TunePoem& p : poems)
        list->addItem(p.poet + QStringLiteral("  ") + p.firstLine());
    connect(list, &QListWidget::currentRowChanged, text, [text, poems](int i) {
        if (i >= 0 && i < poems.size())
            text->setPlainText(poems[i].title + QStringLiteral("  ") + poems[i].poet +
                               QStringLiteral("\n\n") + poems[i].paragraphs.join(u'\n'));
    });
    if (!poems.isEmpty())
        list->setCurrentRow(0);
    w->show();
}

CheckPane* installCheckPane(CheckSources sources, const QString& dataDir, QLayout* row,
                            QMenu* editMenu, QToolBar* toolBar, QWidget* patternStrip) {
    auto* pane = new CheckPane(std::move(sources), dataDir);
    if (patternStrip) {
        // 同调作品 in the pattern panel's caption strip, before the view buttons.
        auto* b = new QToolButton(patternStrip);
        b->setObjectName(QStringLiteral("tunePoemsStripButton"));
        b->setText(QStringLiteral("同调作品"));
        b->setFont(skin::songFont(12));
        b->setFixedHeight(17);
        b->setAutoRaise(true);
        b->setCursor(Qt::PointingHandCursor);
        b->setStatusTip(QStringLiteral("同调作品：数据集中此调的宋词"));
        auto* strip = qobject_cast<QBoxLayout*>(patternStrip->layout());
        QWidget* first = patternStrip->findChild<QWidget*>(QStringLiteral("s10"));
        if (strip)
            strip->insertWidget(first ? strip->indexOf(first) : strip->count(), b);
        QObject::connect(b, &QToolButton::clicked, pane, &CheckPane::openTunePoems);
    }
    row->addWidget(pane);
    pane->hide();
    if (editMenu) {
        editMenu->addSeparator();
        editMenu->addAction(pane->action());
    }
    if (toolBar) {
        // After the last button, before the stretch that pushes the search box right.
        auto* b = new QToolButton(toolBar);
        b->setObjectName(QStringLiteral("checkButton"));
        b->setDefaultAction(pane->action());
        // The tool-bar picture, in the look of the other buttons.
        b->setIcon(skin::glyphs::icon("律"));
        b->setIconSize(QSize(32, 32));
        b->setFixedSize(48, 42);
        b->setAutoRaise(true);
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        b->setToolTip(QStringLiteral("格律检查 (Ctrl+G)"));
        QAction* before = nullptr;
        for (QAction* a : toolBar->actions()) {
            QWidget* w = toolBar->widgetForAction(a);
            if (w && w->sizePolicy().horizontalPolicy() == QSizePolicy::Expanding) {
                before = a;
                break;
            }
        }
        toolBar->insertWidget(before, b);
    }
    return pane;
}
