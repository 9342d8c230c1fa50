#pragma once
// A scenario is a timeline of calls on the line; see docs/simulator.md for
// the file format. Built-in scenarios are written in the same format.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

enum class CallDirection { Incoming, Outgoing };
enum class AnswerKind { Yes, No, Busy };
enum class ClearedBy { Local, Remote };
enum class ChannelChoice { Auto, A, B, None };

struct ScenarioCall {
    CallDirection direction = CallDirection::Incoming;
    std::int64_t atMs = 0;
    int port = 0;            // 1 or 2; 0 = by MSN (incoming) or 1 (outgoing)
    std::string from;        // incoming: caller's number ("" = none sent)
    bool restricted = false; // incoming: caller withheld (6C 02 01 A3)
    std::string to;          // incoming: called MSN ("" = the port's first MSN)
    std::string dial;        // outgoing: digits dialled
    std::string connected;   // outgoing: far end's connected number ("" = the dialled digits)
    bool service = false;    // outgoing: connected number 4C 02 01 C3
    ChannelChoice channel = ChannelChoice::Auto;
    std::int64_t ringMs = 6000;
    AnswerKind answer = AnswerKind::Yes;
    std::int64_t talkMs = 30000;
    ClearedBy hangup = ClearedBy::Remote;
    int units = 0; // outgoing: charge units reported during the call
    int line = 0;  // line in the scenario text, for messages
};

struct Scenario {
    std::string name;
    std::vector<ScenarioCall> calls; // sorted by start time
    bool loop = false;
    std::int64_t loopPauseMs = 20000;
};

struct ScenarioParse {
    std::optional<Scenario> scenario;
    std::string error; // "line N: ..." when scenario is empty
};

ScenarioParse parseScenario(const std::string& text, const std::string& name);

// Durations: "90", "90s", "1500ms", "1:30" (m:ss) or "1:02:03" (h:mm:ss).
std::optional<std::int64_t> parseDuration(const std::string& text);

// Built-in scenarios by name ("demo", "incoming-answered", ...).
std::vector<std::string> builtinScenarioNames();
std::optional<std::string> builtinScenarioText(const std::string& name);

// A built-in name, or else a file; error text when neither works.
ScenarioParse loadScenario(const std::string& nameOrFile);

} // namespace sim
