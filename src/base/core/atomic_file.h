#pragma once
// Whole-file replacement: the new content goes to a file beside the old one and is
// renamed over it once it is on disk, so a crash leaves the old file or the new one.

#include <QByteArray>
#include <QString>

// Writes `bytes` to `hostPath` atomically. Returns false (and leaves any old file
// untouched) when the file cannot be written.
bool writeFileAtomically(const QString& hostPath, const QByteArray& bytes);
