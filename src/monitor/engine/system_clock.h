#pragma once
// The application's clock: system time and QTimer.
#include "monitor/engine/clock.h"

class SystemClock : public Clock {
public:
    QDateTime now() const override;
    std::unique_ptr<ClockTimer> createTimer(std::function<void()> onFire, bool singleShot) override;
};
