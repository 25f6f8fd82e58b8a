#pragma once
// Reads a workspace file into a RichDocument: RTF as word processors and the Windows
// rich-text control write it, or, when the bytes are not RTF, plain text with one
// paragraph per line.

#include "workspace/core/richtext.h"

#include <functional>

class QIODevice;
namespace text_pieces {
class Source;
}

namespace workspace {

class RtfReader {
  public:
    // Reads the whole device or byte array. Returns false when the input is damaged
    // (truncated, malformed, undecodable) or cannot be read; document() then holds
    // the text that could be read and errorString() says what was wrong.
    bool read(QIODevice* device);
    bool read(QByteArrayView bytes);

    // Reads as above, but hands each paragraph to `sink` as soon as it ends instead of
    // keeping it, so that a large file is never held as a document; document() stays
    // empty. The paragraphs are those document() would hold, in order.
    using ParagraphSink = std::function<void(Paragraph&&)>;
    bool read(QByteArrayView bytes, const ParagraphSink& sink);
    // As above, reading the device from its position a part at a time, so that a large
    // file is never held whole. Plain text is read twice (its encoding guessed, then its
    // text), so a device that cannot seek back (a pipe) is read whole first. Without a
    // sink the paragraphs go to document() as ever.
    bool read(QIODevice* device, const ParagraphSink& sink);

    const RichDocument& document() const { return m_document; }
    RichDocument takeDocument() { return std::move(m_document); }
    // False when the last input was taken as plain text.
    bool wasRtf() const { return m_wasRtf; }
    QString errorString() const { return m_error; }

    // True when the bytes start as an RTF document does.
    static bool looksLikeRtf(QByteArrayView bytes);

  private:
    void readText(text_pieces::Source& text, const ParagraphSink& sink);

    RichDocument m_document;
    QString m_error;
    bool m_wasRtf = false;
};

} // namespace workspace
