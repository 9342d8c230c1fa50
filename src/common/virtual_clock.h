#pragma once
// A clock that moves only when told: advance(ms) fires the due timers in order
// of due time, ties in order of timer creation, so tests and corvane-replay
// run an 800 ms delay or a two-hour call in microseconds.
#include "common/clock.h"

#include <QList>

class VirtualClock : public Clock {
public:
    explicit VirtualClock(QDateTime start = QDateTime(QDate(2026, 1, 1), QTime(10, 0)));
    ~VirtualClock() override;

    QDateTime now() const override;
    qint64 steadyMs() const override { return elapsed_; }
    std::unique_ptr<ClockTimer> createTimer(std::function<void()> onFire, bool singleShot) override;

    // Moves time on by ms, firing every timer that falls due on the way.
    void advance(qint64 ms);
    // Moves to elapsed() == ms (never backwards).
    void advanceTo(qint64 ms);
    qint64 elapsed() const;
    // The wall clock alone jumps by ms (NTP, a clock set by hand); steady
    // time and the timers go on as before.
    void jumpWall(qint64 ms);
    // Of a periodic timer's ticks in a row, with no other timer due between
    // them, only the last fires. For a run without a window (the replay),
    // where a tick only redraws: idle hours then cost one tick, not thousands.
    void setSkipRepeatedTicks(bool on);

    struct Entry; // one timer's schedule; public for the timer class only

private:
    friend class VirtualTimer;
    Entry* nextDue(qint64 target) const;
    void skipToLastTick(Entry& periodic, qint64 target) const;

    QDateTime start_;
    // A valid start as milliseconds since the epoch: addMSecs would convert
    // it back from local time (mktime) at every new moment.
    qint64 startMs_ = 0;
    qint64 elapsed_ = 0;
    qint64 wallShift_ = 0; // of the wall clock against the steady one
    // now() at nowAt_: converting to local time is the costly part, and the
    // engine asks several times at one moment.
    mutable QDateTime now_;
    mutable qint64 nowAt_ = -1;
    quint64 nextSeq_ = 0;
    bool skipRepeatedTicks_ = false;
    QList<Entry*> entries_;
};
