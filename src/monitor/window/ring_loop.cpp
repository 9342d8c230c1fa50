#include "monitor/window/ring_loop.h"

#include "common/clock.h"
#include "monitor/window/wave_device.h"

RingLoop::RingLoop(Clock& clock, std::function<bool()> ringing)
    : ringing_(std::move(ringing)), timer_(clock.createTimer([this] { tick(); }, false))
{
}

RingLoop::~RingLoop() = default;

void RingLoop::setSound(bool on, const QString& wavFile)
{
    on_ = on;
    wavFile_ = wavFile;
}

void RingLoop::start()
{
    timer_->start(kPeriodMs);
}

void RingLoop::stop()
{
    timer_->stop();
}

void RingLoop::playBetween(const QString& wavFile)
{
    timer_->stop();
    wave::playFromStart(wave::device(), wavFile);
    timer_->start(kPeriodMs);
}

void RingLoop::tick()
{
    if (on_ && ringing_())
        wave::playFromStart(wave::device(), wavFile_);
}
