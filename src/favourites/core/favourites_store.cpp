#include "favourites/core/favourites_store.h"

#include "base/core/app_error.h"
#include "base/core/data_root.h"
#include "base/core/settings_file.h"
#include "favourites/core/favourite_keys.h"

#include <QMap>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace favourites {

namespace {

const QString kTitle = QString::fromUtf8(kTitleSection);
const QString kPoem = QString::fromUtf8(kPoemSection);
const QString kPattern = QString::fromUtf8(kPatternSection);

QString keyOf(int slot) {
    return QString::number(slot);
}

// The slot a key names, or 0 when it names none: a key past any row a list can have
// (a hand-edited or damaged file) is no slot; it is neither read nor removed.
int slotOf(const QString& key) {
    bool ok = false;
    const int n = key.trimmed().toInt(&ok);
    return ok && n > 0 && n <= kMostSlots ? n : 0;
}

// The slots that have a key in any of the three sections, with their contents.
QMap<int, Contents> presentSlots(const SettingsFile& settings) {
    QMap<int, Contents> present;
    for (const QString& section : {kTitle, kPoem, kPattern}) {
        for (const QString& key : settings.keys(section)) {
            if (const int n = slotOf(key); n > 0 && !present.contains(n))
                present.insert(n, readSlot(settings, n));
        }
    }
    return present;
}

// Writes `wanted` and removes the key of every other slot.
void writeSlots(SettingsFile& settings, const QMap<int, Contents>& wanted) {
    settings.beginBatch();
    try {
        for (auto it = wanted.cbegin(); it != wanted.cend(); ++it) {
            const QString key = keyOf(it.key());
            settings.writeString(kTitle, key, it->title);
            settings.writeString(kPoem, key, it->examples);
            settings.writeString(kPattern, key, it->pattern);
        }
        for (const QString& section : {kTitle, kPoem, kPattern}) {
            for (const QString& key : settings.keys(section)) {
                if (const int n = slotOf(key); n > 0 && !wanted.contains(n))
                    settings.removeKey(section, key);
            }
        }
    } catch (...) {
        settings.abandonBatch();
        throw;
    }
    settings.commitBatch();
}

} // namespace

QStringList readNames(const DataRoot& root) {
    return root.readLines(QString::fromLatin1(kNamesFile));
}

Contents readSlot(const SettingsFile& settings, int slot) {
    const QString key = keyOf(slot);
    return {settings.readString(kTitle, key), settings.readString(kPoem, key),
            settings.readString(kPattern, key)};
}

QList<Contents> readSlots(const SettingsFile& settings, qsizetype count) {
    QList<Contents> slotList;
    slotList.reserve(count);
    for (int n = 1; n <= count; ++n)
        slotList << readSlot(settings, n);
    return slotList;
}

QList<Favourite> readFavourites(const DataRoot& root, const SettingsFile& settings) {
    const QStringList names = readNames(root);
    QList<Favourite> all;
    for (int i = 0; i < names.size(); ++i)
        all.append({i, names[i], readSlot(settings, i + 1)});
    return all;
}

void store(SettingsFile& settings, const QList<Contents>& slotList,
           const std::function<void()>& writeNames) {
    const QMap<int, Contents> before = presentSlots(settings);
    QMap<int, Contents> wanted;
    for (qsizetype i = 0; i < slotList.size(); ++i)
        wanted.insert(int(i + 1), slotList[i]);
    writeSlots(settings, wanted);
    try {
        writeNames();
    } catch (const AppError&) {
        try {
            writeSlots(settings, before);
        } catch (const AppError&) {
            // The file took one write a moment ago; the names' error is the one to show.
        }
        throw;
    }
}

QStringList editorRows(const QString& text) {
    return text_lines::split(text);
}

QList<int> matchRows(const QStringList& previous, const QStringList& edited) {
    const qsizetype n = previous.size(), m = edited.size();
    QList<int> match(m, -1);
    QList<bool> used(n, false);
    // The longest common run of names, so that deleting or inserting a row leaves the
    // others with their own favourites even among duplicates.
    QList<QList<int>> lcs(n + 1, QList<int>(m + 1, 0));
    for (qsizetype i = n - 1; i >= 0; --i) {
        for (qsizetype j = m - 1; j >= 0; --j)
            lcs[i][j] = previous[i] == edited[j] ? lcs[i + 1][j + 1] + 1
                                                 : std::max(lcs[i + 1][j], lcs[i][j + 1]);
    }
    // The rows of that run, and an end mark, as (previous, edited) pairs.
    QList<std::pair<qsizetype, qsizetype>> kept;
    for (qsizetype i = 0, j = 0; i < n && j < m;) {
        if (previous[i] == edited[j]) {
            match[j] = int(i);
            used[i] = true;
            kept.append({i, j});
            ++i;
            ++j;
        } else if (lcs[i + 1][j] >= lcs[i][j + 1]) {
            ++i;
        } else {
            ++j;
        }
    }
    kept.append({n, m});
    // Rows moved out of that run: the nearest unused row of the same name, in order.
    for (qsizetype j = 0; j < m; ++j) {
        if (match[j] >= 0)
            continue;
        qsizetype best = -1;
        for (qsizetype i = 0; i < n; ++i) {
            if (!used[i] && previous[i] == edited[j] &&
                (best < 0 || std::abs(i - j) < std::abs(best - j)))
                best = i;
        }
        if (best >= 0) {
            match[j] = int(best);
            used[best] = true;
        }
    }
    // Renamed rows: between two rows of the run, as many rows left without a favourite
    // as favourites left without a row are the same rows under new names, in order.
    // Where the counts differ, rows were deleted or added there, and the names that
    // went take their text with them.
    qsizetype afterI = 0, afterJ = 0;
    for (const auto& [i, j] : kept) {
        QList<qsizetype> gone, fresh;
        for (qsizetype k = afterI; k < i; ++k) {
            if (!used[k])
                gone.append(k);
        }
        for (qsizetype k = afterJ; k < j; ++k) {
            if (match[k] < 0)
                fresh.append(k);
        }
        if (gone.size() == fresh.size()) {
            for (qsizetype k = 0; k < gone.size(); ++k) {
                match[fresh[k]] = int(gone[k]);
                used[gone[k]] = true;
            }
        }
        afterI = i + 1;
        afterJ = j + 1;
    }
    return match;
}

} // namespace favourites
