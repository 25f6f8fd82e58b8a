#pragma once
// The lock password as the settings file keeps it: a salted, slow hash (Argon2id), so
// that reading the file does not reveal the password.

#include <QString>

class SettingsFile;

namespace password {

// The stored form of a newly set password.
QString hash(const QString& password);

// True when `typed` opens the lock whose stored value is `stored`. A stored value
// that is not one of our hashes was written by an earlier version as the password
// itself and is compared byte for byte (an empty value is such a password too).
bool matches(const QString& typed, const QString& stored);

// True when `stored` is a plain password that should be replaced by its hash.
bool isLegacy(const QString& stored);

// Replaces a plain password that an earlier version left in the settings file by its
// hash as soon as the file is read, so that it does not stay readable while the lock
// is off or its prompt is always left. Returns true when it did; throws AppError when
// the file cannot be written.
bool hashStoredPlainPassword(SettingsFile& settings);

} // namespace password
