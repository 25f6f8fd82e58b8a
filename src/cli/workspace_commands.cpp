#include "base/core/gbk.h"
#include "base/core/text_pieces.h"
#include "cli/command.h"
#include "cli/input.h"

#include "workspace/core/rtfreader.h"
#include "workspace/core/rtfwriter.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>

namespace cli {

namespace {

// Standard output as bytes: the converters write their output a piece at a time
// straight to the device under the text stream, so that a large file is never held
// whole as output text.
class RawOut {
  public:
    explicit RawOut(Io& io) : m_io(io) {
        m_io.out.flush();
        m_device = m_io.out.device();
    }
    QIODevice* device() const { return m_device; }

    // Adds the bytes, passing them on once a good amount has gathered.
    void add(QByteArrayView bytes) {
        m_buffer += bytes;
        if (m_buffer.size() >= 64 * 1024)
            drain();
    }
    // Passes everything on; false, with the stream marked as failed for the exit
    // code, when the device refused a byte.
    bool finish() {
        drain();
        if (auto* file = qobject_cast<QFileDevice*>(m_device); file && m_ok)
            m_ok = file->flush();
        if (!m_ok)
            failed();
        return m_ok;
    }
    void failed() { m_io.out.setStatus(QTextStream::WriteFailed); }

  private:
    void drain() {
        if (m_buffer.isEmpty())
            return;
        if (!m_device) {
            m_io.out << QString::fromUtf8(m_buffer);
        } else if (m_ok) {
            m_ok = m_device->write(m_buffer) == m_buffer.size();
        }
        m_buffer.clear();
    }

