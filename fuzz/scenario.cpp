// Scenario files as the simulator loads them. A file either parses into
// calls in time order or is refused with "line N: ..."; a parsed scenario
// renders into a capture whose every line the capture reader accepts.
// The simulator's headers come before Qt's, whose emit macro they would clash with.
#include "sim/scenario.h"
#include "sim/timed_capture.h"
#include "sim/trace_session.h"

#include "fuzz_entry.h"

#include <algorithm>
#include <sstream>

namespace {

void checkRendering(const sim::Scenario& scenario)
{
    std::ostringstream out;
    sim::renderCapture(scenario, sim::factoryPortNumbers(), out);
    const std::string capture = out.str();
    FUZZ_CHECK(capture.starts_with(sim::CaptureHeader));
    std::istringstream lines(capture);
    std::size_t timedLines = 0;
    for (std::string line; std::getline(lines, line);)
        timedLines += !line.empty() && line[0] != '#';
    std::istringstream in(capture);
    FUZZ_CHECK(sim::readCapture(in).size() == timedLines);
}

void scenarioFile(const QByteArray& data)
{
    const sim::ScenarioParse parsed = sim::parseScenario(data.toStdString(), "fuzz");
    if (!parsed.scenario) {
        FUZZ_CHECK(parsed.error.starts_with("line "));
        return;
    }
    const auto& calls = parsed.scenario->calls;
    FUZZ_CHECK(std::is_sorted(calls.begin(), calls.end(),
        [](const sim::ScenarioCall& a, const sim::ScenarioCall& b) { return a.atMs < b.atMs; }));
    for (const sim::ScenarioCall& c : calls)
        FUZZ_CHECK(c.port >= 0 && c.port <= 2 && c.atMs >= 0 && c.ringMs >= 0 && c.talkMs >= 0);
    checkRendering(*parsed.scenario);
}

} // namespace

CORVANE_FUZZ_HARNESS("scenario", scenarioFile)
