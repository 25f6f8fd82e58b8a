#include "workspace/core/rtfreader.h"
#include "workspace/core/rtfwriter.h"
#include "workspace/richtext_print.h"
#include "workspace/ui/richtextdocument.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace workspace;

namespace {

CharFormat fmt(const QString& font, int halfPoints, std::optional<Rgb> colour = {}, bool b = false,
               bool i = false, bool u = false) {
    return CharFormat{font, halfPoints, colour, b, i, u};
}

} // namespace

TEST(RichTextDocument, AnEditedDocumentSurvivesTheFile) {
    // What the user does in the editor: text in the default font, a red bold 楷体 run,
    // a centred line with a soft break, a character GBK lacks.
    // The documents' default font is 12 pixels high: 9 points at 96 dots per inch.
    QFont song(QStringLiteral("宋体"));
    song.setPixelSize(12);
    QTextDocument editor;
    editor.setDefaultFont(song);
    QTextCursor cursor(&editor);
    cursor.insertText(QStringLiteral("明月几时有，"));
    QTextCharFormat red;
    red.setFontFamilies({QStringLiteral("楷体")});
    red.setFontPointSize(16);
    red.setForeground(QColor(255, 0, 0));
    red.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("把酒问青天。"), red);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.insertBlock(centred, QTextCharFormat());
    cursor.insertText(QStringLiteral("𠀀") + QChar(QChar::LineSeparator) + QStringLiteral("end"));

    const RichDocument doc = richDocument(editor);
    RichDocument expected;
    expected.paragraphs = {
        {Alignment::Left,
         {{QStringLiteral("明月几时有，"), fmt(QStringLiteral("宋体"), 18)},
          {QStringLiteral("把酒问青天。"), fmt(QStringLiteral("楷体"), 32, Rgb{255, 0, 0}, true)}}},
        {Alignment::Centre,
         {{QStringLiteral("𠀀") + QChar(QChar::LineSeparator) + QStringLiteral("end"),
           fmt(QStringLiteral("宋体"), 18)}}},
    };
    EXPECT_EQ(doc, expected);

    RtfReader reader;
    ASSERT_TRUE(reader.read(QByteArrayView(RtfWriter::toRtf(doc))));
    QTextDocument reopened;
    reopened.setDefaultFont(song);
    setRichDocument(&reopened, reader.document());
    EXPECT_EQ(reopened.toRawText(), editor.toRawText());
    EXPECT_EQ(richDocument(reopened), expected);
    EXPECT_EQ(reopened.lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
}

TEST(RichTextDocument, EmptyEditorIsAnEmptyDocument) {
    QTextDocument editor;
    EXPECT_TRUE(richDocument(editor).paragraphs.empty());
    setRichDocument(&editor, RichDocument{});
    EXPECT_TRUE(editor.isEmpty());

    // A trailing empty line is a paragraph of its own and stays.
    editor.setPlainText(QStringLiteral("a\n"));
    EXPECT_EQ(richDocument(editor).plainText(), QStringLiteral("a\n\n"));
}
