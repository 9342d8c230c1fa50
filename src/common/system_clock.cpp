#include "common/system_clock.h"

#include <QTimer>

namespace {

class QtClockTimer : public ClockTimer {
public:
    QtClockTimer(std::function<void()> onFire, bool singleShot)
    {
        timer_.setSingleShot(singleShot);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, std::move(onFire));
    }
    void start(int intervalMs) override { timer_.start(intervalMs); }
    void stop() override { timer_.stop(); }
    bool isActive() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

} // namespace

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

std::unique_ptr<ClockTimer> SystemClock::createTimer(std::function<void()> onFire, bool singleShot)
{
    return std::make_unique<QtClockTimer>(std::move(onFire), singleShot);
}
