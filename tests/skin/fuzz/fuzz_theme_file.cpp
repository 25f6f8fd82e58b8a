// libFuzzer target for the theme file reader: any bytes must read or fail without a
// read outside the file, and every lookup of a property must answer.

#include "skin/core/theme_file.h"
#include "skin/core/ui_style.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    style::ThemeFile theme;
    QString error;
    theme.read(buffer, &error);
    for (const style::Property& p : style::properties()) {
        const QString name = QString::fromLatin1(p.name);
        (void)theme.integer(name);
        (void)theme.boolean(name);
        (void)theme.picture(name).size();
        (void)theme.text(name);
    }
    return 0;
}
