#pragma once
// Readable RichDocument values in test failure messages.

#include "workspace/core/richtext.h"

#include <ostream>

namespace workspace {

inline void PrintTo(const CharFormat& f, std::ostream* os) {
    *os << '[' << f.font.toStdString() << ' ' << f.halfPoints;
    if (f.colour)
        *os << " rgb(" << int(f.colour->red) << ',' << int(f.colour->green) << ','
            << int(f.colour->blue) << ')';
    *os << (f.bold ? " b" : "") << (f.italic ? " i" : "") << (f.underline ? " ul" : "") << ']';
}

inline void PrintTo(const RichDocument& doc, std::ostream* os) {
    *os << '\n';
    for (const Paragraph& p : doc.paragraphs) {
        *os << "  para align=" << int(p.alignment) << ':';
        for (const Run& r : p.runs) {
            *os << " ";
            PrintTo(r.format, os);
            *os << '"' << r.text.toStdString() << '"';
        }
        *os << '\n';
    }
}

} // namespace workspace

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
