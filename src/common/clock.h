#pragma once
// Time for the monitor and the command channel: the programs run on the system
// clock and QTimer, tests and corvane-replay on a virtual clock, so an 800 ms
// end-of-call delay, a one-second command time-out or a two-hour call is tested
// in microseconds.
#include <QDateTime>
#include <functional>
#include <memory>

class ClockTimer {
public:
    virtual ~ClockTimer() = default;
    // (Re)arms the timer: a running timer restarts from now.
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Local wall-clock date and time.
    virtual QDateTime now() const = 0;
    // Milliseconds on a clock that never jumps (midnight, a clock change): for
    // measuring how long something took.
    virtual qint64 steadyMs() const = 0;
    // Seconds since local midnight, single precision as the monitor keeps them:
    // float(milliseconds since midnight / 1000.0).
    float secondsSinceMidnight() const
    {
        const QDateTime t = now();
        return static_cast<float>(t.time().msecsSinceStartOfDay() / 1000.0);
    }
    // A timer calling onFire on the owner's thread; periodic or one-shot.
    virtual std::unique_ptr<ClockTimer> createTimer(std::function<void()> onFire, bool singleShot) = 0;
};
