#include "base/core/app_error.h"
#include "base/core/gbk.h"
#include "base/core/settings_file.h"
#include "support/temp_tree.h"

#include <functional>
#include <sys/inotify.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

struct Ini {
    TempTree tree;
    SettingsFile file{tree.path("Mqini.ini")};
    void put(const char* text) { tree.put("Mqini.ini", gbk::encode(QString::fromUtf8(text))); }
    QString text() const { return gbk::decode(tree.get("Mqini.ini")); }
};

} // namespace

TEST(SettingsFile, SectionsAndKeysMatchWithoutRegardToCase) {
    Ini ini;
    ini.put("[TEMP]\r\nchecked26=0\r\n[font]\r\nsize1= 14 \r\n");
    EXPECT_FALSE(ini.file.readBool("temp", "checked26", true));
    EXPECT_FALSE(ini.file.readBool("Temp", "CHECKED26", true));
    EXPECT_EQ(ini.file.readInteger("Font", "size1", 10), 14);
    EXPECT_EQ(ini.file.readInteger("Font", "size2", 10), 10);
    EXPECT_EQ(ini.file.readString("guide", "visible", "x"), "x");
}

TEST(SettingsFile, IntegersAndColours) {
    struct Case {
        const char* text;
        std::optional<qint32> value;
    } cases[] = {
        {"-2147483643", qint32(0x80000005u)}, // the window colour
        {"0x000000FF", 0xFF},                 // pure red
        {"0X80000005", qint32(0x80000005u)},
        {"$ff", 255},
        {"-1", -1},
        {" 42 ", 42},
        {"12abc", std::nullopt},
        {"", std::nullopt},
        {"4294967296", std::nullopt},
        {"true", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SettingsFile::parseInteger(QString::fromUtf8(c.text)), c.value) << c.text;

    Ini ini;
    ini.put("[font]\r\nbackdrop1=-2147483643\r\ncolor1=0x000000FF\r\nsize1=big\r\n[Temp]\r\nlist1=-"
            "1\r\n");
    EXPECT_EQ(ini.file.readInteger("font", "backdrop1", 0), qint32(0x80000005u));
    EXPECT_EQ(ini.file.readInteger("font", "color1", 0), 0xFF);
    EXPECT_EQ(ini.file.readInteger("font", "size1", 10), 10);
    EXPECT_EQ(ini.file.readInteger("Temp", "list1", 0), -1);
}

TEST(SettingsFile, WritesReplaceInPlaceInsertAfterTheSectionAndAppendSections) {
    Ini ini;
    ini.put("; kept\r\n[Temp]\r\nlist1=3\r\n\r\n[font]\r\nsize1=10\r\n");
    ini.file.writeInteger("temp", "list1", 5); // in place, the other lines byte for byte
    ini.file.writeInteger("TEMP", "list2", 7); // after the section's last line, before the blank
    ini.file.writeString("guide", "visible", "0"); // a new section at the end, as spelled
    EXPECT_EQ(ini.text(), QString::fromUtf8("; "
                                            "kept\r\n[Temp]\r\nlist1=5\r\nlist2=7\r\n\r\n[font]"
                                            "\r\nsize1=10\r\n[guide]\r\nvisible=0\r\n"));
}

TEST(SettingsFile, FirstSectionAndFirstKeyWin) {
    Ini ini;
    ini.put("[a]\r\nk=1\r\nk=2\r\n[A]\r\nk=3\r\nj=4\r\n");
    EXPECT_EQ(ini.file.readInteger("a", "k", 0), 1);
    EXPECT_EQ(ini.file.readInteger("a", "j", 0), 0)
        << "only the first matching section is searched";
    ini.file.writeInteger("a", "k", 9);
    EXPECT_EQ(ini.text(), QString::fromUtf8("[a]\r\nk=9\r\nk=2\r\n[A]\r\nk=3\r\nj=4\r\n"));
}

TEST(SettingsFile, StringsTrimQuotesAndEmptyValues) {
    Ini ini;
    ini.put("[Font]\r\nfont6=\r\nfont7 =  宋体  \r\nfont8=\"黑体\"\r\n");
    EXPECT_EQ(ini.file.readString("Font", "font6", "default"), "");
    EXPECT_EQ(ini.file.readString("Font", "font7"), QString::fromUtf8("宋体"));
    EXPECT_EQ(ini.file.readString("Font", "font8"), QString::fromUtf8("黑体"));
}

TEST(SettingsFile, MultiLineAndEdgeCaseTextsComeBackExactly) {
    const char* texts[] = {
        "十六字令，又名《苍梧谣》。\r\n第二行\n第三行\r末行",
        "  leading and trailing blanks  ",
        "\"quoted\"",
        "@Text(looks like ours)",
        "back\\slash \\n not a break",
        "",
        "emoji 😀 beyond GBK",
        "ǹ ḿ ⿰ ⺁ 㑇 䴓 € 😀", // GBK codes that other tables read as private use
    };
    Ini ini;
    for (const char* t : texts) {
        const QString text = QString::fromUtf8(t);
        ini.file.writeString("temp", "text1", text);
        EXPECT_EQ(ini.file.readString("temp", "text1"), text) << t;
        EXPECT_EQ(ini.text().count('\n'), 2) << "one section line and one key line";
    }
}

TEST(SettingsFile, ValuesWrittenByHandReadUnchanged) {
    Ini ini;
    ini.put("[temp]\r\ntext1=a\\nb @Text( c\r\n");
    EXPECT_EQ(ini.file.readString("temp", "text1"), QString::fromUtf8("a\\nb @Text( c"));
}

TEST(SettingsFile, ReadsAtMost2047BytesWithoutSplittingACharacter) {
    Ini ini;
    ini.put(("[temp]\r\ntext1=a" + QByteArray(3000, 'x') + "\r\n").constData());
    EXPECT_EQ(ini.file.readString("temp", "text1").size(), 2047);
    ini.put(("[temp]\r\ntext1=a" +
             gbk::decode(QByteArray(1200, 'x').replace('x', "\xd6\xd0")).toUtf8() + "\r\n")
                .constData());
    const QString value = ini.file.readString("temp", "text1");
    EXPECT_EQ(value.size(), 1 + 1023) << "2046 bytes: the next character would be cut in half";
    EXPECT_FALSE(value.contains(QChar(QChar::ReplacementCharacter)));
}

TEST(SettingsFile, ABatchLeavesWhatSingleWritesWouldHave) {
    Ini single, batched;
    auto writeAll = [](SettingsFile& f) {
        f.writeString("Font", "font6", "");
        f.writeInteger("font", "size1", 12);
        f.writeInteger("Temp", "list1", -1);
        f.writeBool("temp", "visible1", true);
        f.writeInteger("font", "size1", 14);
    };
    writeAll(single.file);
    batched.file.beginBatch();
    writeAll(batched.file);
    EXPECT_FALSE(batched.tree.exists("Mqini.ini")) << "nothing reaches the disk before the commit";
    EXPECT_EQ(batched.file.readInteger("font", "size1", 0), 14);
    batched.file.commitBatch();
    EXPECT_EQ(batched.text(), single.text());
    EXPECT_EQ(
        single.text(),
        QString::fromUtf8("[Font]\r\nfont6=\r\nsize1=14\r\n[Temp]\r\nlist1=-1\r\nvisible1=1\r\n"));
}

// Writes and removals keep the file's lines where a fresh read of the file would put
// them: among blank lines and comments, with a key set twice, a section repeated, a
// section emptied and one added. Each step is taken three ways: by a handle that reads
// the file afresh, by one handle step after step, and by one batch.
TEST(SettingsFile, LongRunsOfChangesLeaveWhatEachChangeOnAFreshReadWould) {
    struct Step {
        char op; // w: write, r: remove
        const char* section;
        const char* key;
        const char* value;
    } steps[] = {
        {'w', "a", "new1", "1"},  {'r', "a", "k", ""},     {'w', "a", "K", "3"},
        {'r', "a", "new1", ""},   {'w', "a", "new2", "2"}, {'w', "c", "z", "1"},
        {'w', "C", "y", "2"},     {'r', "b", "x", ""},     {'w', "b", "w", "5"},
        {'r', "c", "z", ""},      {'r', "c", "y", ""},     {'w', "c", "v", "6"},
        {'w', "A", "j", "7"},     {'r', "a", "K", ""},     {'r', "a", "k", ""},
        {'w', "a", "new3", "8"},  {'w', "a", ";k", "9"},   {'w', "a", "[d]x", "10"},
        {'w', "a", "new4", "11"},
    };
    const char* start = "; c\r\n[a]\r\nk=1\r\n\r\nk=2\r\n; note\r\n\r\n[b]\r\nx=1\r\n"
                        "[A]\r\nj=4\r\n\r\n";
    Ini fresh, stepwise, batched;
    for (Ini* ini : {&fresh, &stepwise, &batched})
        ini->put(start);
    auto apply = [](SettingsFile& f, const Step& s) {
        if (s.op == 'w')
            f.writeString(s.section, s.key, s.value);
        else
            f.removeKey(s.section, s.key);
    };
    batched.file.beginBatch();
    for (const Step& s : steps) {
        SCOPED_TRACE(std::string(1, s.op) + " " + s.section + " " + s.key);
        SettingsFile once(fresh.tree.path("Mqini.ini"));
        apply(once, s);
        apply(stepwise.file, s);
        apply(batched.file, s);
        EXPECT_EQ(stepwise.text(), fresh.text());
        SettingsFile reread(fresh.tree.path("Mqini.ini"));
        for (const char* section : {"a", "b", "c", "d"}) {
            EXPECT_EQ(batched.file.keys(section), reread.keys(section)) << section;
            for (const QString& key : reread.keys(section))
                EXPECT_EQ(batched.file.readString(section, key, "-"),
                          reread.readString(section, key, "-"))
                    << section << " " << key.toStdString();
        }
    }
    batched.file.commitBatch();
    EXPECT_EQ(batched.text(), fresh.text());
    EXPECT_EQ(fresh.text(),
              QString::fromUtf8("; c\r\n[a]\r\n\r\n; note\r\nnew2=2\r\nj=7\r\nnew3=8\r\n;k=9\r\n"
                                "new4=11\r\n[d]x=10\r\n\r\n[b]\r\nw=5\r\n[A]\r\nj=4\r\n\r\n"
                                "[c]\r\nv=6\r\n"));
}

TEST(SettingsFile, AFailedWriteNamesTheFullPath) {
    SettingsFile file("/nonexistent-folder/Mqini.ini");
    try {
        file.writeBool("guide", "visible", false);
        FAIL();
    } catch (const AppError& e) {
        EXPECT_EQ(e.message(), "Unable to write to /nonexistent-folder/Mqini.ini");
    }
}

TEST(SettingsFile, LongValuesWeWriteComeBackWhole) {
    Ini ini;
    const QString poem = QString(1500, QChar(0x8BCD)); // 3000 GBK bytes on one line
    ini.file.writeString(QString::fromUtf8("诗词"), "1", poem);
    EXPECT_EQ(ini.file.readString(QString::fromUtf8("诗词"), "1"), poem);
}

TEST(SettingsFile, AFileThatExistsButCannotBeReadIsNotReplaced) {
    Ini ini;
    ini.tree.mkdir("Mqini.ini"); // there, but not readable as a file
    EXPECT_EQ(ini.file.readInteger("temp", "list1", 7), 7);
    EXPECT_THROW(ini.file.writeBool("guide", "visible", false), AppError);
    EXPECT_TRUE(QFileInfo(ini.tree.path("Mqini.ini")).isDir());
}

TEST(SettingsFile, ValuesWrittenBackUnchangedKeepTheirBytes) {
    // A text the program reads and writes back as it read it keeps its line, even when
    // the read was cut at the limit.
    const QByteArray longValue = "a" + QByteArray(3000, 'x');
    struct Case {
        const char* name;
        QByteArray line;
        std::function<void(SettingsFile&)> readAndWriteBack;
    } cases[] = {
        {"a value longer than the read limit", "text1=" + longValue,
         [](SettingsFile& f) { f.writeString("temp", "text1", f.readString("temp", "text1")); }},
        {"a quoted value", "text1=\"a b\"",
         [](SettingsFile& f) { f.writeString("temp", "text1", f.readString("temp", "text1")); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Ini ini;
        const QByteArray text = "[temp]\r\n" + c.line + "\r\nlist2=3\r\n";
        ini.tree.put("Mqini.ini", text);
        c.readAndWriteBack(ini.file);
        ini.file.writeInteger("temp", "list2", 4); // the file is rewritten around it
        QByteArray expected = text;
        expected.replace("list2=3", "list2=4");
        EXPECT_EQ(ini.tree.get("Mqini.ini"), expected);
    }
}

TEST(SettingsFile, ReadingEveryKeyOpensTheFileOnceAndWritesElsewhereAreSeen) {
    Ini ini;
    QByteArray text = "[temp]\r\n";
    for (int n = 1; n <= 200; ++n)
        text += "text" + QByteArray::number(n) + "=" + QByteArray::number(n) + "\r\n";
    ini.tree.put("Mqini.ini", text);

    // Counts the opens of the file, as the kernel reports them (closes are watched too,
    // since the kernel folds repeated identical events into one).
    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(ini.tree.path("Mqini.ini")).constData(),
                                IN_OPEN | IN_CLOSE),
              0);
    for (int n = 1; n <= 200; ++n)
        ASSERT_EQ(ini.file.readInteger("temp", QStringLiteral("text%1").arg(n), 0), n);
    int opens = 0;
    alignas(inotify_event) char events[4096];
    for (ssize_t got; (got = ::read(watch, events, sizeof events)) > 0;) {
        for (char* at = events; at < events + got;) {
            auto* event = reinterpret_cast<inotify_event*>(at);
            opens += (event->mask & IN_OPEN) ? 1 : 0;
            at += sizeof(inotify_event) + event->len;
        }
    }
    ::close(watch);
    EXPECT_EQ(opens, 1);

    // Another handle's write replaces the file; this handle reads the new value.
    SettingsFile other(ini.tree.path("Mqini.ini"));
    other.writeInteger("temp", "text7", 70);
    EXPECT_EQ(ini.file.readInteger("temp", "text7", 0), 70);
    ini.file.writeInteger("temp", "text8", 80);
    EXPECT_EQ(other.readInteger("temp", "text7", 0), 70);
    EXPECT_EQ(other.readInteger("temp", "text8", 0), 80);
}
