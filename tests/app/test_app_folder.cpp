// The program as a user starts it: which folder it works in, one copy per folder,
// the faces of its lists and Qt's own texts in Chinese.

#include "app/core/app_folder.h"
#include "app/ui/fonts.h"
#include "app/ui/qt_translations.h"
#include "support/app_fixture.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QGlyphRun>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRawFont>
#include <QTest>
#include <QTextLayout>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

// A folder with the data tree of a first install.
struct Folder {
    AppFixture app; // seeds the tree
    QString path() const { return app.tree.path(); }
};

bool waitFor(const std::function<bool()>& done, int ms = 20000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QTest::qWait(50);
    }
    return true;
}

// The program itself (or a copy of it), started in `folder` on the headless platform.
std::unique_ptr<QProcess>
startProgram(const QString& folder, const QString& program = LYREVANE_BUILT_APP_DIR "/lyrevane") {
    auto p = std::make_unique<QProcess>();
    p->setWorkingDirectory(folder);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p->setProcessEnvironment(env);
    p->start(program, {});
    EXPECT_TRUE(p->waitForStarted());
    return p;
}

qint64 lockHolder(const QString& folder) {
    QFile f(QDir(folder).filePath(FolderLock::lockFileName()));
    return f.open(QIODevice::ReadOnly) ? f.readLine().trimmed().toLongLong() : 0;
}

QByteArray everyFile(const QString& folder) {
    QByteArray all;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        if (file.endsWith(FolderLock::lockFileName()))
            continue;
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        all += file.toUtf8() + '\n' + f.readAll();
    }
    return all;
}

} // namespace

TEST(AppFolder, TheCurrentFolderUnlessOnlyTheExecutablesHoldsTheDataTree) {
    Folder withTree, alsoWithTree;
    QTemporaryDir empty;
    struct Case {
        QString current, executable, chosen;
    } cases[] = {
        {withTree.path(), alsoWithTree.path(), withTree.path()},
        {empty.path(), withTree.path(), withTree.path()},
        {empty.path(), empty.path(), empty.path()}, // reported as missing files
    };
    for (const Case& c : cases)
        EXPECT_EQ(app_folder::chooseDataFolder(c.current, c.executable), c.chosen);
}

TEST(AppFolder, StartedFromAnotherFolderItWorksInTheExecutablesOne) {
    Folder app; // the app folder: the data tree and a copy of the program
    const QString program = app.path() + "/lyrevane";
    ASSERT_TRUE(QFile::copy(LYREVANE_BUILT_APP_DIR "/lyrevane", program));
    QTemporaryDir elsewhere;
    auto run = startProgram(elsewhere.path(), program);
    EXPECT_TRUE(waitFor([&] { return lockHolder(app.path()) == run->processId(); }))
        << "the executable's folder is the data folder";
    EXPECT_FALSE(QFileInfo::exists(elsewhere.filePath(FolderLock::lockFileName())));
    run->kill();
    run->waitForFinished();
}

