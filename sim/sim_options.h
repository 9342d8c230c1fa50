#pragma once
// Command line of dodova-sim.
#include "common/option_parser.h"

#include <optional>
#include <string>

namespace sim {

struct SimOptions : CommandLineStatus {
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
};

// Arguments without the program name. --help and --version win over errors.
SimOptions parseOptions(const QStringList& args);
QString usageText();

} // namespace sim
