#include "sim/sim_options.h"

#include <algorithm>

namespace sim {

std::string usageText()
{
    return "usage: dodova-sim [--link PATH] [--log FILE] [--state FILE] [--silent]\n"
           "                  [--reply-delay MS] [--identity TEXT]\n"
           "                  [--scenario NAME|FILE] [--record FILE] [--play FILE]\n"
           "       dodova-sim [--scenario NAME|FILE] [--state FILE] --render-capture FILE\n"
           "       dodova-sim --list-scenarios | --help | --version\n"
           "A DodOva terminal adapter on a pseudo-terminal; see man dodova-sim and docs/simulator.md\n"
           "(installed in /usr/share/doc/corvane/docs).\n";
}

OptionsParse parseOptions(const std::vector<std::string>& args)
{
    SimOptions o;
    auto fail = [](const std::string& why) { return OptionsParse{std::nullopt, why}; };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& target) -> bool {
            if (i + 1 >= args.size())
                return false;
            target = args[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--silent") {
            o.silent = true;
        } else if (a == "--list-scenarios") {
            o.listScenarios = true;
        } else if (a == "--link" || a == "--log" || a == "--state" || a == "--scenario" || a == "--record"
                   || a == "--play" || a == "--render-capture" || a == "--identity" || a == "--reply-delay") {
            if (!value(v))
                return fail(a + " needs a value");
            if (a == "--link")
                o.link = v;
            else if (a == "--log")
                o.log = v;
            else if (a == "--state")
                o.state = v;
            else if (a == "--scenario")
                o.scenario = v;
            else if (a == "--record")
                o.record = v;
            else if (a == "--play")
                o.play = v;
            else if (a == "--render-capture")
                o.renderCapture = v;
            else if (a == "--identity")
                o.identity = v;
            else {
                if (v.empty() || v.size() > 6
                    || !std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; }))
                    return fail("--reply-delay needs milliseconds (0..999999)");
                o.replyDelayMs = std::stoi(v);
            }
        } else {
            return fail("unknown option " + a);
        }
    }
    return {o, {}};
}

} // namespace sim
