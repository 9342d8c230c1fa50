#include "common/virtual_clock.h"

#include <algorithm>

struct VirtualClock::Entry {
    std::function<void()> onFire;
    bool singleShot = true;
    bool active = false;
    int interval = 0;
    qint64 due = 0;
    quint64 seq = 0;
};

class VirtualTimer : public ClockTimer {
public:
    VirtualTimer(VirtualClock& clock, VirtualClock::Entry* entry) : clock_(clock), entry_(entry) {}
    ~VirtualTimer() override
    {
        clock_.entries_.removeOne(entry_);
        delete entry_;
    }
    void start(int intervalMs) override
    {
        entry_->interval = std::max(1, intervalMs); // a zero interval would never let time move on
        entry_->due = clock_.elapsed_ + entry_->interval;
        entry_->active = true;
    }
    void stop() override { entry_->active = false; }
    bool isActive() const override { return entry_->active; }

private:
    VirtualClock& clock_;
    VirtualClock::Entry* entry_;
};

VirtualClock::VirtualClock(QDateTime start)
    : start_(std::move(start)), startMs_(start_.isValid() ? start_.toMSecsSinceEpoch() : 0)
{
}

VirtualClock::~VirtualClock() = default;

QDateTime VirtualClock::now() const
{
    const qint64 wall = elapsed_ + wallShift_;
    if (nowAt_ != wall) {
        // What addMSecs gives (on in UTC, back to the start's own time, so a
        // DST change counts), less converting start_ again.
        if (start_.isValid() && wall != 0) {
            now_ = start_;
            now_.setMSecsSinceEpoch(startMs_ + wall);
        } else {
            now_ = start_.addMSecs(wall);
        }
        nowAt_ = wall;
    }
    return now_;
}

qint64 VirtualClock::elapsed() const
{
    return elapsed_;
}

std::unique_ptr<ClockTimer> VirtualClock::createTimer(std::function<void()> onFire, bool singleShot)
{
    auto* e = new Entry{std::move(onFire), singleShot, false, 0, 0, nextSeq_++};
    entries_.append(e);
    return std::make_unique<VirtualTimer>(*this, e);
}

void VirtualClock::advance(qint64 ms)
{
    advanceTo(elapsed_ + std::max<qint64>(0, ms));
}

void VirtualClock::jumpWall(qint64 ms)
{
    wallShift_ += ms;
}

void VirtualClock::setSkipRepeatedTicks(bool on)
{
    skipRepeatedTicks_ = on;
}

// The timer that fires next, at or before target: earliest due, ties in order of creation.
VirtualClock::Entry* VirtualClock::nextDue(qint64 target) const
{
    Entry* next = nullptr;
    for (Entry* e : entries_)
        if (e->active && e->due <= target
            && (!next || e->due < next->due || (e->due == next->due && e->seq < next->seq)))
            next = e;
    return next;
}

// Moves a periodic timer on to its last tick that still comes before every
// other timer's (a tie goes to the older timer) and not after target.
void VirtualClock::skipToLastTick(Entry& periodic, qint64 target) const
{
    qint64 limit = target;
    for (const Entry* e : entries_)
        if (e != &periodic && e->active)
            limit = std::min(limit, e->seq < periodic.seq ? e->due - 1 : e->due);
    if (limit > periodic.due)
        periodic.due += (limit - periodic.due) / periodic.interval * periodic.interval;
}

void VirtualClock::advanceTo(qint64 target)
{
    while (Entry* next = nextDue(target)) {
        if (skipRepeatedTicks_ && !next->singleShot)
            skipToLastTick(*next, target);
        elapsed_ = std::max(elapsed_, next->due);
        if (next->singleShot)
            next->active = false;
        else
            next->due += next->interval;
        next->onFire(); // may stop, restart or even destroy timers
    }
    elapsed_ = std::max(elapsed_, target);
}
