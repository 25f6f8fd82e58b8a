#pragma once
// The recovery file: the unsaved documents of a run, kept against a crash and offered
// back at the next start. One header line, then each document as its number, the
// length of its RTF and the RTF itself; a closing line marks a whole file.

#include <QByteArray>
#include <optional>
#include <vector>

namespace workspace {

struct RecoveredDocument {
    int number = 0; // 1 to 5
    QByteArray rtf;
    friend bool operator==(const RecoveredDocument&, const RecoveredDocument&) = default;
};

QByteArray encodeRecovery(const std::vector<RecoveredDocument>& documents);
// Nothing when the bytes are not a whole recovery file (cut short, or something else).
std::optional<std::vector<RecoveredDocument>> decodeRecovery(QByteArrayView bytes);

// True when the bytes can be shown as a text document: RTF, or a text file (GBK, or
// UTF-8/UTF-16 as the text reader takes them) that decodes throughout and holds no
// control characters other than tab, line and page breaks.
bool isTextDocument(QByteArrayView bytes);

} // namespace workspace
