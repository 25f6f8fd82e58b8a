#pragma once
// The checker's data tree loaded once, and the patterns a user can name to check against.

#include "checker/core/checker.h"

#include <optional>

namespace checker {

// The lexicon, precedent and tune poems of one data folder (…/data/checker), loaded on
// first use and kept for the life of the program. Any thread may load and read them, and
// several at once.
struct CheckerData {
    Lexicon lexicon;
    Precedent precedent;
    Forms forms;                    // every form of each tune, with its rhyme plan
    Simplifier simplifier;          // traditional characters to simplified, for look-up
    const TunePoems& poems() const; // loaded on first call: the texts are the bulk
    QString dir;
};
const CheckerData& checkerData(const QString& dir);
// A checker over a data folder's lexicon, precedent, forms and character table.
Checker checkerOf(const CheckerData& data);

// A pattern to check against: a ci tune, a verse form, or a template given as it stands.
struct NamedPattern {
    QString name; // the tune name or the verse label; empty for a bare template
    QString templateText;
    QString key; // for the precedent and the poems; empty for a bare template
    bool verse = false;
};

// A ci pattern by name, label name or search key; a verse form by label or name; else
// text holding tone marks taken as a template. A bare 七律, 七绝, 五律 or 五绝 names the
// first opening of that form (the checker then takes the opening the poem fits). Nothing
// for anything else.
std::optional<NamedPattern> namedPattern(const QString& nameOrTemplate);

// 平水韵 for regulated verse (or a template of its shape), 词韵 otherwise.
Standard defaultStandard(const NamedPattern& p);

} // namespace checker
