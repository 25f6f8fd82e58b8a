#include "skin/core/theme_file.h"
#include "skin/ui/look.h"
#include "skin/ui/pictures.h"
#include "skin/ui/side_channel.h"
#include "skin/ui/theme_manager.h"
#include "skin/ui/title_bar.h"

#include <QBuffer>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>

namespace {

using style::ThemeFile;

// A file laid out by hand: a 24-byte header, then records and data where a case puts them.
struct Bytes {
    QByteArray b = QByteArray(24, '\0');
    Bytes() { header(24, 24); }
    void header(quint32 length, quint32 first) {
        qToLittleEndian<quint32>(length, b.data() + 12);
        qToLittleEndian<quint32>(first, b.data() + 20);
    }
    // Appends a record and returns its offset.
    quint32 record(const char* name, quint8 kind, quint32 dataAt, quint32 length, quint32 next) {
        const auto at = quint32(b.size());
        QByteArray r(77, '\0');
        qstrncpy(r.data(), name, 64);
        r[64] = char(kind);
        qToLittleEndian<quint32>(dataAt, r.data() + 65);
        qToLittleEndian<quint32>(length, r.data() + 69);
        qToLittleEndian<quint32>(next, r.data() + 73);
        b += r;
        return at;
    }
    quint32 data(const QByteArray& d) {
        const auto at = quint32(b.size());
        b += d;
        return at;
    }
};

constexpr quint32 kRec = 77;

} // namespace

TEST(ThemeFile, TheChainsLastRecordCarriesNoPropertyAndEarlierNamesWin) {
    struct Case {
        const char* what;
        int records; // chained records, each an integer named by its number
        int expected;
    } cases[] = {{"a first record that ends the chain loads nothing", 1, 0},
                 {"three records yield the first two", 3, 2}};
    for (const Case& c : cases) {
        Bytes f;
        const quint32 dataAt = 24 + kRec * c.records;
        for (int i = 0; i < c.records; ++i) {
            const quint32 next = i + 1 < c.records ? 24 + kRec * (i + 1) : 0;
            f.record(QByteArray::number(i).constData(), ThemeFile::Integer, dataAt + 4 * i, 4,
                     next);
        }
        for (int i = 0; i < c.records; ++i)
            f.data(ThemeFile::integerData(100 + i));
        ThemeFile t;
        ASSERT_TRUE(t.read(f.b)) << c.what;
        EXPECT_EQ(t.count(), c.expected) << c.what;
        EXPECT_EQ(t.integer(QString::number(c.records - 1)), -1) << "the last record's data";
        if (c.expected == 0) {
            EXPECT_EQ(t.integer(u"FormBorderColor"), -1);
            EXPECT_FALSE(t.boolean(u"ButtonTransparentBool"));
            EXPECT_TRUE(t.picture(u"ButtonImage").isEmpty());
        } else {
            EXPECT_EQ(t.integer(u"0"), 100);
            EXPECT_EQ(t.integer(u"1"), 101);
        }
    }

    ThemeFile t;
    ASSERT_TRUE(t.read(
        ThemeFile::write({{"FormBorderColor", ThemeFile::Integer, ThemeFile::integerData(0x123456)},
                          {"FormBorderColor", ThemeFile::Integer, ThemeFile::integerData(7)},
                          {"ButtonTransparentBool", ThemeFile::Boolean, "\x02"},
                          {"FormMinWidthInt", ThemeFile::Integer, "abc"},
                          {"ButtonImage", ThemeFile::Picture, "BM.."}})));
    EXPECT_EQ(t.integer(u"FormBorderColor"), 0x123456) << "a later entry does not replace";
    EXPECT_TRUE(t.boolean(u"ButtonTransparentBool")) << "any non-zero byte is true";
    EXPECT_EQ(t.integer(u"FormMinWidthInt"), -1) << "an integer of three bytes is malformed";
    EXPECT_EQ(t.picture(u"ButtonImage"), "BM..");
}

