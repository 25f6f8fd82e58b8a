#include "base/core/gbk.h"
#include "cli/command.h"
#include "cli/input.h"

#include "workspace/core/rtfreader.h"
#include "workspace/core/rtfwriter.h"

#include <QFile>
#include <cstring>

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
    QByteArray bytes;
    if (!readInput(args[0], io.raw.value(0), &bytes, io, kMaxDocumentBytes))
        return NotFound;
    RawOut out(io);
    QString line;
    workspace::RtfReader reader;
    const bool ok = reader.read(QByteArrayView(bytes), [&](workspace::Paragraph&& p) {
        line.clear();
        for (const workspace::Run& run : p.runs)
            line += run.text;
        line.replace(QChar::LineSeparator, QLatin1Char('\n'));
        line += QLatin1Char('\n');
        out.add(line.toUtf8());
    });
    out.finish();
    if (!ok) {
        io.err << "lyrevane-cli: " << shown(args[0]) << ": " << reader.errorString() << '\n';
        return Damaged;
    }
    return Ok;
}

int txt2rtf(const QStringList& args, Io& io) {
    if (args.size() != 1) {
        io.err << "usage: lyrevane-cli txt2rtf FILE\n";
        return BadUsage;
    }
    QByteArray bytes;
    if (!readInput(args[0], io.raw.value(0), &bytes, io, kMaxDocumentBytes))
        return NotFound;
    RawOut out(io);
    bool ok = true;
    if (out.device()) {
        workspace::RtfStreamWriter writer(out.device());
        bool written = true;
        ok = gbk::decodeTextFilePieces(bytes, [&](const QString& piece) {
            for (const workspace::Paragraph& p :
                 workspace::RichDocument::fromPlainText(piece).paragraphs)
                written = written && writer.writeParagraph(p);
        });
        if (!(written && writer.finish()))
            out.failed();
    } else {
        const QString text = gbk::decodeTextFile(bytes, &ok);
        out.add(workspace::RtfWriter::toRtf(workspace::RichDocument::fromPlainText(text)));
    }
    out.finish();
    if (!ok) {
        io.err << "lyrevane-cli: " << shown(args[0]) << ": some bytes could not be decoded\n";
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
         QStringLiteral("txt2rtf FILE    (a UTF-8 or GBK text file as RTF)"), txt2rtf},
    };
}

} // namespace cli
