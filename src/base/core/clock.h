#pragma once
// Time as the program sees it: the millisecond tick counter and timers. Windows that
// wait or poll (the splash, the pop-up notice, the side channels) take a Clock, so tests
// drive them with a fake one instead of sleeping.

#include <QObject>
#include <QtGlobal>
#include <functional>

// A running timer; it belongs to the QObject it was started for and dies with it.
class ClockTimer : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    // Milliseconds since some fixed moment; wraps like the platform's 32-bit tick counter
    // only where a caller folds it so.
    virtual qint64 tickCount() const = 0;
    // Calls `fired` after `intervalMs`, once or (repeating) every `intervalMs` until stopped.
    // The timer is a child of `owner`.
    virtual ClockTimer* startTimer(int intervalMs, bool repeating, QObject* owner,
                                   std::function<void()> fired) = 0;
};

// The real clock: a monotonic tick counter and QTimer.
class SystemClock : public Clock {
  public:
    qint64 tickCount() const override;
    ClockTimer* startTimer(int intervalMs, bool repeating, QObject* owner,
                           std::function<void()> fired) override;
};
