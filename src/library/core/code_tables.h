#pragma once
// The telephone area code and postal code tables: regions in the window's order, each
// with its block of lines shown as they stand.

#include <QList>
#include <QString>
#include <QStringList>

struct CodeRegion {
    QString name; // the list item
    QString id;   // the block's name
    QStringList lines;
};

namespace code_tables {
const QList<CodeRegion>& areaCodes();
const QList<CodeRegion>& postalCodes();
} // namespace code_tables
