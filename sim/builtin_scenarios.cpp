// The built-in scenarios, in the scenario file format. Numbers are those of
// the sample contacts listed in docs/simulator.md, so a phone book holding
// them names the callers.
#include "sim/scenario.h"

#include <array>
#include <utility>

namespace sim {
namespace {

constexpr const char* Demo = R"(# A few minutes of everyday traffic on both phones; plays again and again.
loop pause=25s
in  at=0:08 from=03012345678 to=4711 ring=7s talk=0:42 hangup=remote     # Anna Berger
out at=1:05 port=2 dial=0891234567 ring=5s talk=1:10 units=4             # Max Keller
in  at=1:35 from=restricted to=4711 ring=5s talk=0:20 hangup=local        # withheld, on channel B
in  at=2:50 from=04023456789 to=4712 ring=14s answer=no                   # Lena Hofmann, missed
out at=3:15 port=1 dial=0800330000 connected=service ring=3s talk=0:25    # a service line
out at=3:55 port=1 dial=06987654321 answer=busy                           # Jonas Weber, busy
in  at=4:20 from=0221555123 to=4712 ring=4s talk=0:35 hangup=local        # Pizzeria Roma
out at=5:10 port=2 dial=03012345678 ring=9s answer=no                     # Anna again, no answer
)";

constexpr const char* IncomingAnswered = R"(# Phone 1 answers a call, the caller hangs up.
in at=0:02 from=03012345678 to=4711 ring=5s talk=0:30 hangup=remote
)";

constexpr const char* IncomingUnanswered = R"(# A call for Phone 2 rings until the caller gives up.
in at=0:02 from=04023456789 to=4712 ring=15s answer=no
)";

constexpr const char* OutgoingConnected = R"(# Phone 1 calls out, is charged 3 units and hangs up.
out at=0:02 port=1 dial=0891234567 ring=4s talk=1:00 units=3 hangup=local
)";

constexpr const char* OutgoingUnconnected = R"(# Phone 2 calls out, nobody answers, Phone 2 hangs up.
out at=0:02 port=2 dial=06987654321 ring=8s answer=no
)";

constexpr const char* OutgoingBusy = R"(# Phone 1 calls a busy line.
out at=0:02 port=1 dial=06987654321 answer=busy
)";

constexpr const char* CallWaiting = R"(# Phone 1 is on an outgoing call when a second call for it is offered
# without a channel; Phone 1 hangs up, takes the waiting call on the freed channel.
out at=0:02 port=1 dial=0891234567 ring=3s talk=0:30 units=2 hangup=local
in  at=0:20 from=03012345678 to=4711 channel=none ring=35s talk=0:20 hangup=remote
)";

constexpr const char* BackToBack = R"(# A second call on channel A 0.4 s after the first one ended, while the
# monitor still waits for the first one's last charge information.
in  at=0:02 from=0511111111 to=4711 ring=3s talk=0:30 hangup=remote
in  at=35600ms from=0522222222 to=4711 ring=3s talk=0:20 hangup=remote
)";

constexpr const char* BothBusy = R"(# Both channels are in use when a third call is offered; nobody can take it.
in  at=0:02 from=03012345678 to=4711 ring=4s talk=1:00 hangup=remote
out at=0:08 port=2 dial=0891234567 ring=3s talk=1:00 units=2 hangup=local
in  at=0:40 from=04023456789 to=4712 ring=10s answer=no
)";

constexpr const char* Restricted = R"(# A caller who withholds the number; Phone 1 answers and hangs up.
in at=0:02 from=restricted to=4711 ring=6s talk=0:25 hangup=local
)";

constexpr const char* Service = R"(# Phone 2 calls a service line that sends no connected number.
out at=0:02 port=2 dial=0800330000 connected=service ring=3s talk=0:40 hangup=local
)";

constexpr const char* TwoCalls = R"(# Two calls at once: Phone 1 talks on channel A, Phone 2 on channel B.
in  at=0:02 from=03012345678 to=4711 ring=5s talk=1:00 hangup=remote
out at=0:15 port=2 dial=0221555123 ring=4s talk=0:30 units=1 hangup=local
)";

constexpr const char* Nothing = "# No calls: the trace shows nothing.\n";

constexpr std::array<std::pair<const char*, const char*>, 13> Builtins{{
    {"demo", Demo},
    {"incoming-answered", IncomingAnswered},
    {"incoming-unanswered", IncomingUnanswered},
    {"outgoing-connected", OutgoingConnected},
    {"outgoing-unconnected", OutgoingUnconnected},
    {"outgoing-busy", OutgoingBusy},
    {"call-waiting", CallWaiting},
    {"back-to-back", BackToBack},
    {"both-busy", BothBusy},
    {"restricted", Restricted},
    {"service", Service},
    {"two-calls", TwoCalls},
    {"none", Nothing},
}};

} // namespace

std::vector<std::string> builtinScenarioNames()
{
    std::vector<std::string> names;
    for (const auto& b : Builtins)
        names.emplace_back(b.first);
    return names;
}

std::optional<std::string> builtinScenarioText(const std::string& name)
{
    for (const auto& b : Builtins)
        if (name == b.first)
            return std::string(b.second);
    return std::nullopt;
}

} // namespace sim
