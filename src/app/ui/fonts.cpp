#include "app/ui/fonts.h"

#include <QFileInfo>
#include <QFont>
#include <QString>

void useShippedFontAliases(const QString& appFolder) {
    const QString conf = appFolder + QStringLiteral("/fonts.conf");
    if (qEnvironmentVariableIsEmpty("FONTCONFIG_FILE") && QFileInfo::exists(conf))
        qputenv("FONTCONFIG_FILE", conf.toLocal8Bit());
}

void addFontSubstitutions() {
    // The same faces, in the same order, as the aliases of fonts.conf: Qt looks here
    // before it asks fontconfig, so a different first face here would win over the
    // alias. 宋体 is the monospaced face everywhere (lists, documents typed and
    // reloaded), its Chinese characters exactly twice as wide as its ASCII ones.
    const QStringList song = {QStringLiteral("Noto Sans Mono CJK SC"),
                              QStringLiteral("Noto Serif CJK SC")};
    const QStringList sans = {QStringLiteral("Noto Sans CJK SC")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), song);
    QFont::insertSubstitutions(QStringLiteral("新宋体"), {QStringLiteral("Noto Sans Mono CJK SC")});
    QFont::insertSubstitutions(QStringLiteral("楷体_GB2312"),
                               {QStringLiteral("Noto Serif CJK SC")});
    QFont::insertSubstitutions(QStringLiteral("黑体"), sans);
    QFont::insertSubstitutions(QStringLiteral("SimHei"), sans);
    // Tahoma's Chinese from the monospaced face too: the same outlines as the sans face,
    // and no second CJK face opened beside the one 宋体 text uses.
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Sans"),
                                                          QStringLiteral("Noto Sans Mono CJK SC")});
}
