#include "library/core/code_tables.h"

#include "library/core/code_tables_raw.h"

namespace {

QList<CodeRegion> load(const code_tables::raw::Region* raw, int count) {
    QList<CodeRegion> regions;
    for (int i = 0; i < count; ++i)
        regions.append({QString::fromUtf8(raw[i].name), QString::fromUtf8(raw[i].id),
                        QString::fromUtf8(raw[i].text).split(u'\n')});
    return regions;
}

} // namespace

namespace code_tables {

const QList<CodeRegion>& areaCodes() {
    static const QList<CodeRegion> t = load(raw::areaCodes, raw::areaCodeCount);
    return t;
}

const QList<CodeRegion>& postalCodes() {
    static const QList<CodeRegion> t = load(raw::postalCodes, raw::postalCodeCount);
    return t;
}

} // namespace code_tables
