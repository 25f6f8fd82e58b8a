#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "support/run_cli.h"

#include <gtest/gtest.h>

namespace {

CliRun cli(const QStringList& args) {
    return runCli(args);
}

} // namespace

TEST(RhymeCli, ExitCodesAndOneErrorLine) {
    struct Case {
        QStringList args;
        int code;
    };
    const Case cases[] = {
        {{QStringLiteral("rhyme")}, 0},
        {{QStringLiteral("rhyme"), QStringLiteral("现代诗韵")}, 0},
        {{QStringLiteral("rhyme"), QStringLiteral("2"), QStringLiteral("0")}, 0},
        {{QStringLiteral("rhyme"), QStringLiteral("新韵简观"),
          QStringLiteral("冬 ong,iong,eng,ing")},
         0},
        {{QStringLiteral("rhyme"), QStringLiteral("词韵")}, 1},
        {{QStringLiteral("rhyme"), QStringLiteral("4")}, 1},
        {{QStringLiteral("rhyme"), QStringLiteral("词韵简编"), QStringLiteral("33")}, 1},
        {{QStringLiteral("rhyme"), QStringLiteral("词韵简编"), QStringLiteral("第一部")}, 1},
        {{QStringLiteral("rhyme"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")},
         2},
        {{QStringLiteral("rhyme"), QStringLiteral("--xml")}, 2},
        {{QStringLiteral("rhyme-of"), QStringLiteral("东")}, 0},
        {{QStringLiteral("rhyme-of"), QStringLiteral("𠀀")}, 1},
        {{QStringLiteral("rhyme-of"), QStringLiteral("东风")}, 2},
        {{QStringLiteral("rhyme-of")}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.code, c.code);
        if (c.code == 0) {
            EXPECT_FALSE(r.out.isEmpty());
            EXPECT_TRUE(r.err.isEmpty());
        } else {
            EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
        }
    }
}

TEST(RhymeCli, EntryShowsNameFinalsAndCharacters) {
    const CliRun r = cli({QStringLiteral("rhyme"), QStringLiteral("词韵简编"),
                          QStringLiteral("第十一部 平声：八庚九青十蒸通用")});
    const QStringList lines = r.out.split(u'\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("第十一部 平声：八庚九青十蒸通用"));
    EXPECT_EQ(lines[1], QStringLiteral("finals: eng,ing,"));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("【八庚】庚")));

    // A split-view name gives the whole group, level entry first.
    const CliRun g = cli({QStringLiteral("rhyme"), QStringLiteral("现代诗韵"),
                          QStringLiteral("六儿（通支、齐部） er"), QStringLiteral("--json")});
    const QJsonArray a = QJsonDocument::fromJson(g.out.toUtf8()).array();
    ASSERT_EQ(a.size(), 2);
    EXPECT_EQ(a[0][QStringLiteral("characters")].toString(), QStringLiteral("儿而"));
    EXPECT_EQ(a[1][QStringLiteral("tone")].toString(), QStringLiteral("仄声"));
}

TEST(RhymeCli, RhymeOfListsEveryBookWithToneClass) {
    const CliRun r =
        cli({QStringLiteral("rhyme-of"), QStringLiteral("月"), QStringLiteral("--json")});
    ASSERT_EQ(r.code, 0);
    QStringList got;
    for (const QJsonValue& v : QJsonDocument::fromJson(r.out.toUtf8()).array())
        got << v[QStringLiteral("book")].toString() + u' ' + v[QStringLiteral("tone")].toString();
    EXPECT_EQ(got, QStringList({QStringLiteral("词韵简编 入声"), QStringLiteral("新韵简观 仄声"),
                                QStringLiteral("现代诗韵 仄声")}));
}
