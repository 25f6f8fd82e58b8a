#pragma once
// The content of a workspace document: paragraphs of formatted runs, as the RTF files
// keep it. Headless; the document window converts it to and from its editor.

#include <QByteArrayView>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace workspace {

// A colour as the RTF colour table holds it.
struct Rgb {
    quint8 red = 0;
    quint8 green = 0;
    quint8 blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The character formatting of one run. An empty font name, a size of 0 and no colour
// mean "the editor's default".
struct CharFormat {
    QString font;
    int halfPoints = 0;        // size in half-points, as RTF writes it (\fs24 = 12 pt)
    std::optional<Rgb> colour; // none: the automatic (window text) colour
    bool bold = false;
    bool italic = false;
    bool underline = false;
    friend bool operator==(const CharFormat&, const CharFormat&) = default;
};

// Text with one format. Tabs are '\t'; a line break inside a paragraph is U+2028.
struct Run {
    QString text;
    CharFormat format;
    friend bool operator==(const Run&, const Run&) = default;
};

enum class Alignment { Left, Centre, Right, Justify };

struct Paragraph {
    Alignment alignment = Alignment::Left;
    std::vector<Run> runs;
    friend bool operator==(const Paragraph&, const Paragraph&) = default;

    QString text() const;
    // Appends text, extending the last run when the format is the same.
    void append(const QString& text, const CharFormat& format);
};

// A whole document. Every paragraph ends with a paragraph mark, so text "a\nb\n" is two
// paragraphs and an empty document has none.
struct RichDocument {
    std::vector<Paragraph> paragraphs;
    friend bool operator==(const RichDocument&, const RichDocument&) = default;

    // One line per paragraph, each ended by '\n'; line breaks inside a paragraph
    // become '\n' as well.
    QString plainText() const;

    // One paragraph per line of `text` (CR LF, LF or CR), each in `format`.
    static RichDocument fromPlainText(QStringView text, const CharFormat& format = {});
    // The same paragraphs handed to `f` one at a time, for a text too long to hold as a
    // document besides.
    static void forEachPlainTextParagraph(QStringView text,
                                          const std::function<void(Paragraph&&)>& f,
                                          const CharFormat& format = {});
};

} // namespace workspace
