#include "search/ui/search_window.h"

#include "skin/ui/skinned.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QUrl>

using namespace search;

namespace {

constexpr int kShownHits = 500;

QLineEdit* field(const QString& name, const QString& hint, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setPlaceholderText(hint);
    edit->setClearButtonEnabled(true);
    return edit;
}

QComboBox* choice(const QString& name, const QStringList& items, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(items);
    return box;
}

QString heading(const Poem& p) {
    const QString title = p.title.isEmpty() ? p.tune : p.title;
    const QString who = p.poet.isEmpty() ? collectionName(p.collection) : p.poet;
    return QStringLiteral("%1《%2》（%3）").arg(who, title, dynastyName(p.dynasty));
}

} // namespace

TSearchForm::TSearchForm(IndexSource index, QWidget* parent)
    : QWidget(parent, Qt::Window), m_index(std::move(index)) {
    setObjectName(QStringLiteral("TSearchForm"));
    // The kit's frame in the style of the window it was opened from, following it.
    auto* frame = new TskForm(QStringLiteral("skForm1"), this);
    frame->setFramed(true);
    frame->setCaption(QStringLiteral("诗词检索"));
    const QWidget* owner = parent ? parent->window() : nullptr;
    if (auto* ownerFrame = owner ? owner->findChild<TskForm*>(QStringLiteral("skForm1"),
                                                              Qt::FindDirectChildrenOnly)
                                 : nullptr) {
        auto follow = [frame, ownerFrame] {
            frame->setFileTheme(ownerFrame->fileTheme());
            frame->setUIStyle(ownerFrame->uiStyle());
        };
        follow();
        connect(ownerFrame, &TskForm::styleApplied, frame, follow);
    }
    resize(900, 600);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(4);

    auto* queryPanel = new TskPanel(QStringLiteral("skPanel1"), this, QStringLiteral("字句与范围"));
    auto* rows = new QGridLayout;
    queryEdit = field(QStringLiteral("queryEdit"),
                      QStringLiteral("要查的字句，一至二十字；几个字句用空格分开，须同见于一首"),
                      queryPanel);
    queryEdit->setFont(skin::songFont(16));
    searchButton = new QPushButton(QStringLiteral("检索"), queryPanel);
    searchButton->setObjectName(QStringLiteral("searchButton"));
    searchButton->setDefault(true);
    QStringList dynasties{QStringLiteral("各朝")};
    for (int d = 0; d < kDynastyCount; ++d)
        dynasties << dynastyName(Dynasty(d));
    dynastyBox = choice(QStringLiteral("dynastyBox"), dynasties, queryPanel);
    QStringList forms{QStringLiteral("各体")};
    for (int f = 0; f < kFormCount; ++f)
        forms << formName(Form(f));
    formBox = choice(QStringLiteral("formBox"), forms, queryPanel);
    placeBox = choice(
        QStringLiteral("placeBox"),
        {QStringLiteral("句中任意处"), QStringLiteral("句首"), QStringLiteral("句尾（韵脚）")},
        queryPanel);
    poetEdit = field(QStringLiteral("poetEdit"), QStringLiteral("作者"), queryPanel);
    tuneEdit = field(QStringLiteral("tuneEdit"), QStringLiteral("词牌"), queryPanel);
    titleEdit = field(QStringLiteral("titleEdit"), QStringLiteral("题目中的字"), queryPanel);
    rows->addWidget(queryEdit, 0, 0, 1, 5);
    rows->addWidget(searchButton, 0, 5);
    rows->addWidget(dynastyBox, 1, 0);
    rows->addWidget(formBox, 1, 1);
    rows->addWidget(placeBox, 1, 2);
    rows->addWidget(poetEdit, 1, 3);
    rows->addWidget(tuneEdit, 1, 4);
    rows->addWidget(titleEdit, 1, 5);
    queryPanel->body()->addLayout(rows);
    column->addWidget(queryPanel);

    statusLabel = new QLabel(this);
    statusLabel->setObjectName(QStringLiteral("statusLabel"));
    statusLabel->setWordWrap(true);
    column->addWidget(statusLabel);

    auto* split = new QSplitter(Qt::Horizontal, this);
    auto* hitsPanel = new TskPanel(QStringLiteral("skPanel2"), split, QStringLiteral("用例"));
    hitList = new QTextBrowser(hitsPanel);
    hitList->setObjectName(QStringLiteral("hitList"));
    hitList->setOpenLinks(false);
    hitList->setFont(skin::songFont(14));
    hitList->setFrameShape(QFrame::NoFrame);
    hitsPanel->body()->addWidget(hitList);

    auto* poemPanel = new TskPanel(QStringLiteral("skPanel3"), split, QStringLiteral("全文"));
    poemText = skin::makeMemo(QStringLiteral("poemText"), poemPanel, true);
    poemText->setFont(skin::songFont(14));
    poemPanel->body()->addWidget(poemText);

    auto* countsPanel =
        new TskPanel(QStringLiteral("skPanel4"), split, QStringLiteral("各家用例数"));
    poetCounts = skin::makeListBox(QStringLiteral("poetCounts"), countsPanel);
    tuneCounts = skin::makeListBox(QStringLiteral("tuneCounts"), countsPanel);
    // A long name is shortened in its middle, keeping its count in sight, rather than
    // the narrow column scrolling sideways.
    for (QListWidget* list : {poetCounts, tuneCounts}) {
        list->setTextElideMode(Qt::ElideMiddle);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    countsPanel->body()->addWidget(new QLabel(QStringLiteral("作者"), countsPanel));
    countsPanel->body()->addWidget(poetCounts, 2);
    countsPanel->body()->addWidget(new QLabel(QStringLiteral("词牌"), countsPanel));
    countsPanel->body()->addWidget(tuneCounts, 1);
    split->setStretchFactor(0, 5);
    split->setStretchFactor(1, 4);
    split->setStretchFactor(2, 2);
    split->setSizes({420, 300, 160});
    column->addWidget(split, 1);

    connect(searchButton, &QPushButton::clicked, this, &TSearchForm::runSearch);
    for (QLineEdit* edit : {queryEdit, poetEdit, tuneEdit, titleEdit})
        connect(edit, &QLineEdit::returnPressed, this, &TSearchForm::runSearch);
    connect(hitList, &QTextBrowser::anchorClicked, this,
            [this](const QUrl& url) { showHit(url.fragment().toInt()); });
    // A name in the counts narrows the search to it.
    connect(poetCounts, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        poetEdit->setText(item->data(Qt::UserRole).toString());
        runSearch();
    });
    connect(tuneCounts, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        tuneEdit->setText(item->data(Qt::UserRole).toString());
        runSearch();
    });
}