// Installed as a package: …/bin/lyrevane with its read-only tree in …/share/lyrevane. The
// user's folder under XDG_DATA_HOME is made on the first start, holding only the user's
// files, and a file already there is kept as it is.
TEST(AppFolder, AnInstalledProgramMakesTheUsersFolderAndKeepsWhatIsThere) {
    QTemporaryDir prefix, home, elsewhere;
    const QString shipped = prefix.filePath("share/lyrevane");
    ASSERT_TRUE(QDir().mkpath(prefix.filePath("bin")));
    ASSERT_TRUE(QDir().mkpath(shipped));
    ASSERT_TRUE(QFile::copy(LYREVANE_BUILT_APP_DIR "/lyrevane", prefix.filePath("bin/lyrevane")));
    QDirIterator it(LYREVANE_BUILT_APP_DIR, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString rel = QDir(LYREVANE_BUILT_APP_DIR).relativeFilePath(file);
        // The program, and a user's files that a run from the build tree may be writing
        // while this copies (the shipped tree has none).
        static const QStringList userFiles = {"lyrevane", "Mqini.ini", "user.dat",
                                              "temp.dat", "data.dat",  "lyrevane.lock"};
        if (userFiles.contains(rel) || rel.startsWith("save/") || rel.contains(".lyrevane-tmp-"))
            continue;
        QDir().mkpath(QFileInfo(shipped + "/" + rel).absolutePath());
        ASSERT_TRUE(QFile::copy(file, shipped + "/" + rel)) << rel.toStdString();
    }
    {
        QFile empty(shipped + "/empty.rtf");
        ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
        empty.write("{\\rtf1\\ansi\\ansicpg936 \\par}");
    }
    const QString user = home.filePath("data/lyrevane");
    ASSERT_TRUE(QDir().mkpath(user + "/save"));
    {
        QFile mine(user + "/save/mq2.rtf");
        ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
        mine.write("{\\rtf1 mine\\par}");
    }

    QProcess run;
    run.setWorkingDirectory(elsewhere.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_DATA_HOME", home.filePath("data"));
    run.setProcessEnvironment(env);
    run.start(prefix.filePath("bin/lyrevane"), {});
    ASSERT_TRUE(run.waitForStarted());
    EXPECT_TRUE(waitFor([&] { return lockHolder(user) == run.processId(); }))
        << run.readAllStandardError().toStdString();
    run.kill();
    run.waitForFinished();

    for (const char* file :
         {"save/mq1.rtf", "save/mq3.rtf", "save/mq5.rtf", "user.dat", "temp.dat", "data.dat"})
        EXPECT_TRUE(QFileInfo::exists(user + "/" + file)) << file;
    QFile mine(user + "/save/mq2.rtf");
    ASSERT_TRUE(mine.open(QIODevice::ReadOnly));
    EXPECT_EQ(mine.readAll(), "{\\rtf1 mine\\par}") << "a document already there is kept";
    EXPECT_FALSE(QFileInfo::exists(user + "/data")) << "the read-only tree stays where it is";
    EXPECT_FALSE(QFileInfo::exists(elsewhere.filePath(FolderLock::lockFileName())));
}

TEST(AppFolder, ASecondCopyOnTheSameFolderWritesNothingAndACrashedOnesLockIsTakenOver) {
    Folder folder;
    auto first = startProgram(folder.path());
    ASSERT_TRUE(waitFor([&] { return lockHolder(folder.path()) == first->processId(); }))
        << first->readAllStandardError().toStdString();
    const QByteArray before = everyFile(folder.path());

    auto second = startProgram(folder.path());
    QByteArray said;
    ASSERT_TRUE(waitFor([&] {
        said += second->readAllStandardError();
        return QString::fromLocal8Bit(said).contains(QString::fromUtf8("已经在这个文件夹上运行"));
    })) << said.toStdString();
    EXPECT_TRUE(QString::fromLocal8Bit(said).contains(QString::number(first->processId())))
        << "names the copy that holds the folder";
    second->kill(); // its box is answered by nobody here
    second->waitForFinished();
    EXPECT_EQ(everyFile(folder.path()), before) << "the second copy touched no file";

    first->kill(); // a crash: the lock file stays behind
    first->waitForFinished();
    ASSERT_NE(lockHolder(folder.path()), 0);
    auto third = startProgram(folder.path());
    EXPECT_TRUE(waitFor([&] { return lockHolder(folder.path()) == third->processId(); }))
        << "a lock whose process has gone is taken over";
    third->kill();
    third->waitForFinished();
}

TEST(Fonts, EveryListInSongDrawsChineseExactlyTwiceAsWideAsAscii) {
    // The app folder's fonts.conf is in force here as in the program (test_main).
    AppFixture app;
    auto form = app.start();
    QStringList checked;
    for (QListWidget* list : form->findChildren<QListWidget*>()) {
        if (list->font().family() != QString::fromUtf8("宋体"))
            continue; // the lists in Tahoma are proportional by design
        checked << list->objectName();
        const QFontMetricsF m(list->font());
        EXPECT_DOUBLE_EQ(m.horizontalAdvance(QString::fromUtf8("凤")), 2 * m.horizontalAdvance("8"))
            << list->objectName().toStdString() << " in "
            << QFontInfo(list->font()).family().toStdString() << " "
            << m.horizontalAdvance(QString::fromUtf8("凤")) << " " << m.horizontalAdvance("8");
    }
    for (const char* patternList : {"skListBox1", "skListBox2", "skListBox3"})
        EXPECT_TRUE(checked.contains(patternList)) << patternList;
}

namespace {

// The faces that draw `text` in `font`, by family and style name.
QStringList facesDrawing(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QStringList faces;
    for (const QGlyphRun& run : layout.glyphRuns())
        faces << run.rawFont().familyName() + u'/' + run.rawFont().styleName();
    faces.removeDuplicates();
    return faces;
}

QImage drawn(const QFont& font, const QString& text) {
    QImage image(QFontMetrics(font).boundingRect(text).size() + QSize(8, 8),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(image.rect(), Qt::AlignCenter, text);
    return image;
}

} // namespace

TEST(Fonts, InterfaceChineseComesFromTheMonospacedFaceOnePerWeight) {
    addFontSubstitutions(); // as the program does at start
    const QString chinese = QString::fromUtf8("律诗绝句，终结版：押韵大师");
    const QString mono = QStringLiteral("Noto Sans Mono CJK SC");
    struct Case {
        const char* family; // empty: the application's default font
        bool bold;
    } cases[] = {{"", false},      {"", true},      {"Tahoma", false},
                 {"Tahoma", true}, {"宋体", false}, {"宋体", true}};
    for (const auto& c : cases) {
        QFont font = *c.family ? QFont(QString::fromUtf8(c.family)) : QApplication::font();
        font.setPixelSize(12);
        font.setBold(c.bold);
        const QStringList faces = facesDrawing(font, chinese);
        ASSERT_EQ(faces.size(), 1) << c.family << " " << faces.join(u',').toStdString();
        EXPECT_TRUE(faces[0].startsWith(mono + u'/', Qt::CaseInsensitive))
            << c.family << " bold " << c.bold << ": " << faces[0].toStdString();
    }
}

TEST(Fonts, TheMonospacedFaceDrawsChineseAsTheSansFaceDoes) {
    // Why the interface may take its Chinese from the monospaced face: in the collection
    // the two share their Chinese glyphs and metrics. The tool bar's characters in 黑体
    // are drawn from it on that ground too.
    const QString text =
        QString::fromUtf8("示存藏查撤剪复粘字邮坛新律律诗绝句，我的收藏：（词牌）");
    for (int pixels : {12, 14, 20, 24}) {
        for (bool bold : {false, true}) {
            QFont sans(QStringLiteral("Noto Sans CJK SC"));
            QFont mono(QStringLiteral("Noto Sans Mono CJK SC"));
            for (QFont* f : {&sans, &mono}) {
                f->setPixelSize(pixels);
                f->setBold(bold);
            }
            ASSERT_EQ(QFontInfo(sans).family(), QStringLiteral("Noto Sans CJK SC"));
            ASSERT_EQ(QFontInfo(mono).family(), QStringLiteral("Noto Sans Mono CJK SC"));
            const QImage a = drawn(sans, text), b = drawn(mono, text);
            ASSERT_EQ(a.size(), b.size()) << pixels << " px, bold " << bold;
            int differ = 0;
            for (int y = 0; y < a.height(); ++y)
                for (int x = 0; x < a.width(); ++x)
                    differ += a.pixel(x, y) != b.pixel(x, y);
            EXPECT_EQ(differ, 0) << "pixels that differ at " << pixels << " px, bold " << bold;
        }
    }
}

TEST(QtTexts, StandardDialogsAndButtonsReadInChinese) {
    QTranslator* chinese = installQtChinese(*qApp);
    ASSERT_NE(chinese, nullptr) << "qt6-translations-l10n is installed by scripts/setup";
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QColorDialog colours;
    colours.setOption(QColorDialog::DontUseNativeDialog);
    const QString cancel = buttons.button(QDialogButtonBox::Cancel)->text();
    const QString colourTitle = colours.windowTitle();
    QCoreApplication::removeTranslator(chinese);
    delete chinese;
    EXPECT_EQ(cancel, QString::fromUtf8("取消"));
    EXPECT_TRUE(colourTitle.contains(QString::fromUtf8("颜色"))) << colourTitle.toStdString();
}
