// The monitor's opening and closing reach an adapter behind ser2net exactly as
// they reach a local one, run after run, whether ser2net kicks an old
// connection out for a new one or turns the new one away. The adapter streams
// trace lines at the full line rate, so "ATCD8" always goes out into a busy line.
#include "common/ser2net_fixture.h"
#include "common/simulator_fixture.h"
#include "device/at_channel.h"
#include "device/dodova_probe.h"
#include "monitor/engine/system_clock.h"
#include "monitor/session/monitor_session.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr int kRuns = 20;

// One run of corvane-monitor, from finding the adapter to the program's end,
// once a trace line has come in: the commands the adapter got.
std::string monitorRun(const SimulatorLink& sim, const QString& port)
{
    const qsizetype before = sim.commands().size();
    SettingsStore::user().overridePortPath(1, port);
    {
        AtChannel at;
        SystemClock clock;
        MonitorSession session(at, clock);
        if (!at.portOpens() || !answersAsDodova(at))
            return "no adapter on " + port.toStdString();
        session.start();
        if (!QTest::qWaitFor([&] { return session.engine().framesDecoded() > 0; }, 10000))
            return "no trace on " + port.toStdString();
        session.stop(false);
    }
    return sim.commandsSince(before).join(u' ').toStdString();
}

TEST(MonitorLink, OpeningAndClosingBehindSer2netSendWhatALocalPortSends)
{
    if (!Ser2net::installed())
        GTEST_SKIP() << "ser2net is not installed (make deps installs it)";
    PrivateStore store;
    // Raw bytes at 115200 bit/s for longer than the test runs.
    QFile stream(store.file("dense.raw"));
    ASSERT_TRUE(stream.open(QIODevice::WriteOnly));
    stream.write(QByteArray("L1   0 -> 00 81 7F  \r\n 00001234").repeated(60000));
    stream.close();
    SimulatorLink sim({"--play", stream.fileName()});
    ASSERT_TRUE(sim.up());

    const std::string local = monitorRun(sim, sim.link());
    ASSERT_EQ(local, "ATCD8 ATE1 ATI4 ATE0 ATCD1 ATCD9 ATCD8 ATE1 ATE1 ATCD0 ATCD2 ATCD4 ATCD6 ATCD10");
    for (const bool kickOldUser : {true, false}) {
        Ser2net server;
        ASSERT_TRUE(server.start(sim.link(), "ser2net.yaml", kickOldUser));
        for (int run = 1; run <= kRuns; ++run)
            ASSERT_EQ(monitorRun(sim, server.address()), local) << "kickolduser " << kickOldUser << ", run " << run;
    }
}

} // namespace