    Io& m_io;
    QIODevice* m_device = nullptr;
    QByteArray m_buffer;
    bool m_ok = true;
};

int rtf2txt(const QStringList& args, Io& io) {
    if (args.size() != 1) {
        io.err << "usage: lyrevane-cli rtf2txt FILE\n";
        return BadUsage;
    }
    Input input;
    if (!openInput(args[0], io.raw.value(0), &input, io, kMaxDocumentBytes))
        return NotFound;
    RawOut out(io);
    QString line;
    workspace::RtfReader reader;
    const workspace::RtfReader::ParagraphSink sink = [&](workspace::Paragraph&& p) {
        line.clear();
        for (const workspace::Run& run : p.runs)
            line += run.text;
        line.replace(QChar::LineSeparator, QLatin1Char('\n'));
        line += QLatin1Char('\n');
        out.add(line.toUtf8());
    };
    const bool ok = input.fromFile() ? reader.read(&input.file, sink)
                                     : reader.read(QByteArrayView(input.bytes), sink);
    out.finish();
    if (readFailed(args[0], input.file, io))
        return NotFound;
    if (!ok) {
        io.err << "lyrevane-cli: " << shown(args[0]) << ": " << reader.errorString() << '\n';
        return Damaged;
    }
    return Ok;
}

// The text of `text` read as `encoding` (GBK or UTF-8, a UTF-8 mark skipped), handed
// to `piece` a part at a time; false when some bytes could not be decoded.
bool decodeAs(text_pieces::Source& text, gbk::TextEncoding encoding,
              const std::function<void(const QString&)>& piece) {
    bool clean = true;
    if (encoding == gbk::TextEncoding::Gbk) {
        text.forEach(0, text_pieces::LineFeed::Byte, [&](QByteArrayView part) {
            bool ok = true;
            piece(gbk::decode(part, &ok));
            clean = clean && ok;
            return true;
        });
        return clean;
    }
    const qsizetype mark = text.head(3) == "\xEF\xBB\xBF" ? 3 : 0;
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    text.forEach(mark, text_pieces::LineFeed::Byte, [&](QByteArrayView part) {
        piece(decoder.decode(part));
        return true;
    });
    return !decoder.hasError();
}

// True when `text`, which carries no byte-order mark, reads without a fault as GBK and
// as UTF-8 both, so that the encoding it was read in was a guess. ASCII reads the same
// either way: a text of nothing else is no guess, and a piece of it says nothing.
bool readsBothWays(text_pieces::Source& text) {
    bool ascii = true;
    bool clean = true;
    QStringDecoder utf8(QStringConverter::Utf8);
    text.forEach(0, text_pieces::LineFeed::Byte, [&](QByteArrayView part) {
        if (std::all_of(part.begin(), part.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
            return true;
        ascii = false;
        bool ok = true;
        (void)gbk::decode(part, &ok);
        (void)QString(utf8.decode(part)); // decoded as it is converted
        clean = ok && !utf8.hasError();
        return clean;
    });
    return !ascii && clean;
}

QString encodingName(gbk::TextEncoding encoding) {
    switch (encoding) {
    case gbk::TextEncoding::Gbk:
        return QStringLiteral("GBK");
    case gbk::TextEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case gbk::TextEncoding::Utf16LE:
        return QStringLiteral("UTF-16LE");
    case gbk::TextEncoding::Utf16BE:
        return QStringLiteral("UTF-16BE");
    }
    return {};
}

int txt2rtf(const QStringList& args, Io& io) {
    QStringList files;
    std::optional<gbk::TextEncoding> chosen;
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString value;
        if (args[i] == QLatin1String("--encoding") && i + 1 < args.size())
            value = args[++i];
        else if (args[i].startsWith(QLatin1String("--encoding=")))
            value = args[i].mid(11);
        else if (args[i] == QLatin1String("--encoding"))
            value = QStringLiteral("?");
        else {
            files << args[i];
            continue;
        }
        if (value.compare(QLatin1String("gbk"), Qt::CaseInsensitive) == 0)
            chosen = gbk::TextEncoding::Gbk;
        else if (value.compare(QLatin1String("utf-8"), Qt::CaseInsensitive) == 0 ||
                 value.compare(QLatin1String("utf8"), Qt::CaseInsensitive) == 0)
            chosen = gbk::TextEncoding::Utf8;
        else {
            io.err << "lyrevane-cli: --encoding takes gbk or utf-8\n";
            return BadUsage;
        }
    }
    if (files.size() != 1) {
        io.err << "usage: lyrevane-cli txt2rtf FILE [--encoding gbk|utf-8]\n";
        return BadUsage;
    }
    const QString& name = files.first();
    Input input;
    if (!openInput(name, rawArgument(name, io), &input, io, kMaxDocumentBytes))
        return NotFound;
    // A file is read once for the guess and again as it is converted.
    text_pieces::Source text =
        input.fromFile() ? text_pieces::Source(&input.file) : text_pieces::Source(input.bytes);
    if (!chosen) {
        qsizetype mark = 0;
        const gbk::TextEncoding guessed = gbk::textFileEncoding(text, &mark);
        if (mark == 0 && readsBothWays(text)) {
            io.err << "lyrevane-cli: " << shown(name) << ": read as " << encodingName(guessed)
                   << " (--encoding " << (guessed == gbk::TextEncoding::Gbk ? "utf-8" : "gbk")
                   << " reads it as " << (guessed == gbk::TextEncoding::Gbk ? "UTF-8" : "GBK")
                   << ")\n";
            io.err.flush();
        }
    }
    auto decode = [&](const std::function<void(const QString&)>& piece) {
        return chosen ? decodeAs(text, *chosen, piece) : gbk::decodeTextFilePieces(text, piece);
    };
    RawOut out(io);
    bool ok = true;
    if (out.device()) {
        workspace::RtfStreamWriter writer(out.device());
        bool written = true;
        ok = decode([&](const QString& piece) {
            workspace::RichDocument::forEachPlainTextParagraph(
                piece,
                [&](workspace::Paragraph&& p) { written = written && writer.writeParagraph(p); });
        });
        if (!(written && writer.finish()))
            out.failed();
    } else {
        QString whole;
        ok = decode([&](const QString& piece) { whole += piece; });
        out.add(workspace::RtfWriter::toRtf(workspace::RichDocument::fromPlainText(whole)));
    }
    out.finish();
    if (readFailed(name, input.file, io))
        return NotFound;
    if (!ok) {
        io.err << "lyrevane-cli: " << shown(name) << ": some bytes could not be decoded\n";
        return Damaged;
    }
    return Ok;
}

} // namespace

std::vector<Command> workspaceCommands() {
    return {
        {QStringLiteral("rtf2txt"),
         QStringLiteral("rtf2txt FILE    (the text of an RTF or text file, UTF-8)"), rtf2txt},
        {QStringLiteral("txt2rtf"),
         QStringLiteral("txt2rtf FILE [--encoding gbk|utf-8]    (a UTF-8 or GBK text file as RTF)"),
         txt2rtf},
    };
}

} // namespace cli
