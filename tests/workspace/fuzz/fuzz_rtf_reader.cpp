// libFuzzer target for the RTF reader. Besides crashes, hangs and sanitizer findings
// it checks that whatever the reader makes of the input survives our own writer:
// write it, read it back, and the document must be the same.

#include "workspace/core/rtfreader.h"
#include "workspace/core/rtfwriter.h"

#include <cstdio>
#include <cstdlib>

using namespace workspace;

namespace {

// What the writer spells out for "the default": a run without a face is written in
// 宋体, as the files' first font.
RichDocument normalised(RichDocument doc) {
    for (Paragraph& p : doc.paragraphs)
        for (Run& r : p.runs)
            if (r.format.font.isEmpty())
                r.format.font = QStringLiteral("宋体");
    // Runs that became alike merge when read again.
    for (Paragraph& p : doc.paragraphs) {
        std::vector<Run> runs;
        for (Run& r : p.runs) {
            if (!runs.empty() && runs.back().format == r.format)
                runs.back().text += r.text;
            else
                runs.push_back(std::move(r));
        }
        p.runs = std::move(runs);
    }
    return doc;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RtfReader reader;
    reader.read(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!reader.wasRtf())
        return 0;
    const RichDocument first = normalised(reader.document());
    const QByteArray rtf = RtfWriter::toRtf(first);
    RtfReader again;
    if (!again.read(QByteArrayView(rtf)) || again.document() != first) {
        std::fprintf(stderr, "round trip differs: %s\nwritten:\n%s\n",
                     qPrintable(again.errorString()), rtf.constData());
        std::abort();
    }
    return 0;
}
