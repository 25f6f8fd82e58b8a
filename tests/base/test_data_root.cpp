#include "base/core/app_error.h"
#include "base/core/atomic_file.h"
#include "base/core/data_root.h"
#include "base/core/gbk.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace {

QStringList lines(std::initializer_list<const char*> items) {
    QStringList out;
    for (const char* s : items)
        out << QString::fromUtf8(s);
    return out;
}

} // namespace

TEST(TextLines, SplitsOnEveryKindOfLineBreak) {
    struct Case {
        const char* text;
        QStringList expected;
    } cases[] = {
        {"a\r\nb\r\n", lines({"a", "b"})},
        {"a\nb\n", lines({"a", "b"})},
        {"a\rb", lines({"a", "b"})},
        {"a\n\nb", lines({"a", "", "b"})},
        {"a\r\n\r\n", lines({"a", ""})},
        {"", {}},
        {"\n", lines({""})},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text_lines::split(QString::fromUtf8(c.text)), c.expected) << c.text;
}

TEST(DataRoot, ReadsGbkLinesUpToNul) {
    TempTree tree;
    tree.mkdir(QString::fromUtf8("data/常用词谱"));
    tree.put(QString::fromUtf8("data/常用词谱/05.txt"),
             gbk::encode(u"○●○，\n△。") + QByteArray("\0after", 6));
    DataRoot root(tree.path());
    EXPECT_EQ(root.readLines(QString::fromUtf8("data\\常用词谱\\05.txt")), lines({"○●○，", "△。"}));
}

TEST(DataRoot, SaveAndSaveNameOneFolder) {
    TempTree tree;
    tree.mkdir("save");
    DataRoot root(tree.path());
    root.writeText("Save\\MQ1.dat", "x");
    EXPECT_TRUE(tree.exists("save/MQ1.dat"));
    root.writeText("save\\mq1.dat", "y"); // the existing file, whatever its case
    EXPECT_EQ(tree.get("save/MQ1.dat"), QByteArray("y"));
    EXPECT_EQ(root.readText("SAVE\\Mq1.DAT"), "y");
}

TEST(DataRoot, MissingFilesAndFoldersGiveTheProgramsMessages) {
    TempTree tree;
    DataRoot root(tree.path());
    try {
        root.readLines(QString::fromUtf8("data\\常用词谱\\05.txt"));
        FAIL();
    } catch (const AppError& e) {
        EXPECT_EQ(errorBoxText(e.message()),
                  QString::fromUtf8("Cannot open file data\\常用词谱\\05.txt."));
    }
    try {
        root.writeText("save\\mq1.rtf", "x");
        FAIL();
    } catch (const AppError& e) {
        EXPECT_EQ(errorBoxText(e.message()), "Cannot create file save\\mq1.rtf.");
    }
    EXPECT_FALSE(tree.exists("save")) << "nothing is created by a failed write or a read";
}

TEST(ErrorBox, AddsTheFullStopAMessageLacks) {
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {
        {"Cannot open file user.dat", "Cannot open file user.dat."},
        {"No MCI device open.", "No MCI device open."},
        {"找不到音色库，音乐不能播放", "找不到音色库，音乐不能播放。"},
        {"文件已损坏。", "文件已损坏。"},
        {"密码输入不正确！", "密码输入不正确！"},
        {"Cannot open file data\\常用词谱\\05.txt", "Cannot open file data\\常用词谱\\05.txt."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorBoxText(QString::fromUtf8(c.message)), QString::fromUtf8(c.shown))
            << c.message;
}

TEST(DataRoot, WritesTextAndListsWithCrLf) {
    TempTree tree;
    DataRoot root(tree.path());
    root.writeText("temp.dat", QString::fromUtf8("春\n秋"));
    EXPECT_EQ(tree.get("temp.dat"), gbk::encode(u"春\r\n秋"));
    root.writeLines("user.dat", lines({"甲", "乙"}));
    EXPECT_EQ(tree.get("user.dat"), gbk::encode(u"甲\r\n乙\r\n"));
    EXPECT_EQ(root.readLines("user.dat"), lines({"甲", "乙"}));
}

#include <cstddef>
#include <fcntl.h>
#include <iterator>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// From here on this process creates no file: an open that would create one fails with
// ENOSPC, as on a full disk, whoever the user is. Everything else goes on as before (a
// limit on descriptors would do it too, but would also take the pipe through which the
// sanitizers check an object's type, and they would report every virtual call).
bool failEveryFileCreation() {
    // Every open of the C library is an openat; its flags are the third argument.
    constexpr unsigned flagsWord = offsetof(seccomp_data, args) + 2 * sizeof(__u64) +
                                   (__BYTE_ORDER__ == __ORDER_BIG_ENDIAN__ ? 4 : 0);
    sock_filter program[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_openat, 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, flagsWord),
        BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, O_CREAT, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | ENOSPC),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog filter{static_cast<unsigned short>(std::size(program)), program};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter) == 0;
}

} // namespace

