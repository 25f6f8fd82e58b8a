#include "checker/ui/check_pane.h"

#include "checker/core/checker_data.h"
#include "checker/core/poem_split.h"
#include "checker/ui/marked_poem_view.h"
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
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <atomic>

using namespace checker;

// The pane's checks, one at a time on a thread of their own, by a checker that lives there
// (it keeps the templates it has read): the window's thread never waits for one. The data
// it reads is shared with the window (see checkerData).
class CheckThread {
  public:
    explicit CheckThread(QString dataDir) : m_dataDir(std::move(dataDir)) {
        m_thread.setObjectName(QStringLiteral("checkThread"));
        m_context.moveToThread(&m_thread);
        m_thread.start();
    }
    ~CheckThread() {
        m_thread.quit();
        m_thread.wait(); // for the check under way, if any
    }
    CheckThread(const CheckThread&) = delete;
    CheckThread& operator=(const CheckThread&) = delete;

    // Checks there; `done` has the result on `receiver`'s thread, unless `receiver` is gone.
    // A check asked for before the last one and not yet begun is dropped.
    void check(Request request, QObject* receiver, std::function<void(const Result&)> done) {
        const quint64 n = ++m_asked;
        QMetaObject::invokeMethod(
            &m_context,
            [this, n, request = std::move(request), receiver, done = std::move(done)] {
                if (n != m_asked.load())
                    return;     // a later one waits behind it
                if (!m_checker) // the data is loaded here too, the first time
                    m_checker.emplace(checkerOf(checkerData(m_dataDir)));
                QMetaObject::invokeMethod(receiver,
                                          [done, r = m_checker->check(request)] { done(r); });
            },
            Qt::QueuedConnection);
    }

  private:
    QString m_dataDir;
    QThread m_thread;
    QObject m_context;                // lives on m_thread: what runs there is posted to it
    std::optional<Checker> m_checker; // made and used on m_thread only
    std::atomic<quint64> m_asked = 0;
};

