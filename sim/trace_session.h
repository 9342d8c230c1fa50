#pragma once
// The calls of a scenario as trace lines over time. Time 0 is the moment the
// trace was first switched on; the line runs on whether or not the trace is
// on, like a real line. A looping scenario is expanded one pass at a time.
#include "sim/call_flow.h"
#include "sim/line_simulator.h"

#include <deque>
#include <functional>

class QIODevice;

namespace sim {

class TraceSession {
public:
    // numbers() is asked at the start of every pass, so MSNs and own
    // numbers written by the program take part in the next calls.
    TraceSession(Scenario scenario, std::function<PortNumbers()> numbers);

    // Frames due at or before ms, in order (expands further passes as needed).
    std::vector<TimedFrame> framesUntil(std::int64_t ms);
    std::vector<ChargeNote> chargesUntil(std::int64_t ms);
    // Time of the next frame, or -1 when the scenario is over.
    std::int64_t nextFrameMs();

private:
    void expandNextPass();

    Scenario scenario_;
    std::function<PortNumbers()> numbers_;
    CallFlowState flowState_;
    LineSimulator line_;
    std::deque<TimedFrame> pending_;
    std::deque<ChargeNote> charges_;
    std::int64_t passStart_ = 0;
    bool finished_ = false;
};

// The capture a trace session would produce with the trace switched on at
// t = 0: one pass of the scenario, then the links released. False when `out`
// refused a line.
bool renderCapture(const Scenario& scenario, const PortNumbers& numbers, QIODevice& out);

// Factory numbers: MSNs 4711 (Phone 1) and 4712 (Phone 2), own numbers 4711, 4712, 4713.
PortNumbers factoryPortNumbers();

} // namespace sim
