#include "workspace/core/password.h"

#include "base/core/gbk.h"
#include "base/core/settings_file.h"

#include <sodium.h>

namespace password {

namespace {

void ensureSodium() {
    static const bool ready = sodium_init() >= 0;
    Q_UNUSED(ready);
}

} // namespace

QString hash(const QString& typed) {
    ensureSodium();
    const QByteArray bytes = gbk::encode(typed);
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, bytes.constData(), quint64(bytes.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        qFatal("out of memory while hashing the password");
    return QString::fromLatin1(out);
}

bool isLegacy(const QString& stored) {
    return !stored.startsWith(QLatin1String(crypto_pwhash_STRPREFIX));
}

bool matches(const QString& typed, const QString& stored) {
    const QByteArray bytes = gbk::encode(typed);
    if (isLegacy(stored))
        return bytes == gbk::encode(stored);
    ensureSodium();
    const QByteArray hashed = stored.toLatin1();
    return crypto_pwhash_str_verify(hashed.constData(), bytes.constData(), quint64(bytes.size())) ==
           0;
}

bool hashStoredPlainPassword(SettingsFile& settings) {
    const QString section = QStringLiteral("temp"), key = QStringLiteral("word");
    const QString stored = settings.readString(section, key);
    if (stored.isEmpty() || !isLegacy(stored))
        return false;
    settings.writeString(section, key, hash(stored));
    return true;
}

} // namespace password
