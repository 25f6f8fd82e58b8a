// The checker with every form of each tune and its rhyme plan, over the generated data:
// famous poems that change rhyme or follow another form keep their tune, each rhyme change
// the catalogue explains has a plan, and the figures over the dataset's poems of the
// tunes (run alone with --gtest_filter='FormFigures.*'). Skips when the dataset is absent.

#include "checker/core/checker_data.h"
#include "support/dataset.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>

using namespace checker;

namespace {

const QString kDataDir = QStringLiteral(LYREVANE_CHECKER_DATA);

bool haveDataset() {
    return QFile::exists(testdata::poetryDir() + QStringLiteral("/songci/ci.song.0.json"));
}

#define SKIP_WITHOUT_DATASET()                                                                     \
    if (!haveDataset())                                                                            \
    GTEST_SKIP() << "the chinese-poetry dataset is not installed"

QString failing(const Result& r) {
    QStringList out;
    for (const Finding& f : r.findings) {
        if (!f.lenient && (f.kind == Finding::Clash || f.kind == Finding::OffRhyme ||
                           f.kind == Finding::Length || f.kind == Finding::Verse))
            out.append(f.message);
    }
    return out.join(u' ');
}

TEST(Forms, PoemsThatChangeRhymeOrFollowAnotherFormKeepTheirTune) {
    SKIP_WITHOUT_DATASET();
    const CheckerData& data = checkerData(kDataDir);
    const Checker checker = checkerOf(data);
    struct Case {
        const char* tune;
        const char* text; // verbatim from the dataset
        const char* form; // the form the checker should name; "" to leave it be
    };
    for (const Case& c : {
             // 全唐诗 (traditional characters), 菩萨蛮: four rhymes, 仄 平 仄 平.
             Case{"菩萨蛮",
                  "平林漠漠煙如織，寒山一帶傷心碧。暝色入高樓，有人樓上愁。"
                  "玉階空佇立，宿鳥歸飛急。何處是歸程，長亭更短亭。",
                  ""},
             // 南唐二主词: 平 rhyme with a 仄 pair inside and the 平 back.
             Case{"相见欢",
                  "无言独上西楼，月如钩。寂寞梧桐深院，锁清秋。剪不断，理还乱，是离愁。"
                  "别是一般滋味，在心头。",
                  ""},
             // 全宋词: 仄 then 平.
             Case{"清平乐",
                  "茅檐低小。溪上青青草。醉里蛮音相媚好。白发谁家翁媪。大儿锄豆溪东。"
                  "中儿正织鸡笼。最喜小儿亡赖，溪头卧剥莲蓬。",
                  ""},
             // 全宋词: 满江红 on a level rhyme, a form of its own.
             Case{"满江红",
                  "云气楼台，分一派、沧浪翠蓬。开小景、玉盆寒浸，巧石盘松。风送流花时过岸，"
                  "浪摇晴练欲飞空。算鲛宫、祗隔一红尘，无路通。神女驾、凌晓风。明月佩，响丁东。"
                  "对两蛾犹锁，怨绿烟中。秋色未教飞尽雁，夕阳长是坠疏钟。又一声、欸乃过前岩，"
                  "移钓篷。",
                  "姜夔体"},
             // 全唐诗, 孟浩然 宿建德江: the first line 平平仄平仄.
             Case{"五绝", "移舟泊煙渚，日暮客愁新。野曠天低樹，江清月近人。", ""},
         }) {
        const auto named = namedPattern(QString::fromUtf8(c.tune));
        ASSERT_TRUE(named) << c.tune;
        const Result r = checker.check({.templateText = named->templateText,
                                        .text = QString::fromUtf8(c.text),
                                        .standard = defaultStandard(*named),
                                        .patternKey = named->key});
        EXPECT_TRUE(r.keeps()) << c.tune << " " << r.form.toStdString() << " "
                               << failing(r).toStdString();
        EXPECT_TRUE(r.form.contains(QString::fromUtf8(c.form))) << r.form.toStdString();
        EXPECT_EQ(r.count(Status::Unchecked), 0) << c.tune;
    }
}

TEST(Forms, AFormCanBeChosenAndTheFormsAreListed) {
    SKIP_WITHOUT_DATASET();
    const CheckerData& data = checkerData(kDataDir);
    const auto named = namedPattern(QStringLiteral("满江红"));
    ASSERT_TRUE(named);
    const QString text = QStringLiteral(
        "云气楼台，分一派、沧浪翠蓬。开小景、玉盆寒浸，巧石盘松。风送流花时过岸，"
        "浪摇晴练欲飞空。算鲛宫、祗隔一红尘，无路通。神女驾、凌晓风。明月佩，响丁东。"
        "对两蛾犹锁，怨绿烟中。秋色未教飞尽雁，夕阳长是坠疏钟。又一声、欸乃过前岩，移钓篷。");
    Request req{.templateText = named->templateText,
                .text = text,
                .standard = Standard::CiYun,
                .patternKey = named->key};
    const Result best = checkerOf(data).check(req);
    ASSERT_GT(best.forms.size(), 3);
    EXPECT_EQ(best.forms.first(), QStringLiteral("本谱"));
    req.form = 0; // the catalogue's 仄韵 template: the level rhymes all clash
    const Result forced = checkerOf(data).check(req);
    EXPECT_EQ(forced.formIndex, 0);
    EXPECT_EQ(forced.form, QStringLiteral("本谱"));
    EXPECT_FALSE(forced.keeps());
}

TEST(Forms, APoemFarFromEveryFormIsSaidToBeOfAnotherTune) {
    SKIP_WITHOUT_DATASET();
    const CheckerData& data = checkerData(kDataDir);
    const auto named = namedPattern(QStringLiteral("相见欢"));
    ASSERT_TRUE(named);
    // 全宋词, 苏轼 filed as 乌夜啼, a name 相见欢 shares with a tune of 48 characters.
    const Result r = checkerOf(data).check(
        {.templateText = named->templateText,
         .text = QStringLiteral("莫怪归心甚速，西湖自有蛾眉。若见故人须细说，白发倍当时。"
                                "小郑非常强记，二南依旧能诗。更有鲈鱼堪切脍，儿辈莫教知。"),
         .standard = Standard::CiYun,
         .patternKey = named->key});
    EXPECT_FALSE(r.keeps());
    QStringList lengths;
    for (const Finding& f : r.findings) {
        if (f.kind == Finding::Length)
            lengths.append(f.message);
    }
    ASSERT_EQ(lengths.size(), 1) << lengths.join(u' ').toStdString();
    EXPECT_TRUE(lengths[0].startsWith(QStringLiteral("全篇48字，此调36字")))
        << lengths[0].toStdString();
    EXPECT_TRUE(lengths[0].contains(QStringLiteral("恐非此调"))) << lengths[0].toStdString();
}

// The rhyme groups of a form, from its plan.
int groupCount(const Pattern& p) {
    QList<int> seen;
    for (const Slot& s : p.cells) {
        if (s.segment >= 0 && !seen.contains(s.segment))
            seen.append(s.segment);
    }
    return int(seen.size());
}

TEST(Forms, EveryRhymeChangeTheCatalogueExplainsHasAPlan) {
    SKIP_WITHOUT_DATASET();
    const CheckerData& data = checkerData(kDataDir);
    const QRegularExpression change(QStringLiteral("换韵|换仄|换平|转韵|转仄|转平"));
    QStringList missing;
    for (catalogue::PatternList list : catalogue::kPatternLists) {
        for (const catalogue::CiPattern& p : catalogue::patterns(list)) {
            if (!p.explanation.contains(change))
                continue;
            const QList<Form> forms = data.forms.forms(patternKey(p));
            ASSERT_FALSE(forms.isEmpty()) << p.name.toStdString();
            if (groupCount(Pattern::parse(forms[0].templateText, forms[0].plan)) < 2)
                missing.append(p.name);
        }
    }
    EXPECT_TRUE(missing.isEmpty()) << missing.join(u' ').toStdString();
}

// The catalogue's model poems, the attribution and the rhyme notes （换仄韵） cut off.
QString modelText(const QString& example) {
    const qsizetype dash = example.indexOf(QRegularExpression(QStringLiteral("——|--")));
    return dash < 0 ? QString()
                    : example.left(dash).remove(QRegularExpression(QStringLiteral("（[^）]*）")));
}

TEST(FormFigures, ModelPoemsAndTheDatasetsPoemsOfEachTune) {
    SKIP_WITHOUT_DATASET();
    const CheckerData& data = checkerData(kDataDir);
    const Checker checker = checkerOf(data);

    // The model poems: each should keep some form of its tune.
    int models = 0, modelsKept = 0;
    for (catalogue::PatternList list : catalogue::kPatternLists) {
        for (const catalogue::CiPattern& p : catalogue::patterns(list)) {
            for (const QString& example : p.examples) {
                const QString text = modelText(example);
                if (text.isEmpty())
                    continue;
                const Result r = checker.check({.templateText = p.templateText,
                                                .text = text,
                                                .standard = Standard::CiYun,
                                                .patternKey = patternKey(p)});
                ++models;
                if (r.keeps())
                    ++modelsKept;
                else
                    std::printf("  model %s《%s》 %s: %s\n", qPrintable(p.name),
                                qPrintable(text.left(8)), qPrintable(r.form),
                                qPrintable(failing(r).left(120)));
            }
        }
    }

    // The dataset's poems of each tune.
    struct Tally {
        QString name;
        int poems = 0, strict = 0, kept = 0;
        double share() const { return poems ? double(kept) / poems : 1; }
    };
    QList<Tally> tunes;
    Tally all;
    qint64 damaged = 0, caught = 0, rhymeDamaged = 0, rhymeCaught = 0;
    std::map<int, int> byKind; // failing findings by kind
    // Why the failing poems fail: no form of their length, a rhyme, or a clash at a place the
    // poets of the form kept (by how many kept it).
    int failOtherTune = 0, failLength = 0, failRhyme = 0, failKept98 = 0, failKept90 = 0,
        failFewPoems = 0;
    QMap<QString, int> failingPlaces; // LYREVANE_SHOW_FAILURES=TUNE: where that tune fails
    for (catalogue::PatternList list : catalogue::kPatternLists) {
        for (const catalogue::CiPattern& p : catalogue::patterns(list)) {
            Tally t{.name = p.name};
            const QString key = patternKey(p);
            for (const TunePoem& poem : data.poems().poems(key)) {
                const QString text = poem.paragraphs.join(QString());
                if (text.contains(u'□'))
                    continue; // the dataset lost a character
                Request req{.templateText = p.templateText,
                            .text = text,
                            .standard = Standard::CiYun,
                            .patternKey = key};
                const Result r = checker.check(req);
                for (const Finding& f : r.findings) {
                    if (!f.lenient && f.kind <= Finding::Verse && f.kind != Finding::Uncertain)
                        ++byKind[f.kind];
                }
                if (!r.keeps()) {
                    auto failsAs = [&](Finding::Kind kind) {
                        return std::any_of(
                            r.findings.cbegin(), r.findings.cend(),
                            [&](const Finding& f) { return f.kind == kind && !f.lenient; });
                    };
                    // The least kept place among the poem's failing clashes.
                    const QList<Form> forms = data.forms.forms(key);
                    const PatternPrecedent* prec =
                        r.formIndex < 0 || r.formIndex >= forms.size()
                            ? nullptr
                            : data.precedent.find(
                                  r.formIndex == 0 ? key : forms[r.formIndex].precedentKey);
                    double leastKept = 1;
                    for (const CharMark& m : r.marks) {
                        if (m.status != Status::Clash || !prec || m.slot >= prec->positions.size())
                            continue;
                        const PositionCount& pc = prec->positions[m.slot];
                        const int settled = pc.level + pc.oblique;
                        const bool level =
                            toneOf(data.lexicon.find(m.ch), Standard::CiYun) == Tone::Level;
                        if (settled >= 20)
                            leastKept = std::min(
                                leastKept, 1 - double(level ? pc.level : pc.oblique) / settled);
                        else
                            leastKept = -1;
                    }
                    if (std::any_of(r.findings.cbegin(), r.findings.cend(), [](const Finding& f) {
                            return f.message.contains(QStringLiteral("恐非此调"));
                        }))
                        ++failOtherTune;
                    else if (failsAs(Finding::Length))
                        ++failLength;
                    else if (failsAs(Finding::OffRhyme))
                        ++failRhyme;
                    else if (!prec || leastKept < 0)
                        ++failFewPoems;
                    else if (leastKept >= 0.98)
                        ++failKept98;
                    else
                        ++failKept90;
                    if (const QString shown = qEnvironmentVariable("LYREVANE_SHOW_FAILURES");
                        p.name == shown || shown == u'*') {
                        std::printf("  %s %lld字 %s %s: %s\n", qPrintable(p.name),
                                    (long long)r.marks.size(), qPrintable(text.left(10)),
                                    qPrintable(r.form), qPrintable(failing(r).left(200)));
                        for (const Finding& f : r.findings) {
                            if (f.kind == Finding::Clash && !f.lenient)
                                ++failingPlaces[r.form + u' ' + f.precedent];
                        }
                    }
                }
                ++t.poems;
                t.kept += r.keeps();
                t.strict += r.keeps() && std::none_of(r.findings.cbegin(), r.findings.cend(),
                                                      [](const Finding& f) { return f.lenient; });
                if (!r.keeps() || t.poems % 2)
                    continue;
                // Every other poem that keeps its tune: one strict tone changed, then one rhyme:
                // each should be caught, as the user would check it (the form chosen anew). A
                // change that makes the poem another form of the tune is no damage.
                auto anotherForm = [&](const Result& d) {
                    return d.keeps() && d.formIndex != r.formIndex;
                };
                const int n = int(r.marks.size());
                for (int k = 0; k < n; ++k) {
                    const CharMark& m = r.marks[(k + t.poems * 7) % n];
                    const Tone was = toneOf(data.lexicon.find(m.ch), Standard::CiYun);
                    if (m.status != Status::Ok || m.rhyme || was == Tone::Both ||
                        was == Tone::Unknown)
                        continue;
                    Request broken = req;
                    const bool wasLevel = was == Tone::Level;
                    broken.text.replace(m.offset, m.length, wasLevel ? u'月' : u'花');
                    const Result d = checker.check(broken);
                    const bool lenient =
                        std::any_of(d.findings.cbegin(), d.findings.cend(), [&](const Finding& f) {
                            return f.offset == m.offset && f.lenient;
                        });
                    if (lenient || anotherForm(d))
                        continue; // the poets differ here: not a strict position
                    ++damaged;
                    caught += !d.keeps();
                    break;
                }
                for (int k = 0; k < n; ++k) {
                    const CharMark& m = r.marks[(k + t.poems * 5) % n];
                    if (!m.rhyme || m.status != Status::Ok)
                        continue;
                    const bool level =
                        toneOf(data.lexicon.find(m.ch), Standard::CiYun) == Tone::Level;
                    // A character of the same tone from a part neither this rhyme's nor one
                    // the Song poets rhyme with it.
                    auto parts = [&](char32_t ch) {
                        QList<int> out;
                        if (const CharInfo* info = data.lexicon.find(ch)) {
                            for (const Reading& rd : info->readings) {
                                if (bool(rd.tone & kLevel) == level && rd.ciEntry >= 0)
                                    out.append(rd.ciEntry < 28 ? rd.ciEntry / 2 + 1
                                                               : rd.ciEntry - 28 + 15);
                            }
                        }
                        return out;
                    };
                    const QList<int> own = parts(m.ch);
                    QChar other;
                    for (QChar cand :
                         level ? QStringLiteral("麻东侵尤") : QStringLiteral("屋叶动夜")) {
                        const QList<int> theirs = parts(cand.unicode());
                        const bool near = std::any_of(own.cbegin(), own.cend(), [&](int a) {
                            return std::any_of(theirs.cbegin(), theirs.cend(), [&](int b) {
                                return a == b || data.forms.mixed(a, b) || data.forms.mixed(b, a);
                            });
                        });
                        if (!near) {
                            other = cand;
                            break;
                        }
                    }
                    if (other.isNull())
                        continue;
                    Request broken = req;
                    broken.text.replace(m.offset, m.length, other);
                    const Result d = checker.check(broken);
                    if (anotherForm(d) ||
                        std::any_of(d.findings.cbegin(), d.findings.cend(), [&](const Finding& f) {
                            return f.offset == m.offset && f.lenient;
                        }))
                        continue; // many poets leave this rhyme out: not a strict position
                    ++rhymeDamaged;
                    rhymeCaught += !d.keeps();
                    break;
                }
            }
            all.poems += t.poems;
            all.kept += t.kept;
            all.strict += t.strict;
            tunes.append(t);
        }
    }
    for (auto it = failingPlaces.cbegin(); it != failingPlaces.cend(); ++it)
        std::printf("  %4d× %s\n", it.value(), qPrintable(it.key()));
    std::printf("model poems: %d, %d keep a form of their tune\n", models, modelsKept);
    std::printf("Song poems of the catalogue's tunes: %d; pass %.1f%% (no 宽 either %.1f%%)\n",
                all.poems, 100.0 * all.kept / std::max(1, all.poems),
                100.0 * all.strict / std::max(1, all.poems));
    std::sort(tunes.begin(), tunes.end(),
              [](const Tally& a, const Tally& b) { return a.share() < b.share(); });
    std::printf("per tune, worst first (pass, no 宽 either, poems):\n");
    for (const Tally& t : tunes) {
        if (t.poems)
            std::printf("  %5.1f%% %5.1f%% %4d  %s\n", 100 * t.share(), 100.0 * t.strict / t.poems,
                        t.poems, qPrintable(t.name));
    }
    std::printf("failing findings: %d clashes, %d off rhymes, %d lengths\n", byKind[Finding::Clash],
                byKind[Finding::OffRhyme], byKind[Finding::Length]);
    std::printf("failing poems by cause: %d far from every form's length (another tune of the "
                "name?), %d of a length no form has, %d off rhyme, %d clash "
                "where at least 98%% of the form's poets (20 or more) kept the tone, %d clash "
                "where 90%% to 98%% kept it, %d clash in a form of fewer than 20 poems\n",
                failOtherTune, failLength, failRhyme, failKept98, failKept90, failFewPoems);
    std::printf("damaged: one strict tone %lld, caught %lld (%.2f%%); one rhyme %lld, caught "
                "%lld (%.2f%%)\n",
                damaged, caught, damaged ? 100.0 * caught / damaged : 0.0, rhymeDamaged,
                rhymeCaught, rhymeDamaged ? 100.0 * rhymeCaught / rhymeDamaged : 0.0);
    EXPECT_GT(all.poems, 10000);
    EXPECT_GE(double(caught), 0.99 * double(damaged));
}

} // namespace
