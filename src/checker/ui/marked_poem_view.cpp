#include "checker/ui/marked_poem_view.h"

#include <QEvent>
#include <QHash>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

using namespace checker;

namespace {

// Every shape the view draws, in the order the key lists them.
struct Shape {
    const char16_t* symbol;
    QColor colour;
    const char16_t* meaning;
    bool alarm; // the character is drawn in the mark's colour too
};
const Shape kRhyme{u"★", QColor(0x00, 0x60, 0x00), u"韵脚", false};
const Shape kOk{u"・", QColor(0x00, 0x60, 0x00), u"合", false};
const Shape kWrong{u"Ｘ", QColor(0xc0, 0x00, 0x00), u"不合", true};
const Shape kOffRhyme{u"Ｘ", QColor(0xc0, 0x00, 0x00), u"出韵", true};
const Shape kLenient{u"△", QColor(0x80, 0x50, 0x90), u"宽（前人多有此用）", false};
const Shape kUnsure{u"？", QColor(0xa0, 0x60, 0x00), u"请自审", true};
const Shape kFree{u"～", QColor(0x90, 0x90, 0x90), u"可平可仄", false};
const Shape kUnchecked{u"＿", QColor(0x90, 0x90, 0x90), u"未查", false};

MarkLook lookOf(const Shape& s) {
    return {QString::fromUtf16(s.symbol), s.colour, QString::fromUtf16(s.meaning), s.alarm};
}

// Shown far beyond any poem; a text without blank lines could otherwise be megabytes.
constexpr int kShownCells = 5000;
constexpr int kMargin = 6;
constexpr int kRowGap = 3;   // between the rows of one wrapped line
constexpr int kLineGap = 10; // between lines

bool isLineBreak(QChar c) {
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

} // namespace

const MarkLook& markLook(const CharMark& m) {
    // Made once: every cell of the view refers to one of them.
    static const MarkLook rhyme = lookOf(kRhyme), ok = lookOf(kOk), wrong = lookOf(kWrong),
                          offRhyme = lookOf(kOffRhyme), lenient = lookOf(kLenient),
                          unsure = lookOf(kUnsure), free = lookOf(kFree),
                          unchecked = lookOf(kUnchecked);
    if (m.lenient)
        return lenient;
    if (m.offRhyme)
        return offRhyme;
    switch (m.status) {
    case Status::Ok:
        return m.rhyme ? rhyme : ok;
    case Status::Clash:
        return wrong;
    case Status::Uncertain:
        return unsure;
    case Status::Free:
        return free;
    case Status::Unchecked:
        break;
    }
    return unchecked;
}

QString markLegend() {
    QString s;
    for (const Shape* shape : {&kOk, &kRhyme, &kWrong, &kLenient, &kUnsure, &kFree, &kUnchecked}) {
        if (!s.isEmpty())
            s += QStringLiteral("  ");
        s += QString::fromUtf16(shape->symbol) + QString::fromUtf16(shape->meaning);
        if (shape == &kWrong)
            s += QStringLiteral("或出韵");
    }
    return s;
}

MarkedPoemView::MarkedPoemView(QWidget* parent) : QAbstractScrollArea(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    viewport()->setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    layOut();
}

void MarkedPoemView::setPoem(QStringView text, int base, const Result& result) {
    m_text = text.toString();
    m_tips.clear();
    for (const Finding& f : result.findings) {
        if (f.offset < 0)
            continue;
        QString& t = m_tips[f.offset];
        t += (t.isEmpty() ? QString() : QStringLiteral("\n")) + f.message;
    }
    m_lines = {Line{}};
    m_cut = false;
    bool blankLine = false;
    int cells = 0;
    qsizetype k = 0; // the next mark
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        if (isLineBreak(c)) {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            ++i;
            if (m_lines.last().cells.isEmpty()) {
                blankLine = m_lines.size() > 1;
            } else {
                m_lines.append(Line{});
                blankLine = false;
            }
            continue;
        }
        const int len = c.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        if (c.isSpace()) {
            i += len;
            continue;
        }
        if (++cells > kShownCells) {
            m_cut = true;
            break;
        }
        while (k < result.marks.size() && result.marks[k].offset < i)
            ++k;
        const bool marked = k < result.marks.size() && result.marks[k].offset == i;
        Line& line = m_lines.last();
        if (line.cells.isEmpty())
            line.stanzaBreak = blankLine;
        line.cells.append({.from = int(i),
                           .offset = int(base + i),
                           .length = len,
                           .look = marked ? &markLook(result.marks[k]) : nullptr,
                           .clauseEnd = !marked,
                           .at = {}});
        i += len;
    }
    if (m_lines.last().cells.isEmpty())
        m_lines.removeLast();
    m_current = -1;
    layOut();
    viewport()->update();
}

void MarkedPoemView::setCurrent(int offset) {
    if (offset == m_current)
        return;
    m_current = offset;
    viewport()->update();
}

