#include "skin/ui/side_channel.h"
#include "support/fake_clock.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QSplitter>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// A shown window holding one channel, with the pointer and activity under the test's hand.
struct Channel {
    FakeClock clock;
    QWidget window;
    TskSideChannel* channel;
    QPoint pointer{-1000, -1000}; // outside
    bool active = true;
    QList<int> widths;

    explicit Channel(bool pinned = false) {
        window.resize(600, 400);
        auto* row = new QHBoxLayout(&window);
        channel = new TskSideChannel("skSideChannel1", &window, &clock);
        channel->setOpenWidth(193);
        row->addWidget(channel);
        row->addStretch(1);
        channel->cursorPos = [this] { return pointer; };
        channel->applicationActive = [this] { return active; };
        window.show();
        channel->setStayOn(pinned);
        channel->installEventFilter(&recorder);
        recorder.widths = &widths;
    }
    void pointInside() { pointer = channel->mapToGlobal(QPoint(5, 50)); }
    void hover() {
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 50), QPointF(5, 50), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(channel, &move);
    }
    void release() {
        QMouseEvent up(QEvent::MouseButtonRelease, QPointF(5, 50), QPointF(5, 50), Qt::LeftButton,
                       Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(channel, &up);
    }

    struct Recorder : QObject {
        QList<int>* widths = nullptr;
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Resize)
                *widths << static_cast<QWidget*>(o)->width();
            return false;
        }
    } recorder;
};

} // namespace

TEST(SideChannel, SlidesInStepsOfFifteenOrJumpsWithQuickMove) {
    Channel c;
    ASSERT_FALSE(c.channel->isOpen());
    EXPECT_EQ(c.channel->width(), 10);
    c.channel->open(false);
    QList<int> opening;
    for (int w = 25; w < 193; w += 15)
        opening << w;
    opening << 193;
    EXPECT_EQ(c.widths, opening) << "10 → 25 → … → 190, then 193";

    c.widths.clear();
    c.channel->collapse(false);
    QList<int> closing;
    for (int w = 178; w > 10; w -= 15)
        closing << w;
    closing << 10;
    EXPECT_EQ(c.widths, closing) << "193 → 178 → … → 13, then 10";

    c.widths.clear();
    c.channel->open(true);
    EXPECT_EQ(c.widths, QList<int>{193});
    EXPECT_TRUE(c.channel->pinButton()->isVisible());
    c.channel->collapse(true);
    EXPECT_FALSE(c.channel->pinButton()->isVisible());
}

TEST(SideChannel, AnOpenUnpinnedChannelCollapsesAtTheTickAfterThePointerLeaves) {
    Channel c;
    c.channel->quickMove = true;
    c.hover();
    ASSERT_TRUE(c.channel->isOpen());
    c.pointInside();
    c.clock.advance(3000);
    EXPECT_TRUE(c.channel->isOpen()) << "the pointer is on it";
    c.pointer = {-1000, -1000};
    c.clock.advance(999);
    EXPECT_TRUE(c.channel->isOpen());
    c.clock.advance(1);
    EXPECT_FALSE(c.channel->isOpen());
    EXPECT_EQ(c.clock.activeTimers(), 0) << "a collapsed channel has no timer";
}

TEST(SideChannel, PinningKeepsItOpenAndUnpinningLetsTheNextTickCollapseIt) {
    Channel c(true);
    ASSERT_TRUE(c.channel->isOpen());
    EXPECT_TRUE(c.channel->stayOn());
    c.clock.advance(10000);
    EXPECT_TRUE(c.channel->isOpen()) << "pinned: the pointer outside never collapses it";

    c.channel->pinButton()->click(); // up
    EXPECT_FALSE(c.channel->stayOn());
    EXPECT_TRUE(c.channel->isOpen());
    c.clock.advance(1000);
    EXPECT_FALSE(c.channel->isOpen());

    c.channel->setStayOn(true);
    EXPECT_TRUE(c.channel->isOpen());
    c.channel->setStayOn(false);
    EXPECT_FALSE(c.channel->isOpen()) << "unpinning by the property collapses at once";

    c.channel->setShowButton(false);
    EXPECT_TRUE(c.channel->isOpen()) << "hiding the pin button pins the channel open";
    EXPECT_TRUE(c.channel->stayOn());
}

