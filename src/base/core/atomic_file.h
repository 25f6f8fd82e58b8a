#pragma once
// Whole-file replacement: the new content goes to a temporary beside the old file, named
// with a mark of our own, and is renamed over it once it is on disk, so a crash leaves
// the old file or the new one.

#include <QByteArray>
#include <QString>

// Writes `bytes` to `hostPath` atomically. Returns false (and leaves any old file
// untouched) when the file cannot be written, a file-size limit included.
bool writeFileAtomically(const QString& hostPath, const QByteArray& bytes);

// Removes the temporaries that writes of `hostPath`, or of the originals kept beside it
// ("<name>.orig", "<name>.orig.N"), left when the program was killed between naming the
// temporary and renaming it: "<name>.lyrevane-tmp-XXXXXX", six random letters or digits,
// in any letter case of the name. Nothing else is touched. Returns how many were removed.
int removeStaleTemporaries(const QString& hostPath);
