#include "sim/trace_session.h"

#include "sim/trace_line.h"

#include "common/timed_capture.h"

namespace sim {

PortNumbers factoryPortNumbers()
{
    PortNumbers n;
    n.msn[0] = "4711";
    n.msn[3] = "4712";
    n.own = {"4711", "4712", "4713"};
    return n;
}

TraceSession::TraceSession(Scenario scenario, std::function<PortNumbers()> numbers)
    : scenario_(std::move(scenario)), numbers_(std::move(numbers))
{
}

void TraceSession::expandNextPass()
{
    if (finished_)
        return;
    auto pass = expandScenario(scenario_, numbers_(), passStart_, flowState_);
    for (const auto& e : pass.events)
        line_.apply(e);
    if (scenario_.loop && !scenario_.calls.empty()) {
        passStart_ = pass.endMs + scenario_.loopPauseMs;
        line_.housekeepUntil(passStart_);
    } else {
        line_.releaseAll();
        finished_ = true;
    }
    for (auto& f : line_.takeFrames())
        pending_.push_back(std::move(f));
    for (auto& c : line_.takeCharges())
        charges_.push_back(c);
}

std::int64_t TraceSession::nextFrameMs()
{
    while (pending_.empty() && !finished_)
        expandNextPass();
    return pending_.empty() ? -1 : pending_.front().ms;
}

std::vector<TimedFrame> TraceSession::framesUntil(std::int64_t ms)
{
    std::vector<TimedFrame> due;
    while (nextFrameMs() >= 0 && pending_.front().ms <= ms) {
        due.push_back(std::move(pending_.front()));
        pending_.pop_front();
    }
    return due;
}

std::vector<ChargeNote> TraceSession::chargesUntil(std::int64_t ms)
{
    std::vector<ChargeNote> due;
    while (!charges_.empty() && charges_.front().ms <= ms) {
        due.push_back(charges_.front());
        charges_.pop_front();
    }
    return due;
}

bool renderCapture(const Scenario& scenario, const PortNumbers& numbers, QIODevice& out)
{
    Scenario once = scenario;
    once.loop = false;
    TraceSession session(once, [&numbers] { return numbers; });
    TimedCapture::Writer writer(out, QByteArray::fromStdString("dodova-sim scenario " + scenario.name));
    bool written = true;
    for (const auto& f : session.framesUntil(INT64_MAX))
        written = writer.write(f.ms, QByteArray::fromStdString(traceLine(f.from, f.octets, f.ms))) && written;
    return written;
}

} // namespace sim
