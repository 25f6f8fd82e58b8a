#pragma once
// A clock that moves only when a test says so: advance() fires every timer that falls
// due, in time order, so timed windows are tested without sleeping.

#include "base/core/clock.h"

#include <QPointer>
#include <algorithm>
#include <vector>

class FakeClock : public Clock {
  public:
    qint64 tickCount() const override { return m_now; }

    ClockTimer* startTimer(int intervalMs, bool repeating, QObject* owner,
                           std::function<void()> fired) override {
        auto* t = new Timer(owner, intervalMs, repeating, m_now + intervalMs, std::move(fired));
        m_timers.push_back(t);
        return t;
    }

    // Moves time on by `ms`, firing what falls due on the way.
    void advance(qint64 ms) {
        const qint64 end = m_now + ms;
        for (;;) {
            Timer* next = nullptr;
            for (const QPointer<Timer>& t : m_timers)
                if (t && t->active && t->due <= end && (!next || t->due < next->due))
                    next = t;
            if (!next)
                break;
            m_now = next->due;
            if (next->repeating)
                next->due += std::max(1, next->interval);
            else
                next->active = false;
            // A copy: the callback may delete its own timer's owner.
            const std::function<void()> fired = next->fired;
            fired();
        }
        m_now = end;
        std::erase_if(m_timers, [](const QPointer<Timer>& t) { return !t; });
    }

    // Timers still running, for tests that check a window stops its own.
    int activeTimers() const {
        return int(std::count_if(m_timers.begin(), m_timers.end(),
                                 [](const QPointer<Timer>& t) { return t && t->active; }));
    }

  private:
    struct Timer : ClockTimer {
        Timer(QObject* owner, int i, bool r, qint64 d, std::function<void()> f)
            : ClockTimer(owner), interval(i), repeating(r), due(d), fired(std::move(f)) {}
        void stop() override { active = false; }
        bool isActive() const override { return active; }
        int interval;
        bool repeating;
        qint64 due;
        std::function<void()> fired;
        bool active = true;
    };

    qint64 m_now = 0;
    std::vector<QPointer<Timer>> m_timers;
};
