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
    const QStringList serif = {QStringLiteral("Noto Serif CJK SC"),
                               QStringLiteral("Noto Sans CJK SC")};
    const QStringList sans = {QStringLiteral("Noto Sans CJK SC")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), serif);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), serif);
    QFont::insertSubstitutions(QStringLiteral("黑体"), sans);
    QFont::insertSubstitutions(QStringLiteral("SimHei"), sans);
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")});
}
