#pragma once
// Writes a RichDocument as RTF in the form the Windows rich-text control writes for
// Chinese text: GBK code page, GB2312 fonts, \'xx escapes, \uN? for what GBK lacks.

#include "workspace/core/richtext.h"

#include <QByteArray>
#include <QStringList>

#include <memory>
#include <vector>

class QIODevice;

namespace workspace {

class RtfWriter {
  public:
    // The RTF bytes of `doc`: 7-bit ASCII throughout.
    static QByteArray toRtf(const RichDocument& doc);

    // Writes the RTF to an open device. Returns false, with errorString(), when the
    // device does not take every byte.
    bool write(const RichDocument& doc, QIODevice* device);
    QString errorString() const { return m_error; }

  private:
    QString m_error;
};

class RtfEmitter;

// Writes RTF to an open device a paragraph at a time, so a large document is never
// held as RTF at once. The tables come first, so the faces and colours the runs use
// are named up front (a face missing from them is written as the default one).
class RtfStreamWriter {
  public:
    RtfStreamWriter(QIODevice* device, QStringList fonts = {}, std::vector<Rgb> colours = {});
    ~RtfStreamWriter();
    RtfStreamWriter(const RtfStreamWriter&) = delete;
    RtfStreamWriter& operator=(const RtfStreamWriter&) = delete;

    // Both return false, with errorString(), once the device has refused a byte;
    // finish() ends the document and hands the last bytes to the device.
    bool writeParagraph(const Paragraph& p);
    bool finish();
    QString errorString() const { return m_error; }

  private:
    bool drain();

    QIODevice* m_device;
    std::unique_ptr<RtfEmitter> m_emitter;
    QString m_error;
};

} // namespace workspace
