// Scenario files, durations and the saved device state.
#include "common/golden.h"
#include "common/test_files.h"
#include "sim/device_state.h"
#include "sim/scenario.h"
#include "sim/trace_session.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

using namespace sim;

namespace {

TEST(Scenario, Durations)
{
    struct Case {
        const char* text;
        std::int64_t ms;
    };
    const Case good[] = {{"90", 90000}, {"90s", 90000}, {"1500ms", 1500}, {"1:30", 90000}, {"1:02:03", 3723000},
        {"0", 0}, {"0:05", 5000}};
    for (const auto& c : good)
        EXPECT_EQ(parseDuration(c.text), std::optional<std::int64_t>(c.ms)) << c.text;
    for (const char* bad :
        {"", "s", "ms", "1:5", "1:60", "1:", ":30", "-1", "1.5", "1:30ms", "25:00:00", "1:2:3:4", "9999999999999"})
        EXPECT_FALSE(parseDuration(bad)) << bad;
}

TEST(Scenario, ParsesCallsWithDefaultsAndSortsThem)
{
    const auto parsed = parseScenario("loop pause=10s\n"
                                      "out at=1:00 dial=123 units=4 # later\n"
                                      "IN at=5 from=restricted channel=B answer=no\n",
        "t");
    ASSERT_TRUE(parsed.scenario) << parsed.error;
    const auto& s = *parsed.scenario;
    EXPECT_TRUE(s.loop);
    EXPECT_EQ(s.loopPauseMs, 10000);
    ASSERT_EQ(s.calls.size(), 2u);
    EXPECT_EQ(s.calls[0].direction, CallDirection::Incoming);
    EXPECT_TRUE(s.calls[0].restricted);
    EXPECT_EQ(s.calls[0].channel, ChannelChoice::B);
    EXPECT_EQ(s.calls[0].answer, AnswerKind::No);
    EXPECT_EQ(s.calls[0].hangup, ClearedBy::Remote);
    EXPECT_EQ(s.calls[1].atMs, 60000);
    EXPECT_EQ(s.calls[1].units, 4);
    EXPECT_EQ(s.calls[1].hangup, ClearedBy::Local);
    EXPECT_EQ(s.calls[1].port, 0);
}

// Each bad scenario of data/bad_scenarios.txt is refused with the line and the mistake.
TEST(Scenario, ErrorsNameTheLine)
{
    QString got;
    for (const QString& text :
        QString::fromUtf8(readBytes(CORVANE_SOURCE_DIR "/tests/sim/data/bad_scenarios.txt")).split(u'\n')) {
        if (text.isEmpty() || text.startsWith(u'#'))
            continue;
        const auto parsed = parseScenario(QString(text).replace("\\n", "\n").toStdString(), "t");
        got += text + " -> " + (parsed.scenario ? "accepted" : QString::fromStdString(parsed.error)) + u'\n';
    }
    EXPECT_GOLDEN("sim/data/bad_scenarios.expected", got);
}

// (Every built-in scenario is loaded and played by the call-flow tests.)
TEST(Scenario, DemoLoopsWithACallInTheFirstMinute)
{
    const auto demo = *loadScenario("demo").scenario;
    EXPECT_TRUE(demo.loop);
    ASSERT_FALSE(demo.calls.empty());
    EXPECT_LT(demo.calls.front().atMs, 60000);
    EXPECT_FALSE(loadScenario("/nonexistent/scenario.txt").scenario);
}

TEST(TraceSession, LoopingScenarioKeepsPlayingWithContinuingSequenceNumbers)
{
    auto demo = *loadScenario("incoming-answered").scenario;
    demo.loop = true;
    demo.loopPauseMs = 1000;
    TraceSession session(demo, factoryPortNumbers);
    const auto frames = session.framesUntil(10LL * 60 * 1000);
    int offers = 0;
    for (const auto& f : frames)
        offers += f.octets.size() > 2 && f.octets[1] == 0xFF;
    EXPECT_GE(offers, 10) << "a looping scenario offers its call again and again";
    EXPECT_GT(session.nextFrameMs(), 10LL * 60 * 1000);
}

TEST(TraceSession, OutgoingChargesReachTheCounters)
{
    TraceSession session(*loadScenario("outgoing-connected").scenario, factoryPortNumbers);
    session.framesUntil(INT64_MAX);
    const auto charges = session.chargesUntil(INT64_MAX);
    ASSERT_EQ(charges.size(), 1u);
    DeviceState device;
    device.charges = {0, 0, 0, 0, 10, 0};
    device.addCharge(charges[0].port, charges[0].units);
    EXPECT_EQ(device.charges, (std::array<std::int32_t, 6>{0, 3, 0, 0, 13, 0}));
}

TEST(DeviceState, SaveAndLoadRoundTrip)
{
    DeviceState a;
    a.current.registers[56] = 40;
    a.current.registers[127] = 255;
    a.current.msn = {"1", "", "3", "", "", "6", "", "", "99999999999999999999"};
    a.current.own = {"", "7", "8"};
    a.profiles[3].registers[15] = 96;
    a.profiles[1].msn[2] = "555";
    a.charges = {1, 2, 3, 4, 5, 6};
    a.echo = false;
    std::stringstream file;
    a.save(file);
    DeviceState b;
    b.load(file);
    EXPECT_EQ(b.current, a.current);
    EXPECT_EQ(b.profiles, a.profiles);
    EXPECT_EQ(b.charges, a.charges);
    EXPECT_TRUE(b.echo) << "the echo is on after every power-on";
}

TEST(DeviceState, DamagedFilesLoadWhatTheyCan)
{
    std::istringstream file("registers=1,x,300,4\nmsn=12,ab,,\ncharges=-5,7\nprofile9.registers=1\n"
                            "garbage\n=\nown="
                            + std::string(10000, '9') + "\n");
    DeviceState d;
    d.load(file);
    EXPECT_EQ(d.current.registers[0], 1);
    EXPECT_EQ(d.current.registers[1], 0) << "unreadable values keep the factory value";
    EXPECT_EQ(d.current.registers[2], 43);
    EXPECT_EQ(d.current.registers[3], 4);
    EXPECT_EQ(d.current.msn[0], "12");
    EXPECT_EQ(d.current.msn[1], "");
    EXPECT_EQ(d.charges[0], 0);
    EXPECT_EQ(d.charges[1], 7);
    EXPECT_EQ(d.current.own[0], "4711");

    std::mt19937 random(7);
    std::string noise(20000, '\0');
    for (auto& c : noise)
        c = static_cast<char>(random());
    std::istringstream junk(noise);
    DeviceState e;
    e.load(junk); // must neither crash nor hang
    SUCCEED();
}

} // namespace