TEST(ThemeFile, OffsetsOutsideTheFileFailAndALoopStops) {
    struct Case {
        const char* what;
        std::function<void(Bytes&)> build;
        bool ok;
        int count;
    } cases[] = {
        {"shorter than its header", [](Bytes& f) { f.b.truncate(20); }, false, 0},
        {"a header longer than the file", [](Bytes& f) { f.header(4000, 24); }, false, 0},
        {"a first record past the end", [](Bytes& f) { f.header(24, 0xFFFFFFF0u); }, false, 0},
        {"a record cut short",
         [](Bytes& f) {
             f.record("A", ThemeFile::Integer, 0, 4, 24 + kRec);
             f.b.truncate(24 + 40);
         },
         false, 0},
        {"data running past the end",
         [](Bytes& f) {
             f.record("A", ThemeFile::Integer, 24, 0xFFFFFFFFu, 24 + kRec);
             f.record("B", ThemeFile::Integer, 0, 0, 0);
         },
         false, 0},
        {"a next offset past the end",
         [](Bytes& f) { f.record("A", ThemeFile::Integer, 0, 4, 0x7FFFFFFF); }, false, 0},
        {"a chain that comes back on itself",
         [](Bytes& f) {
             f.record("A", ThemeFile::Integer, 0, 4, 24 + kRec);
             f.record("B", ThemeFile::Integer, 4, 4, 24); // back to the first
         },
         true, 2},
    };
    for (const Case& c : cases) {
        Bytes f;
        c.build(f);
        ThemeFile t;
        QString error;
        QBuffer buffer(&f.b);
        buffer.open(QIODevice::ReadOnly);
        EXPECT_EQ(t.read(buffer, &error), c.ok) << c.what;
        EXPECT_EQ(t.count(), c.count) << c.what;
        EXPECT_EQ(error.isEmpty(), c.ok) << c.what;
    }
}

TEST(FileTheme, AMissingPathTriesTheExecutablesFolderThenChangesNothing) {
    const QString name =
        QStringLiteral("lyrevane-test-%1.theme").arg(QCoreApplication::applicationPid());
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    QFile out(beside);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(style::ThemeFile::write({{"FormBackgroundColor", style::ThemeFile::Integer,
                                        style::ThemeFile::integerData(0x00FF00)}}));
    out.close();

    TskFileTheme theme("skFileTheme1", nullptr);
    EXPECT_TRUE(theme.setThemeFile(QStringLiteral("/nowhere/") + name));
    EXPECT_EQ(theme.theme().integer(u"FormBackgroundColor"), 0x00FF00);
    EXPECT_EQ(skin::Look::make(UIStyle::FromThemeFile, &theme.theme()).formBackground,
              QColor(0, 255, 0));
    EXPECT_EQ(skin::Look::make(UIStyle::FromThemeFile, &theme.theme()).formBorder,
              skin::Look::make(UIStyle::DeepBlue).formBorder)
        << "what the theme lacks is DeepBlue's";

    EXPECT_FALSE(theme.setThemeFile(QStringLiteral("/nowhere/absent.theme")));
    EXPECT_EQ(theme.themeFile(), QStringLiteral("/nowhere/") + name) << "nothing changed";
    EXPECT_EQ(theme.theme().count(), 1);
    QFile::remove(beside);
}

TEST(ThemePictures, TheShippedThemesCarryEveryPictureWithAlphaForScaleTwo) {
    // The frames each picture is cut into where it is drawn.
    const struct {
        const char* name;
        int frames;
    } pictures[] = {
        {"ButtonImage", 4},           {"CheckBoxImage", 8},        {"RadioButtonImage", 8},
        {"TitleBarLeftImage", 2},     {"TitleBarClientImage", 2},  {"TitleBarRightImage", 2},
        {"TitleBarButtonImage", 12},  {"ScrollBarSliderImage", 3}, {"ScrollBarButtonImage", 12},
        {"TabControlTabImage", 3},    {"TabControlBarImage", 1},   {"SideChannelBarImage", 1},
        {"SideChannelHandleImage", 2}};
    for (const char* file : {"moyun.theme", "qingci.theme"}) {
        QFile in(QStringLiteral(LYREVANE_BUILT_APP_DIR "/themes/") + QLatin1String(file));
        ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << file;
        ThemeFile t;
        ASSERT_TRUE(t.read(in)) << file;
        for (const auto& p : pictures) {
            SCOPED_TRACE(std::string(file) + " " + p.name);
            const QImage image = QImage::fromData(t.picture(QString::fromLatin1(p.name)), "BMP");
            ASSERT_FALSE(image.isNull());
            EXPECT_TRUE(image.hasAlphaChannel());
            EXPECT_EQ(qRound(image.dotsPerMeterX() / 3780.0), 2) << "drawn for scale 2";
            EXPECT_EQ(image.width() % p.frames, 0);
            if (std::string(p.name) == "RadioButtonImage") {
                EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << "clear outside the circle";
            }
        }
    }
}

