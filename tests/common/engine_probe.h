#pragma once
// The window tests put the engine into display states no short frame
// sequence reaches; nothing outside the tests writes the engine's state.
#include "monitor/engine/monitor_engine.h"

struct EngineProbe {
    static CallState& state(MonitorEngine& e) { return e.state_; }
    static MonitorDisplay& display(MonitorEngine& e) { return e.state_.display; }
    static void notifyDisplay(MonitorEngine& e) { e.notifyDisplay(); }
};
