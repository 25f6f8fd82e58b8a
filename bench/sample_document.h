#pragma once
// The benchmarks' working document, generated (filler, not content).

#include "workspace/core/richtext.h"

namespace bench {

// Generated filler, not content: lines of 5 to 11 characters drawn in turn from the
// GB2312 first-level ideographs, closed by ， or 。, with the formats of a working
// document (two faces, three sizes, a colour, bold, centred titles) changing every
// few lines, until the plain text has `gbkSize` bytes in GBK.
workspace::RichDocument sampleDocument(qsizetype gbkSize);

} // namespace bench
