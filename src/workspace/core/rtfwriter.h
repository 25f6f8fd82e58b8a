#pragma once
// Writes a RichDocument as RTF in the form the Windows rich-text control writes for
// Chinese text: GBK code page, GB2312 fonts, \'xx escapes, \uN? for what GBK lacks.

#include "workspace/core/richtext.h"

#include <QByteArray>

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

} // namespace workspace
