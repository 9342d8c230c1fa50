#pragma once
// The line held for the adapter's trace: while the hold is active, every
// serial event goes to its taker (the monitor's Scan, the live capture)
// instead of the command channel's reply. The call monitor and the live
// capture switch the line over and back only through here.
#include <functional>

class AtChannel;

class TraceHold {
public:
    explicit TraceHold(AtChannel& at) : at_(at) {}

    // Opens the port for the trace, keeps it open and sends every serial
    // event to `onData` from now on. True when the port opened; the hold
    // stands either way, so a reconnect can regain it.
    bool take(std::function<void()> onData);
    // The line was lost: the port is closed and events go to the command
    // channel again (the reconnect's commands need them); the taker stays.
    void lapse();
    // Reopens the port for the taker; false when it does not open.
    bool regain();
    // Hands the line back to the command channel for good.
    void release();

    // Serial events go to the taker now.
    bool active() const { return active_; }

private:
    friend class AtChannel;
    void deliver() const;

    AtChannel& at_;
    std::function<void()> onData_;
    bool active_ = false;
};
