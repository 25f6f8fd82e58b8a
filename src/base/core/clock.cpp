#include "base/core/clock.h"

#include <QDeadlineTimer>
#include <QTimer>

namespace {

class QtClockTimer : public ClockTimer {
  public:
    QtClockTimer(int intervalMs, bool repeating, QObject* owner, std::function<void()> fired)
        : ClockTimer(owner) {
        m_timer.setInterval(intervalMs);
        m_timer.setSingleShot(!repeating);
        QObject::connect(&m_timer, &QTimer::timeout, this, std::move(fired));
        m_timer.start();
    }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

  private:
    QTimer m_timer;
};

} // namespace

qint64 SystemClock::tickCount() const {
    return QDeadlineTimer::current().deadline();
}

ClockTimer* SystemClock::startTimer(int intervalMs, bool repeating, QObject* owner,
                                    std::function<void()> fired) {
    return new QtClockTimer(intervalMs, repeating, owner, std::move(fired));
}
