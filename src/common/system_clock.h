#pragma once
// The application's clock: system time and QTimer.
#include "common/clock.h"

#include <QElapsedTimer>

class SystemClock : public Clock {
public:
    SystemClock() { steady_.start(); }
    QDateTime now() const override;
    qint64 steadyMs() const override { return steady_.elapsed(); }
    std::unique_ptr<ClockTimer> createTimer(std::function<void()> onFire, bool singleShot) override;

private:
    QElapsedTimer steady_; // monotonic
};
