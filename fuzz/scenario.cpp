// Scenario files as the simulator loads them. A file either parses into
// calls in time order or is refused with "line N: ..."; a parsed scenario
// renders into a capture whose every line the capture reader accepts.
#include "fuzz_entry.h"

#include "common/timed_capture.h"
#include "sim/scenario.h"
#include "sim/trace_session.h"

#include <QBuffer>
#include <algorithm>

namespace {

void checkRendering(const sim::Scenario& scenario)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    FUZZ_CHECK(sim::renderCapture(scenario, sim::factoryPortNumbers(), out));
    const QByteArray capture = out.data();
    FUZZ_CHECK(capture.startsWith(TimedCapture::kHeader));
    qsizetype timedLines = 0;
    for (const QByteArray& line : capture.split('\n'))
        timedLines += !line.isEmpty() && line[0] != '#';
    QBuffer in;
    in.setData(capture);
    in.open(QIODevice::ReadOnly);
    TimedCapture::Reader reader;
    reader.start(in);
    qsizetype accepted = 0;
    for (CaptureChunk c; reader.next(c);)
        ++accepted;
    FUZZ_CHECK(accepted == timedLines);
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