void MarkedPoemView::layOut() {
    m_charFont = font();
    m_charFont.setPointSizeF(std::max(13.0, font().pointSizeF() * 1.4));
    const QFontMetrics cm(m_charFont);
    const QFontMetrics mm(font());
    m_charHeight = cm.height();
    m_markHeight = mm.height();
    m_cellWidth = std::max({cm.horizontalAdvance(u'国'), mm.horizontalAdvance(u'Ｘ'),
                            mm.horizontalAdvance(u'★')}) +
                  4;
    const int rowHeight = m_charHeight + m_markHeight;
    const int right = std::max(viewport()->width() - kMargin, kMargin + m_cellWidth);
    int y = kMargin;
    m_rowCount = 0;
    for (Line& line : m_lines) {
        if (&line != &m_lines.first())
            y += rowHeight + kLineGap + (line.stanzaBreak ? rowHeight / 2 : 0);
        ++m_rowCount;
        int x = kMargin;
        auto newRow = [&] {
            x = kMargin;
            y += rowHeight + kRowGap;
            ++m_rowCount;
        };
        for (qsizetype i = 0; i < line.cells.size();) {
            // A clause and the marks after it stay on one row when a row can hold them.
            qsizetype j = i;
            while (j < line.cells.size() && !line.cells[j].clauseEnd)
                ++j;
            while (j < line.cells.size() && line.cells[j].clauseEnd)
                ++j;
            const int width = int(j - i) * m_cellWidth;
            if (x > kMargin && x + width > right)
                newRow();
            for (; i < j; ++i) {
                // Punctuation may stand past the edge rather than begin a row.
                if (x > kMargin && x + m_cellWidth > right && !line.cells[i].clauseEnd)
                    newRow();
                line.cells[i].at = QPoint(x, y);
                x += m_cellWidth;
            }
        }
    }
    m_contentHeight = m_lines.isEmpty() ? 0 : y + rowHeight + kMargin;
    if (m_cut)
        m_contentHeight += mm.height() + kLineGap;
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(rowHeight);
    verticalScrollBar()->setRange(0, std::max(0, m_contentHeight - viewport()->height()));
}

QRect MarkedPoemView::cellRect(const Cell& c) const {
    return QRect(c.at - QPoint(0, verticalScrollBar()->value()),
                 QSize(m_cellWidth, m_charHeight + m_markHeight));
}

QString MarkedPoemView::tip(const Cell& c) const {
    QString t = c.look ? c.look->meaning : QString();
    if (const auto found = m_tips.constFind(c.from); found != m_tips.cend())
        t += QStringLiteral("：") + *found;
    return t;
}

QRect MarkedPoemView::charRect(int offset) const {
    const Cell* c = cellOf(offset);
    if (!c)
        return {};
    const QRect r = cellRect(*c);
    return QRect(r.topLeft(), QSize(r.width(), m_charHeight));
}

QRect MarkedPoemView::markRect(int offset) const {
    const Cell* c = cellOf(offset);
    if (!c || !c->look)
        return {};
    const QRect r = cellRect(*c);
    return QRect(r.left(), r.top() + m_charHeight, r.width(), m_markHeight);
}

const MarkedPoemView::Cell* MarkedPoemView::cellOf(int offset) const {
    for (const Line& line : m_lines) {
        for (const Cell& c : line.cells) {
            if (c.offset == offset)
                return &c;
        }
    }
    return nullptr;
}

const MarkedPoemView::Cell* MarkedPoemView::cellAt(QPoint pos) const {
    for (const Line& line : m_lines) {
        for (const Cell& c : line.cells) {
            if (cellRect(c).contains(pos))
                return &c;
        }
    }
    return nullptr;
}

void MarkedPoemView::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    const QPalette& pal = palette();
    for (const Line& line : m_lines) {
        for (const Cell& c : line.cells) {
            const QRect r = cellRect(c);
            if (r.bottom() < 0 || r.top() > viewport()->height())
                continue;
            const QRect ch(r.left(), r.top(), r.width(), m_charHeight);
            const QRect mk(r.left(), r.top() + m_charHeight, r.width(), m_markHeight);
            if (c.offset == m_current) {
                p.setPen(QPen(pal.color(QPalette::Highlight), 2));
                p.setBrush(Qt::NoBrush);
                p.drawRect(r.adjusted(1, 1, -1, -1));
            }
            p.setFont(m_charFont);
            p.setPen(c.look && c.look->alarm ? c.look->colour : pal.color(QPalette::Text));
            p.drawText(ch, Qt::AlignCenter,
                       QString::fromRawData(m_text.constData() + c.from, c.length));
            if (c.look) {
                p.setFont(font());
                p.setPen(c.look->colour);
                p.drawText(mk, Qt::AlignHCenter | Qt::AlignTop, c.look->symbol);
            }
        }
    }
    if (m_cut) {
        p.setFont(font());
        p.setPen(pal.color(QPalette::Text));
        p.drawText(QRect(kMargin,
                         m_contentHeight - QFontMetrics(font()).height() - kMargin -
                             verticalScrollBar()->value(),
                         viewport()->width() - 2 * kMargin, QFontMetrics(font()).height()),
                   Qt::AlignLeft, QStringLiteral("……（以下从略）"));
    }
}

void MarkedPoemView::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    layOut();
}

void MarkedPoemView::changeEvent(QEvent* e) {
    QAbstractScrollArea::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        layOut();
}

void MarkedPoemView::mousePressEvent(QMouseEvent* e) {
    if (const Cell* c = cellAt(e->position().toPoint()); c && e->button() == Qt::LeftButton) {
        setCurrent(c->offset);
        emit characterChosen(c->offset, c->length);
    }
}

bool MarkedPoemView::viewportEvent(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const Cell* c = cellAt(help->pos());
        if (c && c->look)
            QToolTip::showText(help->globalPos(), tip(*c), viewport());
        else
            QToolTip::hideText();
        return true;
    }
    return QAbstractScrollArea::viewportEvent(e);
}

QSize MarkedPoemView::sizeHint() const {
    return QSize(12 * m_cellWidth + 2 * kMargin, 240);
}