// Ways a write fails that hold for every user, root included: something that is not a
// file where the file goes, and a disk too full for the temporary.
TEST(DataRoot, AFailedWriteLeavesTheOldFileWhole) {
    {
        TempTree tree;
        tree.mkdir("save/mq1.rtf");
        tree.put("save/mq1.rtf/inner", "old content");
        EXPECT_FALSE(writeFileAtomically(tree.path("save/mq1.rtf"), "new"));
        EXPECT_EQ(tree.get("save/mq1.rtf/inner"), QByteArray("old content"));
        EXPECT_EQ(
            QDir(tree.path("save"))
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            QStringList({"mq1.rtf"}))
            << "no temporary is left";
    }
    TempTree tree;
    tree.mkdir("save");
    tree.put("save/mq1.rtf", "old content");
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (!failEveryFileCreation())
            _exit(5);
        try {
            DataRoot(tree.path()).writeText("save\\mq1.rtf", "new");
        } catch (const AppError& e) {
            _exit(e.message() == "Cannot create file save\\mq1.rtf" ? 3 : 4);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_FALSE(WIFSIGNALED(status)) << "killed by signal " << WTERMSIG(status);
    ASSERT_NE(WEXITSTATUS(status), 5) << "this system lets no process filter its system calls";
    EXPECT_EQ(WEXITSTATUS(status), 3) << "the write fails with the program's message";
    EXPECT_EQ(tree.get("save/mq1.rtf"), QByteArray("old content"));
    EXPECT_EQ(QDir(tree.path("save")).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList({"mq1.rtf"}));
}

TEST(DataRoot, AFileSizeLimitFailsTheWriteAndLeavesTheOldFileWhole) {
    TempTree tree;
    tree.mkdir("save");
    const QByteArray old = "{\\rtf1 old}";
    tree.put("save/mq1.rtf", old);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A limit of 4 KiB (ulimit -f) and a file larger than that.
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            DataRoot(tree.path()).writeBytes("save\\mq1.rtf", QByteArray(64 * 1024, 'x'));
        } catch (const AppError& e) {
            _exit(e.message() == "Cannot create file save\\mq1.rtf" ? 3 : 4);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_FALSE(WIFSIGNALED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 3) << "the write fails with the program's message";
    EXPECT_EQ(tree.get("save/mq1.rtf"), old);
}

TEST(DataRoot, ATextFileSavedAsUtf8IsReadAsUtf8) {
    TempTree tree;
    tree.put("temp.dat", QString::fromUtf8("诗词常识\n平仄").toUtf8());
    EXPECT_EQ(DataRoot(tree.path()).readLines("temp.dat"), lines({"诗词常识", "平仄"}));
}

TEST(DataRoot, AnOwnFileThatARewriteWouldCutIsKeptAsideFirst) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QStringList lines; // what shows, and what the shutdown writes back
    } cases[] = {
        {"text after a NUL",
         gbk::encode(u"喜迁莺\r\n") + QByteArray("\0", 1) + gbk::encode(u"蝶恋花"),
         lines({"喜迁莺"})},
        {"bytes that are no character",
         gbk::encode(u"喜迁莺\r\n") + "\xff" + gbk::encode(u"蝶恋花"),
         lines({"喜迁莺", "\xef\xbf\xbd蝶恋花"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempTree tree;
        tree.put("user.dat", c.bytes);
        DataRoot root(tree.path());
        QString notice;
        EXPECT_EQ(root.readOwnLines("user.dat", &notice), c.lines);
        EXPECT_TRUE(notice.contains("user.dat.orig")) << notice.toStdString();
        EXPECT_EQ(tree.get("user.dat.orig"), c.bytes);
        // Read again before any shutdown: the same original is not kept a second time.
        root.readOwnLines("user.dat", &notice);
        EXPECT_FALSE(tree.exists("user.dat.orig.1"));
    }
    TempTree tree;
    tree.put("user.dat", gbk::encode(u"喜迁莺\r\n"));
    QString notice = "x";
    EXPECT_EQ(DataRoot(tree.path()).readOwnLines("user.dat", &notice), lines({"喜迁莺"}));
    EXPECT_TRUE(notice.isEmpty());
    EXPECT_FALSE(tree.exists("user.dat.orig"));
}

// Which names beside a file count as temporaries a killed write left: the name in any
// case, optionally .orig or .orig.N, then our mark and six random letters or digits.
// A suffix a person gave a copy stays, whatever its letters.
TEST(AtomicFile, RemovesOnlyTheTemporariesOfItsFile) {
    TempTree tree;
    struct Case {
        const char* name;
        bool stale;
    } cases[] = {
        {"mq1.rtf.lyrevane-tmp-tSlQ9K", true},
        {"MQ1.RTF.lyrevane-tmp-qwerty", true},
        {"mq1.rtf.orig.lyrevane-tmp-pQrStU", true},
        {"mq1.rtf.ORIG.12.lyrevane-tmp-xYzAbC", true},
        {"mq1.rtf.orig..lyrevane-tmp-xYzAbC", false}, // .N without its digits
        {"mq1.rtf.orig.1x.lyrevane-tmp-xYzAbC", false},
        {"mq1.rtf.lyrevane-tmp-tSlQZ", false},
        {"mq1.rtf.lyrevane-tmp-tSlQZKa", false},
        {"mq1.rtf.lyrevane-tmp-tSl.ZK", false},
        {"mq1.rtf.LYREVANE-TMP-tSlQZK", false},
        {"mq1.rtf.BackUp", false}, // copies someone named, in mixed case too
        {"mq1.rtf.OldOne", false},
        {"mq1.rtf.tSlQZK", false},
        {"mq1.rtf.orig.pQrStU", false},
        {"mq1.rtf.orig.12", false},
        {"mq1.rtf", false},
        {"xmq1.rtf.lyrevane-tmp-tSlQZK", false},
        {"mq2.rtf.lyrevane-tmp-tSlQZK", false},
    };
    for (const auto& c : cases)
        tree.put(QString::fromUtf8(c.name), "x");
    EXPECT_EQ(removeStaleTemporaries(tree.path(QStringLiteral("mq1.rtf"))), 4);
    for (const auto& c : cases)
        EXPECT_EQ(tree.exists(QString::fromUtf8(c.name)), !c.stale) << c.name;
}

// The temporaries a write makes are the ones start-up removes, and a finished write
// leaves none; the file keeps its permissions, and a link stays a link.
TEST(AtomicFile, AWriteLeavesOnlyTheFileWithItsPermissions) {
    TempTree tree;
    const QString file = tree.path("mq1.rtf");
    tree.put("mq1.rtf", "old");
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                    QFileDevice::ReadGroup);
    ASSERT_TRUE(QFile::link(file, tree.path("link.rtf")));
    EXPECT_TRUE(writeFileAtomically(tree.path("link.rtf"), "new"));
    EXPECT_EQ(tree.get("mq1.rtf"), "new");
    EXPECT_TRUE(QFileInfo(tree.path("link.rtf")).isSymLink());
    const auto user = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
    EXPECT_EQ(QFile::permissions(file) & ~user,
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    EXPECT_EQ(QDir(tree.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList({"link.rtf", "mq1.rtf"}));
}

// An installed program: the user's own files in their folder, everything else read from
// the shipped one, whatever letter case or kept-aside suffix the name carries.
TEST(DataRoot, AnInstalledTreeKeepsTheUsersFilesApartFromTheShippedOnes) {
    TempTree user, shipped;
    user.mkdir("save");
    shipped.mkdir("save");
    shipped.mkdir("data");
    user.put("save/mq1.rtf", "mine");
    shipped.put("save/mq1.rtf", "shipped");
    shipped.put("data/x.txt", "shipped data");
    user.put("user.dat", "names");
    user.put("data.dat", "template");
    const DataRoot root(user.path(), shipped.path());

    struct Case {
        const char* path;
        bool users;
    } cases[] = {{"save\\mq1.rtf", true},   {"SAVE/mq1.rtf", true}, {"user.dat", true},
                 {"User.Dat.orig.1", true}, {"temp.dat", true},     {"data.dat", true},
                 {"Mqini.ini", true},       {"data\\x.txt", false}, {"data.datx", false},
                 {"userdat", false},        {"themes", false}};
    for (const Case& c : cases)
        EXPECT_EQ(DataRoot::isUserPath(QString::fromUtf8(c.path)), c.users) << c.path;

    EXPECT_EQ(root.readBytes("save\\mq1.rtf"), "mine");
    EXPECT_EQ(root.readBytes("data\\x.txt"), "shipped data");
    EXPECT_EQ(root.readBytes("data.dat"), "template");
    EXPECT_EQ(root.shippedFolder(), shipped.path());
    root.writeBytes("temp.dat", "written");
    EXPECT_EQ(user.get("temp.dat"), "written");
    EXPECT_FALSE(shipped.exists("temp.dat"));
    // Nothing of the shipped tree is written through the user's tree.
    EXPECT_THROW(root.writeBytes("data\\x.txt", "changed"), AppError);
    EXPECT_EQ(shipped.get("data/x.txt"), "shipped data");
}
