// The generated data tree: one GBK file per record, the template broken into lines,
// CR LF line ends.

#include "base/core/gbk.h"
#include "catalogue/core/catalogue.h"
#include "catalogue/core/template_lines.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace catalogue;

namespace {

// "data\常用词谱\04.txt" in the app folder of the build tree.
QString onDisk(QString path) {
    path.replace(u'\\', u'/');
    return QStringLiteral(LYREVANE_APP_DATA_DIR "/..") + u'/' + path;
}

void expectFile(const QString& path, const QString& templateText) {
    SCOPED_TRACE(path.toStdString());
    QFile f(onDisk(path));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    bool ok = false;
    const QString text = gbk::decode(bytes, &ok);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(text.endsWith(u"\r\n"));
    EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("[^\\r]\\n"))));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.removeLast(); // after the final line end
    EXPECT_EQ(lines, templateLines(templateText));
}

} // namespace

TEST(TemplateFiles, EveryCiRecordHasItsGbkFile) {
    int n = 0;
    for (PatternList list : kPatternLists) {
        for (const auto& p : patterns(list)) {
            expectFile(templateFilePath(p), p.templateText);
            ++n;
        }
    }
    EXPECT_EQ(n, 107);
}

TEST(TemplateFiles, EveryVerseRecordHasItsGbkFile) {
    for (const auto& v : versePatterns())
        expectFile(templateFilePath(v), v.templateText);
}

TEST(TemplateFiles, StanzaBreakIsAnEmptyLine) {
    QFile f(onDisk(QStringLiteral("data\\常用词谱\\04.txt")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(gbk::decode(f.readAll()), u"◎○◎●○△，●○△，◎●◎○、○●●○△。\r\n\r\n●◎▲，◎○▲，●○△。\r\n"
                                        u"◎●◎○、○●●○△。\r\n");
}
