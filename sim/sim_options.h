#pragma once
// Command line of dodova-sim.
#include <optional>
#include <string>
#include <vector>

namespace sim {

struct SimOptions {
    std::string link;                    // --link PATH
    std::string log;                     // --log FILE
    std::string state;                   // --state FILE
    bool silent = false;                 // --silent
    int replyDelayMs = 0;                // --reply-delay MS
    std::optional<std::string> identity; // --identity TEXT
    std::string scenario = "demo";       // --scenario NAME|FILE
    std::string record;                  // --record FILE
    std::string play;                    // --play FILE
    std::string renderCapture;           // --render-capture FILE ("-" = stdout)
    bool listScenarios = false;          // --list-scenarios
    bool help = false;
    bool version = false; // --version
};

struct OptionsParse {
    std::optional<SimOptions> options;
    std::string error;
};

OptionsParse parseOptions(const std::vector<std::string>& args);
std::string usageText();

} // namespace sim
