#pragma once
// The collection on disk: the names in user.dat, and each favourite's title, poem and
// pattern in the slot of its row in the settings file. Every change writes the slots
// first and the names after, and puts the slots back when the names cannot be written,
// so a slot always belongs to the name on its line.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class DataRoot;
class SettingsFile;

namespace favourites {

// What a slot holds.
struct Contents {
    QString title, examples, pattern;
    bool operator==(const Contents&) const = default;
};

// One entry of the collection: its row (from 0) and name, with its slot's contents.
struct Favourite {
    int position = 0;
    QString name;
    Contents contents;
    int slot() const { return position + 1; }
};

// The names, one a line of user.dat; throws AppError "Cannot open file …".
QStringList readNames(const DataRoot& root);
// Every favourite with its slot; throws like readNames.
QList<Favourite> readFavourites(const DataRoot& root, const SettingsFile& settings);

// No list has more rows than this; a key of the three sections past it names no slot
// and is left as it stands.
inline constexpr int kMostSlots = 1'000'000;

// The contents of one slot (empty when it was never written).
Contents readSlot(const SettingsFile& settings, int slot);
// Slots 1 … count as stored (empty where never written).
QList<Contents> readSlots(const SettingsFile& settings, qsizetype count);

// Writes `slotList` as slots 1 … n in one replacement of the settings file and removes the
// key of any higher slot; then runs `writeNames`. When that fails, the slots are put back
// as they were and its AppError passes on.
void store(SettingsFile& settings, const QList<Contents>& slotList,
           const std::function<void()>& writeNames);

// The rows of the list editor's text: its lines, without the empty line after a final
// line break; empty lines in between are rows.
QStringList editorRows(const QString& text);

// For each of `edited`, the row of `previous` whose favourite it is, or -1 for a new
// name. Rows keep their order where they can (the longest run of unchanged names);
// moved rows take the nearest unused row of the same name; duplicates pair in order.
// A name changed in place (between two unchanged rows, as many rows as before) is the
// same favourite renamed.
QList<int> matchRows(const QStringList& previous, const QStringList& edited);

} // namespace favourites
