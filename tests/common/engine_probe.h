#pragma once
// The window tests put the engine into display states no short frame
// sequence reaches; nothing outside the tests writes the engine's state.
#include "monitor/engine/monitor_engine.h"

struct EngineProbe {
    static CallState& state(MonitorEngine& e) { return e.state_; }
    // Channel A (0) or B (1).
    static ChannelState& channel(MonitorEngine& e, int index) { return e.state_.channels[size_t(index)]; }
    static void notifyDisplay(MonitorEngine& e) { e.notifyDisplay(); }
};
