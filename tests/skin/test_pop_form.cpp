#include "skin/ui/pop_form.h"
#include "support/fake_clock.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Phase = TskPopWindow::Phase;

// The fake clock seen through a tick counter that starts elsewhere, to cross the wrap.
struct OffsetClock : Clock {
    FakeClock fake;
    qint64 offset = 0;
    qint64 tickCount() const override { return fake.tickCount() + offset; }
    ClockTimer* startTimer(int ms, bool repeating, QObject* owner,
                           std::function<void()> fired) override {
        return fake.startTimer(ms, repeating, owner, std::move(fired));
    }
};

} // namespace

TEST(PopUpNotice, SlidesInForFourHundredStaysEightSecondsAndSlidesOut) {
    OffsetClock clock;
    QObject owner;
    TskPopForm* notice = TskPopForm::mainWindowNotice(&owner, &clock);
    notice->Show();
    TskPopWindow* w = notice->window();
    EXPECT_EQ(w->size(), QSize(181, 116));
    EXPECT_EQ(w->titleLabel()->text(), "Quillmere2004");
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->phase(), Phase::SlidingIn);
    clock.fake.advance(200);
    EXPECT_GT(w->revealed(), 0);
    EXPECT_LT(w->revealed(), 116);
    clock.fake.advance(200);
    EXPECT_EQ(w->phase(), Phase::Shown);
    EXPECT_EQ(w->revealed(), 116);
    clock.fake.advance(7999);
    EXPECT_EQ(w->phase(), Phase::Shown);
    clock.fake.advance(1);
    EXPECT_EQ(w->phase(), Phase::SlidingOut);
    clock.fake.advance(400);
    EXPECT_EQ(w->phase(), Phase::Hidden);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(clock.fake.activeTimers(), 0);
}

TEST(PopUpNotice, ClicksCloseSpotAndClickHide) {
    struct Case {
        const char* what;
        QPoint at;
        bool clickHide;
        Phase after;
    } cases[] = {
        {"the close spot hides at once", {168, 12}, true, Phase::Hidden},
        {"the close spot, even without ClickHide", {162, 19}, false, Phase::Hidden},
        {"elsewhere with ClickHide slides out", {60, 80}, true, Phase::SlidingOut},
        {"elsewhere without ClickHide does nothing", {60, 80}, false, Phase::Shown},
    };
    for (const Case& c : cases) {
        OffsetClock clock;
        QObject owner;
        TskPopForm notice("skPopForm1", &owner, &clock);
        notice.ClickHide = c.clickHide;
        notice.Show();
        clock.fake.advance(400);
        QTest::mouseClick(notice.window(), Qt::LeftButton, {}, c.at);
        EXPECT_EQ(notice.window()->phase(), c.after) << c.what;
    }
}

TEST(PopUpNotice, ATickCounterWrapDuringTheStayHidesItAtTheNextTick) {
    OffsetClock clock;
    clock.offset = (qint64(1) << 32) - 1000;
    QObject owner;
    TskPopForm* notice = TskPopForm::mainWindowNotice(&owner, &clock);
    notice->Show();
    clock.fake.advance(400);
    ASSERT_EQ(notice->window()->phase(), Phase::Shown);
    clock.fake.advance(500);
    EXPECT_EQ(notice->window()->phase(), Phase::Shown) << "100 ms before the wrap";
    clock.fake.advance(100);
    EXPECT_EQ(notice->window()->phase(), Phase::SlidingOut) << "the first tick after it";
}
