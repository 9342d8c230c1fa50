// Event programs: what a program gets, and that none can hold the monitor up.
#include "common/golden.h"
#include "call_scenario.h"

#include "monitor/engine/virtual_clock.h"
#include "monitor/outputs/event_program_runner.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Runner = EventProgramRunner;

class EventProgramTest : public ::testing::Test {
protected:
    EventProgramTest()
    {
        QObject::connect(&runner, &Runner::logMessage, [this](const QString& t) { log << t; });
    }
    QString script(const char* name) { return "/bin/sh \"" + scenario::dataPath(name) + "\" \"" + dir.path() + '"'; }
    QTemporaryDir dir;
    VirtualClock clock;
    Runner runner{clock};
    QStringList log;
    QSignalSpy finished{&runner, &Runner::finished};
};

TEST_F(EventProgramTest, ProgramsGetTheModuleLinesAndTheVariables)
{
    runner.setProgram(script("hook.sh"));
    for (const CallEvent& e : scenario::events())
        runner.callEvent(e);
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.size() == 6; }, 20000)) << log.join('\n').toStdString();
    QByteArray got;
    for (const QString& name : QDir(dir.path()).entryList({"*-*"}, QDir::Files, QDir::Name)) {
        QFile f(dir.filePath(name));
        got += "== " + name.toUtf8() + '\n' + (f.open(QIODevice::ReadOnly) ? f.readAll() : "<unreadable>");
    }
    EXPECT_GOLDEN("outputs/data/hook_runs.txt", got);
    EXPECT_TRUE(log.isEmpty()) << log.join('\n').toStdString();
}

TEST_F(EventProgramTest, HangingProgramsAreEndedAndTheQueueIsBounded)
{
    runner.setProgram(script("hang.sh"));
    for (int i = 0; i < Runner::kMaxRunning + Runner::kMaxQueued + 3; ++i)
        runner.callEvent(scenario::events().first());
    EXPECT_EQ(runner.running(), Runner::kMaxRunning);
    EXPECT_EQ(runner.queued(), Runner::kMaxQueued);
    EXPECT_EQ(log.filter("dropped").size(), 3);
    clock.advance(Runner::kTimeLimitMs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.size() == Runner::kMaxRunning; }, 20000));
    EXPECT_EQ(log.filter("was ended after 10 s").size(), Runner::kMaxRunning);
    EXPECT_EQ(runner.running(), Runner::kMaxRunning); // the next ones from the queue
}

TEST_F(EventProgramTest, FailuresAreLoggedWithTheirCause)
{
    const std::tuple<QString, int, const char*> cases[] = {
        {dir.filePath("no-such-program"), -1, "could not be started"},
        {script("flood.sh"), 3, "exited with code 3: xxxxx"},
        {script("crash.sh"), -1, "crashed"},
    };
    for (const auto& [command, exitCode, logged] : cases) {
        log.clear();
        finished.clear();
        runner.setProgram(command);
        runner.callEvent(scenario::events().first());
        ASSERT_TRUE(QTest::qWaitFor([&] { return finished.size() == 1; }, 20000)) << logged;
        EXPECT_EQ(finished.at(0).at(0).toInt(), exitCode) << logged;
        EXPECT_TRUE(log.size() == 1 && log[0].contains(logged) && log[0].size() < 400) // stderr kept short
            << log.join('\n').toStdString();
    }
}

} // namespace
