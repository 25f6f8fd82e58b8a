#include "checker/core/checker_data.h"

#include <QMap>
#include <memory>
#include <mutex>

namespace checker {

const TunePoems& CheckerData::poems() const {
    static std::mutex loading;
    static QMap<QString, std::shared_ptr<TunePoems>> loaded;
    const std::lock_guard lock(loading);
    auto& slot = loaded[dir];
    if (!slot)
        slot = std::make_shared<TunePoems>(TunePoems::load(dir));
    return *slot;
}

const CheckerData& checkerData(const QString& dir) {
    static std::mutex loading;
    static QMap<QString, std::shared_ptr<CheckerData>> loaded;
    const std::lock_guard lock(loading);
    auto& slot = loaded[dir];
    if (!slot)
        slot = std::make_shared<CheckerData>(CheckerData{Lexicon::load(dir), Precedent::load(dir),
                                                         Forms::load(dir), Simplifier::load(dir),
                                                         dir});
    return *slot;
}

Checker checkerOf(const CheckerData& data) {
    return Checker(data.lexicon, data.precedent, &data.forms, &data.simplifier);
}

std::optional<NamedPattern> namedPattern(const QString& arg) {
    const QString name = arg.trimmed();
    if (name.isEmpty())
        return std::nullopt;
    const catalogue::CiPattern* ci = catalogue::patternByNameOrLabel(name);
    if (!ci)
        ci = catalogue::findPattern(name);
    if (ci)
        return NamedPattern{ci->name, ci->templateText, patternKey(*ci), false};
    for (const catalogue::VersePattern& v : catalogue::versePatterns()) {
        if (v.label == name || v.name == name)
            return NamedPattern{v.label, v.templateText, patternKey(v), true};
    }
    for (const catalogue::VersePattern& v : catalogue::versePatterns()) {
        if (v.label.section(u'-', 0, 0) == name)
            return NamedPattern{v.label, v.templateText, patternKey(v), true};
    }
    if (!Pattern::parse(name).cells.isEmpty())
        return NamedPattern{{}, name, {}, Pattern::parse(name).verseShape()};
    return std::nullopt;
}

Standard defaultStandard(const NamedPattern& p) {
    return p.verse ? Standard::PingShui : Standard::CiYun;
}

} // namespace checker
