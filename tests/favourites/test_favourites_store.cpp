#include "base/core/app_error.h"
#include "base/core/settings_file.h"
#include "favourites/core/favourites_store.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

using favourites::Contents;

namespace {

QStringList rows(const char* lines) {
    return QString::fromUtf8(lines).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

} // namespace

TEST(FavouritesStore, EditedRowsFindTheirOwnFavourites) {
    struct Case {
        const char* what;
        const char* before;
        const char* after;
        QList<int> match;
    } cases[] = {
        {"first deleted", "A,B,C", "B,C", {1, 2}},
        {"inserted at the top", "A,B", "X,A,B", {-1, 0, 1}},
        {"reordered", "A,B,C", "C,A,B", {2, 0, 1}},
        {"swapped", "A,B", "B,A", {1, 0}},
        {"renamed in place", "A,B,C", "A,Z,C", {0, 1, 2}},
        {"the last renamed", "A,B", "A,Z", {0, 1}},
        {"every row renamed", "A,B", "Y,Z", {0, 1}},
        {"renamed below a deleted row", "A,B,C,D", "B,Z,D", {1, 2, 3}},
        {"two rows became one new name", "A,B,C", "A,Z", {0, -1}},
        {"a name added beside a changed one", "A,B", "A,Z,Y", {0, -1, -1}},
        {"a changed name where one was deleted", "A,B,C", "Z,C", {-1, 2}},
        {"first of two equal names deleted", "A,X,A", "X,A", {1, 2}},
        {"second of two equal names deleted", "A,X,A", "A,X", {0, 1}},
        {"equal names keep their order", "A,A,B", "B,A,A", {2, 0, 1}},
        {"a third equal name is new", "A,A", "A,A,A", {0, 1, -1}},
        {"everything removed", "A,B", "", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(favourites::matchRows(rows(c.before), rows(c.after)), c.match) << c.what;
}

TEST(FavouritesStore, EditorRowsIgnoreOnlyTheBreakAtTheEnd) {
    EXPECT_EQ(favourites::editorRows(QStringLiteral("A\nB\n")), QStringList({"A", "B"}));
    EXPECT_EQ(favourites::editorRows(QStringLiteral("A\n\nB")), QStringList({"A", "", "B"}));
    EXPECT_EQ(favourites::editorRows(QStringLiteral("A\n\n")), QStringList({"A", ""}));
    EXPECT_TRUE(favourites::editorRows(QString()).isEmpty());
}

TEST(FavouritesStore, SlotsPastTheListAreRemovedAndPutBackWhenTheNamesFail) {
    TempTree tree;
    SettingsFile settings(tree.path("Mqini.ini"));
    const QList<Contents> three = {{"甲", "一\r\n二", "○●"}, {"乙", "", "●○"}, {"丙", "", "△"}};
    favourites::store(settings, three, [] {});
    EXPECT_EQ(favourites::readSlots(settings, 3), three) << "several lines come back whole";

    const QByteArray before = tree.get("Mqini.ini");
    EXPECT_THROW(
        favourites::store(settings, {three[1]},
                          [] { throw AppError::cannotCreate(QStringLiteral("user.dat")); }),
        AppError);
    EXPECT_EQ(favourites::readSlots(settings, 3), three);
    EXPECT_EQ(tree.get("Mqini.ini"), before);

    favourites::store(settings, {three[1]}, [] {});
    EXPECT_EQ(favourites::readSlots(settings, 1), QList<Contents>{three[1]});
    EXPECT_TRUE(favourites::readSlot(settings, 2).title.isEmpty());
}

// A key no list can reach, as a hand edit or a damaged file leaves it, is no slot: storing
// reads only the slots that are there, and leaves such a key as it stands.
TEST(FavouritesStore, AKeyPastAnyRowIsLeftAsItStands) {
    for (const char* key : {"2147483647", "1000001", "99999999999"}) {
        SCOPED_TRACE(key);
        TempTree tree;
        const QByteArray odd = QByteArray(key) + "=x";
        tree.put("Mqini.ini", "[\xb1\xea\xcc\xe2]\r\n" + odd + "\r\n7=gone\r\n");
        SettingsFile settings(tree.path("Mqini.ini"));
        const QList<Contents> one = {{"甲", "一", "○●"}};
        favourites::store(settings, one, [] {});
        EXPECT_EQ(favourites::readSlots(settings, 1), one);
        EXPECT_EQ(settings.keys(QStringLiteral("标题")), QStringList({key, "1"}))
            << "slot 7 is past the list and goes";
        EXPECT_TRUE(tree.get("Mqini.ini").contains(odd));

        EXPECT_THROW(
            favourites::store(settings, {},
                              [] { throw AppError::cannotCreate(QStringLiteral("user.dat")); }),
            AppError);
        EXPECT_EQ(favourites::readSlots(settings, 1), one) << "put back";
        EXPECT_TRUE(tree.get("Mqini.ini").contains(odd));
    }
}