namespace {

// Far more findings than any poem has: a poem of thousands of characters lists no more.
constexpr qsizetype kShownFindings = 500;

// The shape before a finding, the same as under its character: the list reads without
// its colours.
QString findingShape(const Finding& f) {
    if (f.lenient)
        return QStringLiteral("△");
    switch (f.kind) {
    case Finding::Clash:
    case Finding::OffRhyme:
    case Finding::Length:
    case Finding::Verse:
        return QStringLiteral("Ｘ");
    case Finding::Uncertain:
        return QStringLiteral("？");
    case Finding::Form:
    case Finding::Note:
        break;
    }
    return QStringLiteral("※");
}

// A string's characters one by one, set apart: "细 际 里 意".
QString spaced(const QString& chars) {
    QStringList out;
    for (char32_t c : chars.toUcs4())
        out.append(QString::fromUcs4(&c, 1));
    return out.join(u' ');
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
    column->addWidget(buildFormRow());
    m_rhymes = new QLabel(this);
    m_rhymes->setObjectName(QStringLiteral("checkRhymes"));
    m_rhymes->setWordWrap(true);
    m_rhymes->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(m_rhymes);
    auto* split = new QSplitter(Qt::Vertical, this);
    m_view = new MarkedPoemView(split);
    m_view->setObjectName(QStringLiteral("checkView"));
    m_view->setStatusTip(QStringLiteral("点一字，文中即选中该字；停在字上可见其检查结果"));
    m_findings = new QListWidget(split);
    m_findings->setObjectName(QStringLiteral("checkFindings"));
    m_findings->setWordWrap(true);
    m_findings->setAlternatingRowColors(true);
    m_findings->setSpacing(2);
    m_findings->setStatusTip(QStringLiteral("选一条，文中即选中该字"));
    column->addWidget(split, 1);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    auto* legend = new QLabel(markLegend(), this);
    legend->setObjectName(QStringLiteral("checkLegend"));
    legend->setWordWrap(true);
    column->addWidget(legend);

    m_action = new QAction(QStringLiteral("格律检查(&G)"), this);
    m_action->setObjectName(QStringLiteral("checkAction"));
    m_action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    m_action->setStatusTip(
        QStringLiteral("格律检查：按所示词谱检查当前文档中光标所在一首的平仄与用韵"));
    connect(m_action, &QAction::triggered, this, &CheckPane::checkNow);

    // From a change to the check it asks for, once the typing pauses: a check that comes
    // back while it runs is of a text or cursor since changed, and is not shown.
    m_debounce = new QTimer(this);
    m_debounce->setObjectName(QStringLiteral("checkDebounce"));
    m_debounce->setSingleShot(true);
    m_debounce->setInterval(300);
    connect(m_debounce, &QTimer::timeout, this, [this] {
        if (isVisible())
            check(false);
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
    connect(m_view, &MarkedPoemView::characterChosen, this, [this](int offset, int length) {
        for (int i = 0; i < m_findings->count(); ++i) {
            if (m_findings->item(i)->data(Qt::UserRole).toInt() == offset) {
                m_findings->setCurrentRow(i);
                m_findings->scrollToItem(m_findings->item(i));
                break;
            }
        }
        select(offset, length);
    });
    connect(m_poems, &QPushButton::clicked, this, &CheckPane::openTunePoems);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
}

CheckPane::~CheckPane() = default;

void CheckPane::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    m_debounce->start();
}

QWidget* CheckPane::buildFormRow() {
    m_formRow = new QWidget(this);
    m_formRow->setObjectName(QStringLiteral("checkFormRow"));
    auto* row = new QHBoxLayout(m_formRow);
    row->setContentsMargins(0, 0, 0, 0);
    m_formLabel = new QLabel(m_formRow);
    m_formLabel->setObjectName(QStringLiteral("checkFormLabel"));
    m_formLabel->setWordWrap(true);
    row->addWidget(m_formLabel, 1);
    m_form = new QComboBox(m_formRow);
    m_form->setObjectName(QStringLiteral("checkForm"));
    m_form->setStatusTip(QStringLiteral("按哪一体检查"));
    row->addWidget(m_form, 1);
    m_formRow->hide();
    connect(m_form, &QComboBox::activated, this, [this](int index) {
        m_formChoice = index;
        m_formChoiceFor = m_checked.templateText;
        check(true);
    });
    return m_formRow;
}

void CheckPane::showForms(const QStringList& forms, const QString& chosen) {
    const bool choice = forms.size() > 1;
    m_formLabel->setText(choice ? QStringLiteral("体：") : QStringLiteral("按") + chosen);
    m_form->setVisible(choice);
    if (choice) {
        const QSignalBlocker quiet(m_form);
        m_form->clear();
        m_form->addItems(forms);
        m_form->setCurrentText(chosen);
    }
    m_formRow->setVisible(choice || !chosen.isEmpty());
}

void CheckPane::follow(QTextEdit* doc) {
    if (doc == m_followed)
        return;
    // The editor's signals, not its document's: loading a file gives the editor a new
    // document.
    if (m_followed)
        disconnect(m_followed, nullptr, m_debounce, nullptr);
    m_followed = doc;
    if (doc) {
        connect(doc, &QTextEdit::textChanged, m_debounce, qOverload<>(&QTimer::start));
        // Into another poem: that one is checked once the cursor rests.
        connect(doc, &QTextEdit::cursorPositionChanged, m_debounce, qOverload<>(&QTimer::start));
    }
}

void CheckPane::checkNow() {
    show();
    check(true);
}

void CheckPane::check(bool always) {
    m_debounce->stop(); // the check a change asked for is this one
    QTextEdit* doc = m_sources.document();
    follow(doc);
    const QString text = doc ? doc->toPlainText() : QString();
    const QString name = m_sources.patternName();
    const QString tpl = m_sources.templateText();
    auto named = namedPattern(name);
    if (!named || named->templateText != tpl)
        named = NamedPattern{{}, tpl, {}, Pattern::parse(tpl).verseShape()};
    const auto chosen = standardNamed(m_standard->currentText());
    const Standard standard = chosen.value_or(defaultStandard(*named));

    // Only the poem the cursor is in: a document often holds several.
    const QList<PoemSpan> poems =
        splitPoems(text, splitOptions(named->verse ? QString() : named->name, tpl));
    const int at = poemAt(poems, doc ? doc->textCursor().position() : 0);
    const PoemSpan poem = at >= 0 ? poems[at] : PoemSpan{};
    const Checked next{.doc = doc,
                       .base = poem.bodyStart,
                       .poem = text.sliced(poem.bodyStart, poem.bodyLength()),
                       .heading = poem.heading,
                       .poemCount = poems.size(),
                       .templateText = tpl,
                       .patternKey = named->key,
                       .standard = standard};
    if (!always && next == m_checked)
        return; // the cursor moved within the poem last checked, and nothing else did
    m_checked = next;

    m_poems->setEnabled(tuneOnShow().has_value());
    if (m_formChoiceFor != tpl)
        m_formChoice = -1; // another pattern: the form the poem fits best again
    QString summary;
    if (poems.size() > 1)
        summary = QStringLiteral("检查光标所在的第%1首（共%2首）").arg(at + 1).arg(poems.size());
    if (!poem.heading.isEmpty())
        summary += (summary.isEmpty() ? QString() : QStringLiteral("，")) +
                   QStringLiteral("标题「%1」不计").arg(poem.heading);
    if (!summary.isEmpty())
        summary += u'\n';
    summary += (named->name.isEmpty() ? QStringLiteral("自定词谱") : named->name) +
               QStringLiteral("，依") + standardName(standard);

    if (!m_checks)
        m_checks = std::make_unique<CheckThread>(m_dataDir);
    const quint64 asked = ++m_asked;
    m_checks->check({.templateText = named->templateText,
                     .text = m_checked.poem,
                     .standard = standard,
                     .patternKey = named->key,
                     .form = m_formChoice},
                    this,
                    [this, asked, summary](const Result& r) { showResult(asked, summary, r); });
}

void CheckPane::showResult(quint64 asked, const QString& summary, const Result& r) {
    if (asked != m_asked)
        return; // a later check is under way
    if (m_debounce->isActive()) {
        // The text or the cursor changed since: the check that is due runs even if it
        // reads the same as this one, which is not on show.
        m_checked = {};
        return;
    }
    m_summary->setText(summary +
                       (r.keeps() ? QStringLiteral("：合律") : QStringLiteral("：不合律")));
    showForms(r.forms.isEmpty() ? (r.form.isEmpty() ? QStringList() : QStringList{r.form})
                                : r.forms,
              r.form);
    QStringList rhymes;
    for (const RhymeReport& rr : r.rhymes)
        rhymes.append(
            QStringLiteral("韵（%1）：").arg(rr.group) + spaced(rr.chars) +
            (rr.outside.isEmpty() ? QString() : QStringLiteral("　Ｘ出韵：") + spaced(rr.outside)));
    m_rhymes->setText(rhymes.join(u'\n'));
    m_rhymes->setVisible(!rhymes.isEmpty());
    m_view->setPoem(m_checked.poem, m_checked.base, r);
    showFindings(r, m_checked.base);
    emit checked();
}

void CheckPane::showFindings(const Result& r, int base) {
    m_findings->clear();
    for (const Finding& f : r.findings) {
        if (m_findings->count() == kShownFindings) {
            m_findings->addItem(
                QStringLiteral("……（另有%1条从略）").arg(r.findings.size() - kShownFindings));
            break;
        }
        QString line = findingShape(f) + u' ' + f.message;
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
        // Where it is in the document, not in the poem.
        item->setData(Qt::UserRole, f.offset < 0 ? -1 : base + f.offset);
        item->setData(Qt::UserRole + 1, f.length);
    }
}

void CheckPane::openFinding(QListWidgetItem* item) {
    const int offset = item->data(Qt::UserRole).toInt();
    if (offset < 0)
        return;
    m_view->setCurrent(offset);
    select(offset, item->data(Qt::UserRole + 1).toInt());
}

void CheckPane::select(int offset, int length) {
    if (!m_followed)
        return;
    const bool due = m_debounce->isActive();
    QTextCursor c(m_followed->document());
    c.setPosition(offset);
    c.setPosition(offset + std::max(1, length), QTextCursor::KeepAnchor);
    m_followed->setTextCursor(c); // a selection only: the text stays as it is
    m_followed->setFocus();
    if (!due)
        m_debounce->stop(); // still in the poem on show: nothing to check again
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