TEST(ThemePictures, AButtonTakesItsStatesFrameKeepsItsBorderSharpAndFallsBackWithoutOne) {
    // Four 8 × 8 frames at scale 2, each a one-pixel red border round its own colour.
    const QColor faces[] = {Qt::green, Qt::blue, Qt::yellow, Qt::gray};
    QImage picture(4 * 16, 16, QImage::Format_RGB32);
    for (int f = 0; f < 4; ++f) {
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                picture.setPixelColor(f * 16 + x, y,
                                      x < 2 || y < 2 || x >= 14 || y >= 14 ? QColor(Qt::red)
                                                                           : faces[f]);
    }
    picture.setDotsPerMeterX(7559);
    picture.setDotsPerMeterY(7559);
    QBuffer bmp;
    bmp.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.save(&bmp, "BMP"));
    ThemeFile withPicture, without;
    ASSERT_TRUE(
        withPicture.read(ThemeFile::write({{"ButtonImage", ThemeFile::Picture, bmp.data()}})));
    ASSERT_TRUE(without.read(ThemeFile::write(
        {{"FormBackgroundColor", ThemeFile::Integer, ThemeFile::integerData(0xFFFFFF)}})));

    const struct {
        skin::pictures::State state;
        int frame;
    } cases[] = {{{}, 0}, {{true, true}, 1}, {{true, false, true}, 2}, {{false}, 3}};
    // Sharp: within rounding of the picture's own colour, not a mix with its neighbour.
    auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) <= 2 && std::abs(a.green() - b.green()) <= 2 &&
               std::abs(a.blue() - b.blue()) <= 2;
    };
    for (int dpr : {1, 2}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(dpr * 10 + c.frame);
            QImage out(60 * dpr, 30 * dpr, QImage::Format_ARGB32_Premultiplied);
            out.setDevicePixelRatio(dpr);
            out.fill(Qt::white);
            QPainter p(&out);
            skin::pictures::button(p, QRectF(0, 0, 60, 30),
                                   skin::Look::make(UIStyle::FromThemeFile, &withPicture), c.state);
            p.end();
            EXPECT_TRUE(near(out.pixelColor(30 * dpr, 15 * dpr), faces[c.frame]));
            EXPECT_TRUE(near(out.pixelColor(30 * dpr, 0), QColor(Qt::red))) << "the border";
            EXPECT_TRUE(near(out.pixelColor(30 * dpr, dpr), faces[c.frame]))
                << "not blurred inwards";
            EXPECT_TRUE(near(out.pixelColor(0, 15 * dpr), QColor(Qt::red)));
        }
    }
    QImage out(60, 30, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::white);
    QPainter p(&out);
    skin::pictures::button(p, QRectF(0, 0, 60, 30),
                           skin::Look::make(UIStyle::FromThemeFile, &without), {});
    p.end();
    EXPECT_NE(out.pixelColor(30, 0), QColor(Qt::red)) << "the style's own button stands in";
}

