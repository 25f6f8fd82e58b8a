#include "workspace/ui/richtextdocument.h"

#include "workspace/core/rtfreader.h"

#include <QPointer>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <cmath>

namespace workspace {

namespace {

Qt::Alignment toQt(Alignment a) {
    switch (a) {
    case Alignment::Centre:
        return Qt::AlignHCenter;
    case Alignment::Right:
        return Qt::AlignRight;
    case Alignment::Justify:
        return Qt::AlignJustify;
    case Alignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

Alignment fromQt(Qt::Alignment a) {
    if (a & Qt::AlignHCenter)
        return Alignment::Centre;
    if (a & Qt::AlignJustify)
        return Alignment::Justify;
    if (a & (Qt::AlignRight | Qt::AlignTrailing))
        return Alignment::Right;
    return Alignment::Left;
}

QTextCharFormat toQt(const CharFormat& f) {
    QTextCharFormat q;
    if (!f.font.isEmpty())
        q.setFontFamilies(QStringList{f.font});
    if (f.halfPoints > 0)
        q.setFontPointSize(f.halfPoints / 2.0);
    if (f.colour)
        q.setForeground(QColor(f.colour->red, f.colour->green, f.colour->blue));
    if (f.bold)
        q.setFontWeight(QFont::Bold);
    if (f.italic)
        q.setFontItalic(true);
    if (f.underline)
        q.setFontUnderline(true);
    return q;
}

CharFormat fromQt(const QTextCharFormat& q, const QFont& base) {
    CharFormat f;
    const QStringList families = q.fontFamilies().toStringList();
    const QString family = q.property(QTextFormat::FontFamily).toString();
    f.font = !families.isEmpty() ? families.first() : !family.isEmpty() ? family : base.family();
    // Sizes set in pixels count at 96 dots per inch, as the documents' 12-pixel
    // default is 9 points.
    double points = 0;
    if (q.hasProperty(QTextFormat::FontPointSize))
        points = q.fontPointSize();
    else if (q.hasProperty(QTextFormat::FontPixelSize))
        points = q.intProperty(QTextFormat::FontPixelSize) * 72.0 / 96.0;
    else
        points = base.pointSizeF() > 0 ? base.pointSizeF() : base.pixelSize() * 72.0 / 96.0;
    f.halfPoints = points > 0 ? int(std::lround(points * 2)) : 0;
    if (q.hasProperty(QTextFormat::ForegroundBrush) && q.foreground().style() != Qt::NoBrush) {
        const QColor c = q.foreground().color();
        f.colour = Rgb{quint8(c.red()), quint8(c.green()), quint8(c.blue())};
    }
    f.bold = q.hasProperty(QTextFormat::FontWeight) ? q.fontWeight() >= QFont::Bold : base.bold();
    f.italic = q.hasProperty(QTextFormat::FontItalic) ? q.fontItalic() : base.italic();
    f.underline =
        q.hasProperty(QTextFormat::FontUnderline) || q.hasProperty(QTextFormat::TextUnderlineStyle)
            ? q.fontUnderline()
            : base.underline();
    return f;
}

// Appends paragraphs to an empty document as setRichDocument fills it, one at a time,
// so that a file can be built as it is read without being held whole in between. The
// additions are one edit, closed when the builder goes.
class RichDocumentBuilder {
  public:
    explicit RichDocumentBuilder(QTextDocument* target);
    ~RichDocumentBuilder();
    RichDocumentBuilder(const RichDocumentBuilder&) = delete;
    RichDocumentBuilder& operator=(const RichDocumentBuilder&) = delete;

    void add(const Paragraph& p);

  private:
    QTextCursor m_cursor;
    bool m_first = true;
    bool m_hasFormat = false;
    CharFormat m_lastFormat;
    QTextCharFormat m_charFormat;
};

} // namespace

RichDocumentBuilder::RichDocumentBuilder(QTextDocument* target) : m_cursor(target) {
    m_cursor.beginEditBlock();
}

RichDocumentBuilder::~RichDocumentBuilder() {
    m_cursor.endEditBlock();
}

void RichDocumentBuilder::add(const Paragraph& p) {
    QTextBlockFormat block;
    block.setAlignment(toQt(p.alignment));
    if (m_first)
        m_cursor.setBlockFormat(block);
    else
        m_cursor.insertBlock(block, QTextCharFormat());
    m_first = false;
    for (const Run& r : p.runs) {
        // Neighbouring runs mostly share a format: each is converted once.
        if (!m_hasFormat || !(m_lastFormat == r.format)) {
            m_charFormat = toQt(r.format);
            m_lastFormat = r.format;
            m_hasFormat = true;
        }
        m_cursor.insertText(r.text, m_charFormat);
    }
}

void setRichDocument(QTextDocument* target, const RichDocument& doc) {
    target->clear();
    RichDocumentBuilder builder(target);
    for (const Paragraph& p : doc.paragraphs)
        builder.add(p);
}

namespace {

struct Stopped {};

// A new document without undo records or a layout, filled from `rtf` paragraph by
// paragraph as it is read, with the paragraphs `take(p)` accepts; `take` may end the
// build by throwing Stopped (the reader has no stop of its own). `whole` tells whether
// the file was read without damage.
template <class Take>
std::unique_ptr<QTextDocument> fill(QByteArrayView rtf, bool* whole, Take&& take) {
    auto built = std::make_unique<QTextDocument>();
    built->setUndoRedoEnabled(false);
    bool read = false;
    {
        RichDocumentBuilder builder(built.get());
        read = RtfReader().read(rtf, [&](Paragraph&& p) {
            if (take(p))
                builder.add(p);
        });
    }
    if (whole)
        *whole = read;
    return built;
}

} // namespace

std::unique_ptr<QTextDocument> buildRichDocument(QByteArrayView rtf, bool* whole,
                                                 const std::atomic<bool>* stop) {
    // While a document is on an editor, its layout answers every inserted block, which
    // makes filling it several times slower: it is filled on its own, and has no layout
    // until an editor shows it. Each paragraph goes in as it is read, so the file is
    // never held as a RichDocument as well.
    try {
        return fill(rtf, whole, [stop](const Paragraph&) {
            if (stop && stop->load(std::memory_order_relaxed))
                throw Stopped();
            return true;
        });
    } catch (const Stopped&) {
        return nullptr;
    }
}

std::unique_ptr<QTextDocument> buildRichDocumentHead(QByteArrayView rtf, const HeadSize& size,
                                                     bool* whole, bool* all) {
    // The whole file is still read, to know whether it is damaged; paragraphs past the
    // head are only counted.
    qsizetype read = 0, added = 0, characters = 0;
    auto built = fill(rtf, whole, [&](const Paragraph& p) {
        ++read;
        if (added >= size.paragraphs || characters >= size.characters)
            return false;
        ++added;
        for (const Run& r : p.runs)
            characters += r.text.size();
        return true;
    });
    if (all)
        *all = added == read;
    return built;
}

void adoptRichDocument(QTextEdit* editor, std::unique_ptr<QTextDocument> built) {
    // The new document takes over everything the old one was set to; with no layout
    // yet, setting these after the content costs nothing. The old one, the editor's,
    // goes with its content.
    QTextDocument* old = editor->document();
    QTextDocument* fresh = built.release();
    fresh->setParent(editor);
    fresh->setDefaultFont(old->defaultFont());
    fresh->setDefaultTextOption(old->defaultTextOption());
    fresh->setDefaultStyleSheet(old->defaultStyleSheet());
    fresh->setDocumentMargin(old->documentMargin());
    fresh->setIndentWidth(old->indentWidth());
    fresh->setUseDesignMetrics(old->useDesignMetrics());
    fresh->setDefaultCursorMoveStyle(old->defaultCursorMoveStyle());
    fresh->setMaximumBlockCount(old->maximumBlockCount());
    fresh->setUndoRedoEnabled(old->isUndoRedoEnabled());
    fresh->setModified(false);
    const QPointer<QTextDocument> kept(old);
    editor->setDocument(fresh); // deletes the old one when the editor's own made it
    if (kept && kept->parent() == editor)
        delete kept.data();
    // A loaded file opens at its first line; the cursor left at the end would also
    // make the editor lay out the whole document to show it.
    editor->moveCursor(QTextCursor::Start);
}

RichDocument richDocument(const QTextDocument& source) {
    RichDocument doc;
    if (source.isEmpty())
        return doc;
    const QFont base = source.defaultFont();
    for (QTextBlock block = source.begin(); block.isValid(); block = block.next()) {
        Paragraph p;
        p.alignment = fromQt(block.blockFormat().alignment());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid())
                p.append(fragment.text(), fromQt(fragment.charFormat(), base));
        }
        doc.paragraphs.push_back(std::move(p));
    }
    return doc;
}

} // namespace workspace