void TSearchForm::searchFor(const QString& phrase) {
    queryEdit->setText(phrase.simplified());
    if (!phrase.trimmed().isEmpty())
        runSearch();
}

void TSearchForm::runSearch() {
    m_hits.clear();
    hitList->clear();
    poemText->clear();
    poetCounts->clear();
    tuneCounts->clear();
    skin::setRole(statusLabel, skin::Role::None);

    Query q;
    q.phrases =
        queryEdit->text().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    QString error;
    m_phrases = searchablePhrases(q.phrases, &error);
    const Index* index = m_phrases.isEmpty() ? nullptr : m_index(&error);
    if (!index) {
        showProblem(error);
        return;
    }
    if (dynastyBox->currentIndex() > 0)
        q.dynasty = Dynasty(dynastyBox->currentIndex() - 1);
    if (formBox->currentIndex() > 0)
        q.form = Form(formBox->currentIndex() - 1);
    q.place = Place(placeBox->currentIndex());
    q.poet = poetEdit->text();
    q.tune = tuneEdit->text();
    q.title = titleEdit->text();
    q.limit = kShownHits;
    const Result r = index->search(q);
    if (!r.error.isEmpty()) {
        showProblem(r.error);
        return;
    }
    const QString quoted =
        QStringLiteral("「") + m_phrases.join(QStringLiteral("」「")) + QStringLiteral("」");
    if (!r.total) {
        statusLabel->setText(quoted + QStringLiteral("：没有找到用例。"));
        hitList->setPlainText(QStringLiteral("没有找到用例。"));
        return;
    }
    statusLabel->setText(QStringLiteral("%1：%2 处，见于 %3 首%4")
                             .arg(quoted)
                             .arg(r.total)
                             .arg(r.poems)
                             .arg(r.total > qint64(r.hits.size())
                                      ? QStringLiteral("（列出最有名的 %1 处）").arg(r.hits.size())
                                      : QString()));
    m_hits = r.hits;
    QString html;
    for (size_t i = 0; i < m_hits.size(); ++i) {
        const Poem p = index->poem(m_hits[i].poem);
        const HitLine line = index->hitLine(m_hits[i], m_phrases);
        QString marked;
        int at = 0;
        for (const auto& [start, length] : line.marks) {
            marked += line.text.mid(at, start - at).toHtmlEscaped() +
                      QStringLiteral("<b style=\"color:#c00000\">") +
                      line.text.mid(start, length).toHtmlEscaped() + QStringLiteral("</b>");
            at = start + length;
        }
        marked += line.text.mid(at).toHtmlEscaped();
        html += QStringLiteral("<p style=\"margin:2px\"><a href=\"#%1\">%2</a>　%3</p>")
                    .arg(i)
                    .arg(heading(p).toHtmlEscaped(), marked);
    }
    // A part of the file first read for these lines may be damaged.
    if (const QString damage = index->damage(); !damage.isEmpty()) {
        m_hits.clear();
        showProblem(damage);
        return;
    }
    hitList->setHtml(html);
    fillCounts(poetCounts, r.poets, r.total);
    fillCounts(tuneCounts, r.tunes, r.total);
    showHit(0);
}

void TSearchForm::showProblem(const QString& problem) {
    skin::setRole(statusLabel, skin::Role::Notice);
    statusLabel->setText(problem);
}

void TSearchForm::fillCounts(QListWidget* list, const QList<NameCount>& counts, qint64) {
    for (const NameCount& c : counts) {
        auto* item = new QListWidgetItem(QStringLiteral("%1　%2").arg(c.name).arg(c.count), list);
        item->setData(Qt::UserRole, c.name);
    }
}

void TSearchForm::showHit(int row) {
    QString error;
    const Index* index = m_index(&error);
    if (!index || row < 0 || size_t(row) >= m_hits.size())
        return;
    const Poem p = index->poem(m_hits[size_t(row)].poem);
    if (const QString damage = index->damage(); !damage.isEmpty()) {
        poemText->clear();
        showProblem(damage);
        return;
    }
    QStringList about{dynastyName(p.dynasty), formName(p.form), collectionName(p.collection)};
    if (p.anthologies & TangShi300)
        about << QStringLiteral("唐诗三百首");
    if (p.anthologies & QianJiaShi)
        about << QStringLiteral("千家诗");
    if (p.anthologies & SongCi300)
        about << QStringLiteral("宋词三百首");
    if (p.anthologies & ModelPoem)
        about << QStringLiteral("词谱例词");
    poemText->setPlainText(heading(p) + u'\n' + about.join(QStringLiteral(" · ")) +
                           QStringLiteral("\n\n") + p.text);
}