TEST(ThemePictures, EveryPictureOfTheShippedThemeIsDrawnByItsControl) {
    QFile in(QStringLiteral(LYREVANE_BUILT_APP_DIR "/themes/moyun.theme"));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray full = in.readAll();
    // The same file with one picture's record renamed, so that the control falls back.
    auto without = [&](const QByteArray& name) {
        QByteArray b = full;
        for (qsizetype at = b.indexOf(name + '\0'); at >= 0; at = b.indexOf(name + '\0', at + 1)) {
            if (at >= 24 && (at - 24) % 77 == 0) {
                b[at] = '~';
                return b;
            }
        }
        ADD_FAILURE() << "no record " << name.constData();
        return b;
    };
    QTemporaryDir dir;
    // Each picture, the control that draws it, and what to grab.
    using Make = std::function<QWidget*(QWidget * window, TskForm & frame)>;
    auto control = [](auto make) -> Make {
        return [make](QWidget* window, TskForm&) -> QWidget* {
            QWidget* w = make(window);
            w->setGeometry(10, 40, 160, 120);
            return w;
        };
    };
    auto titleBar = [](QWidget*, TskForm& frame) -> QWidget* {
        frame.setFramed(true);
        return frame.titleBar();
    };
    auto slider = [control](Qt::Orientation o) {
        return control([o](QWidget* p) {
            auto* s = new QSlider(o, p);
            s->setValue(50);
            return s;
        });
    };
    auto scrollBar = control([](QWidget* p) {
        auto* s = new QScrollBar(Qt::Vertical, p);
        s->setRange(0, 100);
        return s;
    });
    auto tabs = control([](QWidget* p) {
        auto* t = new QTabWidget(p);
        t->addTab(new QWidget, QStringLiteral("婉约"));
        t->addTab(new QWidget, QStringLiteral("豪放"));
        return t;
    });
    auto channel = [](QWidget* window, TskForm&) -> QWidget* {
        auto* c = new TskSideChannel(QStringLiteral("skSideChannel1"), window);
        c->setGeometry(10, 40, 10, 200);
        return c;
    };
    const struct {
        const char* picture;
        Make make;
    } cases[] = {
        {"ButtonImage",
         control([](QWidget* p) { return new QPushButton(QStringLiteral("确定"), p); })},
        {"CheckBoxImage",
         control([](QWidget* p) { return new QCheckBox(QStringLiteral("词"), p); })},
        {"RadioButtonImage",
         control([](QWidget* p) { return new QRadioButton(QStringLiteral("词"), p); })},
        {"TitleBarLeftImage", titleBar},
        {"TitleBarClientImage", titleBar},
        {"TitleBarRightImage", titleBar},
        {"TitleBarButtonImage", titleBar},
        {"ScrollBarSliderImage", scrollBar},
        {"ScrollBarButtonImage", scrollBar},
        {"TabControlTabImage", tabs},
        {"TabControlBarImage", tabs},
        {"SideChannelBarImage", channel},
        {"SideChannelHandleImage", channel},
        {"CheckListBoxImage", control([](QWidget* p) {
             auto* list = new QListWidget(p);
             auto* item = new QListWidgetItem(QStringLiteral("词"), list);
             item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
             item->setCheckState(Qt::Checked);
             return list;
         })},
        {"ProgressBarImage", control([](QWidget* p) {
             auto* bar = new QProgressBar(p);
             bar->setValue(50);
             return bar;
         })},
        {"TrackBarBarImage", slider(Qt::Horizontal)},
        {"TrackBarSliderImage", slider(Qt::Horizontal)},
        {"TrackBarSliderVImage", slider(Qt::Vertical)},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.picture);
        QImage drawn[2];
        for (int lacking = 0; lacking < 2; ++lacking) {
            const QString path = dir.filePath(QStringLiteral("%1.theme").arg(n++));
            QFile out(path);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(lacking ? without(c.picture) : full);
            out.close();
            QWidget window;
            window.resize(300, 300);
            TskForm frame(QStringLiteral("skForm1"), &window, UIStyle::FromThemeFile);
            auto* theme = new TskFileTheme(QStringLiteral("skFileTheme1"), &window);
            ASSERT_TRUE(theme->setThemeFile(path));
            frame.setFileTheme(theme);
            QWidget* w = c.make(&window, frame);
            window.show();
            drawn[lacking] = w->grab().toImage();
        }
        EXPECT_NE(drawn[0], drawn[1]) << "the picture makes no difference to its control";
    }
}
