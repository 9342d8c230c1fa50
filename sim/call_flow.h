#pragma once
// Turns a scenario's calls into DSS1 message flows on the ports' links.
// Which elements each message carries follows fixed rules the monitor relies
// on: numbers with octet 3a, the channel only in the network's first answer
// to a port (and in an answering port's ALERTING and CONNECT), the port's own
// cause 80 90 exactly once per call, the network's causes 82 90 / 82 91.
#include "sim/line_event.h"
#include "sim/scenario.h"

#include <array>
#include <string>
#include <vector>

namespace sim {

// The device's numbers the calls use: MSNs per port (slots 0..2 Phone 1,
// 3..5 Phone 2) and the own number each port sends.
struct PortNumbers {
    std::array<std::string, 9> msn;
    std::array<std::string, 3> own; // Phone 1, Phone 2, DTE
};

// State that continues from one pass of a looping scenario to the next.
struct CallFlowState {
    std::uint8_t networkRef = 0;
    std::uint8_t terminalRef = 0;
    std::uint8_t invokeId = 0;
};

struct ExpandedScenario {
    std::vector<LineEvent> events; // sorted by time
    std::int64_t endMs = 0;        // when the last call is over
};

ExpandedScenario expandScenario(
    const Scenario& scenario, const PortNumbers& numbers, std::int64_t offsetMs, CallFlowState& state);

} // namespace sim