TEST(SideChannel, WhatOpensACollapsedChannel) {
    struct Case {
        const char* what;
        TskSideChannel::PopupMode mode;
        bool active, hover, release, opens;
    } cases[] = {
        {"hover, mouse-on mode", TskSideChannel::MouseOn, true, true, false, true},
        {"hover while another program is active", TskSideChannel::MouseOn, false, true, false,
         false},
        {"hover, click mode", TskSideChannel::MouseClick, true, true, false, false},
        {"release, click mode", TskSideChannel::MouseClick, true, false, true, true},
        {"release, mouse-on mode", TskSideChannel::MouseOn, true, false, true, false},
    };
    for (const Case& k : cases) {
        Channel c;
        c.channel->quickMove = true;
        c.channel->popupMode = k.mode;
        c.active = k.active;
        if (k.hover)
            c.hover();
        if (k.release)
            c.release();
        EXPECT_EQ(c.channel->isOpen(), k.opens) << k.what;
    }
}

TEST(SideChannel, AnOpenStillChannelIsNeverMadeFiftyPixelsOrNarrowerFromOutside) {
    // Each way a width can reach the channel from outside, asking for 30 pixels.
    struct Case {
        const char* what;
        std::function<void(Channel&)> narrow;
    } cases[] = {
        {"a resize", [](Channel& c) { c.channel->resize(30, c.channel->height()); }},
        {"a geometry",
         [](Channel& c) { c.channel->setGeometry(QRect(c.channel->pos(), QSize(30, 200))); }},
        {"a narrow window",
         [](Channel& c) {
             c.window.layout()->setSizeConstraint(QLayout::SetNoConstraint);
             c.window.resize(30, 400);
             c.window.layout()->activate();
         }},
    };
    for (const Case& k : cases) {
        Channel c(true);
        ASSERT_EQ(c.channel->width(), 193);
        k.narrow(c);
        EXPECT_GE(c.channel->width(), 50) << k.what;
        EXPECT_GE(c.channel->openWidth(), 50) << k.what;
    }

    // A splitter handle dragged towards the edge stops at 50 pixels.
    FakeClock clock;
    QSplitter splitter;
    splitter.resize(600, 300);
    auto* channel = new TskSideChannel("skSideChannel1", &splitter, &clock);
    channel->setOpenWidth(193);
    splitter.addWidget(channel);
    splitter.addWidget(new QWidget);
    splitter.show();
    channel->setStayOn(true);
    splitter.setSizes({20, 580});
    EXPECT_EQ(channel->width(), 50);
    // Wider is taken, and becomes the width it opens to next time.
    splitter.setSizes({240, 360});
    EXPECT_GT(channel->width(), 230);
    EXPECT_EQ(channel->openWidth(), channel->width());
}

TEST(SideChannel, TheLayoutKeepsAWidthGivenFromOutsideAndLetsTheSlidePassBelowFifty) {
    Channel c;
    c.channel->quickMove = true;
    c.hover();
    ASSERT_TRUE(c.channel->isOpen());
    c.channel->resize(120, c.channel->height());
    c.window.layout()->invalidate();
    c.window.layout()->activate();
    EXPECT_EQ(c.channel->width(), 120) << "the layout asks for the new open width";

    // Unpinned, with the pointer away: the tick slides it shut through the narrow widths.
    c.channel->quickMove = false;
    c.widths.clear();
    c.clock.advance(1000);
    EXPECT_FALSE(c.channel->isOpen());
    EXPECT_EQ(c.widths, QList<int>({105, 90, 75, 60, 45, 30, 15, 10}));
    c.window.layout()->invalidate();
    c.window.layout()->activate();
    EXPECT_EQ(c.channel->width(), 10) << "collapsed, the layout leaves it at the bar";

    c.widths.clear();
    c.hover();
    EXPECT_EQ(c.widths.first(), 25) << "and opening passes the narrow widths again";
    EXPECT_EQ(c.channel->width(), 120);
}

TEST(SideChannel, ItsContentsKeepClearOfBarAndStripAndWaitOutsideWhileCollapsed) {
    Channel c(true);
    auto* layout = new QVBoxLayout(c.channel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* list = new QListWidget(c.channel);
    list->setMinimumWidth(60);
    layout->addWidget(list);
    // A style change, as the frame makes when it installs the kit's style, resets a
    // frame's margins to its frame width.
    c.channel->setStyle(QApplication::style());
    QApplication::sendPostedEvents();
    EXPECT_EQ(list->geometry(), QRect(13, 23, 193 - 16, c.channel->height() - 26));

    c.channel->setStayOn(false); // collapses at once
    QApplication::sendPostedEvents();
    EXPECT_GE(list->x(), c.channel->width()) << "nothing of it over the 10-pixel bar";

    c.channel->open(true);
    QApplication::sendPostedEvents();
    EXPECT_EQ(list->x(), 13);
}
