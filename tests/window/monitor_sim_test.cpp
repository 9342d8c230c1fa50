// The monitor against dodova-sim over a real pseudo-terminal: the commands
// it sends on opening and closing, the calls it logs, and a reconnect after
// the adapter went away. These tests wait for the simulated line, never for
// a fixed time.
#include "window_fixture.h"

#include "common/simulator_fixture.h"
#include "device/port_link.h"

#include "common/mosquitto_fixture.h"
#include "common/service_run.h"
#include "monitor/engine/system_clock.h"
#include "monitor/window/monitor_launcher.h"
#include "outputs/ncid_test_client.h"
#include "tools/replay_run.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QProcess>
#include <QScopeGuard>
#include <QSet>
#include <QSerialPort>
#include <QTest>
#include <QTreeWidget>

namespace {

// Trace lines in a timed capture.
qsizetype traceLines(const QString& capture)
{
    QFile f(capture);
    return f.open(QIODevice::ReadOnly) ? f.readAll().count("L1   0") : -1;
}

int recordsOfType(FormMonitor& m, const QString& type)
{
    int n = 0;
    for (const CallRecord& r : m.engine().callList().records())
        n += r.type == type;
    return n;
}

class MonitorSimTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        if (!QFileInfo(QStringLiteral(CORVANE_BUILD_DIR "/dodova-sim")).isExecutable())
            GTEST_SKIP() << "dodova-sim is not built";
    }

    // A monitor on the real command channel and the system clock.
    FormMonitor& liveMonitor(const QString& link)
    {
        settings().overridePortPath(1, link);
        at.configure({1, at.line().speed, 0.0f});
        form = std::make_unique<Form1>(at);
        monitor = std::make_unique<FormMonitor>(*form, at, systemClock, settings(), 0, false);
        monitor->endProgram = [this] { ++programEnds; };
        monitor->notifyDesktop = [](const QString&, const QString&) {};
        return *monitor;
    }

    QString scenario(const QByteArray& text)
    {
        writeText("calls.scn", text);
        return file("calls.scn");
    }

    SystemClock systemClock;
};

} // namespace

TEST_F(MonitorSimTest, LogsAnAnsweredAndAnOutgoingCallAndTakesTheAdapterOutOfTraceMode)
{
    SimulatorLink sim({"--scenario", scenario("in  at=1s from=03012345678 to=4711 ring=1s talk=2s\n"
                                              "out at=4s port=2 dial=089123 ring=1s talk=2s units=3\n")});
    ASSERT_TRUE(sim.up());
    FormMonitor& m = liveMonitor(sim.link());
    m.open();
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return recordsOfType(m, "Answer") == 1 && recordsOfType(m, "Called") == 1; }, 60000));
    m.close();

    QFile list(file("list.txt"));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    const QByteArray text = list.readAll();
    EXPECT_TRUE(text.contains("\tAnswer\t")) << text.toStdString();
    EXPECT_TRUE(text.contains("\tCalled\t")) << text.toStdString();
    EXPECT_TRUE(text.contains("03012345678"));
    EXPECT_TRUE(text.contains("089123"));

    ASSERT_TRUE(QTest::qWaitFor([&] { return sim.commands().size() >= 11; }, 10000));
    EXPECT_EQ(sim.commands(),
        QStringList({"ATE0", "ATCD1", "ATCD9", "ATCD8", "ATE1", "ATE1", "ATCD0", "ATCD2", "ATCD4", "ATCD6", "ATCD10"}));
    EXPECT_FALSE(at.trace().active());
    EXPECT_FALSE(at.port().isOpen());
}

// The adapter unplugged mid-call and back with other calls: the cut-off call
// is logged at the loss, and every later call as the replay of what the
// adapter sent after its return logs it.
TEST_F(MonitorSimTest, ReconnectsAfterTheAdapterVanishedAndLogsEveryLaterCallAsTheReplayDoes)
{
    SimulatorLink sim({"--scenario", scenario("in at=1s from=0301111 to=4711 ring=1s talk=30s\n")});
    ASSERT_TRUE(sim.up());
    FormMonitor& m = liveMonitor(sim.link());
    m.open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m.engine().display().channels[0].connected == 1; }, 60000)); // mid-call
    sim.kill();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m.connectionLost(); }, 20000));
    EXPECT_TRUE(m.findChild<QLabel*>("LabelCID")->text().contains("reconnecting"));
    EXPECT_EQ(recordsOfType(m, "Answer"), 1); // ended at the loss
    EXPECT_EQ(m.engine().display().channels[0].connected, 0);
    const int before = m.engine().callList().count();
    const qint64 framesBefore = m.engine().framesDecoded();

    const QString later = scenario("in  at=1s from=0302222 to=4711 ring=1s talk=2s hangup=remote\n"
                                   "out at=5s port=2 dial=089123 ring=1s talk=2s units=3 hangup=local\n"
                                   "in  at=9s from=0303333 to=4712 ring=2s answer=no\n");
    ASSERT_EQ(
        QProcess::execute(CORVANE_BUILD_DIR "/dodova-sim", {"--scenario", later, "--render-capture", file("all")}), 0);
    ASSERT_TRUE(sim.start({"--scenario", later, "--record", file("after.capture")})); // the adapter is back
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m.connectionLost(); }, 30000));
    ReplayOptions replay;
    replay.capture = file("after.capture");
    replay.outDir = file("replay");
    // Two caller-ID records, the answered call, the outgoing one (logged once
    // the network clears it, after the last call was announced).
    ASSERT_TRUE(QTest::qWaitFor([&] { return m.engine().callList().count() - before == 4; }, 30000));
    // Nothing more follows once the adapter has sent every line and the monitor
    // has decoded them (the last waits for a next) and ended every call.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const qsizetype lines = traceLines(file("all"));
            return traceLines(file("after.capture")) == lines && m.engine().framesDecoded() - framesBefore == lines - 1
                   && !m.engine().endOfCallPending();
        },
        60000));
    ReplaySummary summary;
    QString error;
    ASSERT_TRUE(Replay::run(replay, summary, error)) << error.toStdString();
    QStringList live, replayed;
    const QList<CallRecord>& records = m.engine().callList().records();
    for (int i = 0; i < records.size() - before; ++i)
        live << records[i].type + u' ' + records[i].number + u' ' + records[i].msn;
    QFile list(file("replay/list.txt"));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    for (const QByteArray& line : list.readAll().split('\n'))
        if (const QList<QByteArray> f = line.trimmed().split('\t'); f.size() >= 5)
            replayed << QString::fromUtf8(f[1] + ' ' + f[4] + ' ' + f[0]);
    EXPECT_EQ(live, replayed);
    EXPECT_EQ(replayed.size(), 4) << replayed.join('\n').toStdString(); // what the adapter sent was decoded
    m.close();
    EXPECT_EQ(sim.commands().mid(0, 3), QStringList({"ATE0", "ATCD1", "ATCD9"}));
}

// corvane-monitor holds the adapter: the window beside it attaches, reads and
// writes the settings through it, and its call monitor shows the service's
// call without decoding; the service alone logs it, and each of its outputs
// sees it. When the service ends, the window says so and asks about the port.
TEST_F(MonitorSimTest, AWindowOnARunningServiceConfiguresThroughItAndShowsItsCalls)
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const auto restore = qScopeGuard([&] { qputenv("XDG_RUNTIME_DIR", runtime); });
    QDir().mkpath(dir.filePath("run"));
    QFile(dir.filePath("run")).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", dir.filePath("run").toUtf8()); // where the service leaves its address
    SimulatorLink sim({"--scenario",
        scenario("in at=0:20 from=0301234567 to=4711 ring=6s talk=3s\n"
                 "in at=0:40 from=0307654321 to=4711 ring=2s answer=no\n"),
        "--record", file("sent.capture")});
    ASSERT_TRUE(sim.up());
    const quint16 ncidPort = freePort(), callMonitorPort = freePort();
    Broker broker;
    const bool mqtt = Broker::installed() && broker.start();
    QStringList args{"--ncid", QString::number(ncidPort), "--callmonitor", QString::number(callMonitorPort)};
    if (mqtt)
        args << "--mqtt" << broker.url();
    ServiceRun service;
    service.startOn(sim.link(), {}, args);
    ASSERT_TRUE(service.said("monitoring ")) << service.log().toStdString();
    NcidTestClient ncid(ncidPort);
    NcidTestClient callMonitor(callMonitorPort); // reads lines too
    std::unique_ptr<Subscriber> events = mqtt ? std::make_unique<Subscriber>(broker, QStringList{"corvane/+/event"})
                                              : nullptr;

    liveMonitor(sim.link());
    monitor.reset(); // the window opens its monitor itself
    QStringList asked;
    form->ask = [&](const QString& text, const QString&, QMessageBox::StandardButtons, QMessageBox::StandardButton) {
        asked << text;
        return QMessageBox::No;
    };
    serviceaddress::Address silent;
    QString why;
    ASSERT_EQ(form->detectService(silent, why), Form1::ServiceFound::Attached) << why.toStdString();
    const auto click = [&](const char* name) { form->findChild<QAbstractButton*>(QLatin1String(name))->click(); };
    click("CommandRead");
    auto* waiting = form->findChild<QCheckBox*>("CheckCW1");
    const bool waitingWas = waiting->isChecked();
    const qsizetype before = sim.commands().size();
    waiting->click();
    click("CommandSend");
    const QStringList sent = sim.commandsSince(before);
    ASSERT_GE(sent.size(), 4);
    EXPECT_EQ(sent.first(), "ATCD8");
    EXPECT_EQ(sent.mid(sent.size() - 3), QStringList({"ATE0", "ATCD1", "ATCD9"}));
    EXPECT_EQ(sent.count("ATCD9"), 1); // out of trace mode once, and back
    click("CommandRead");
    EXPECT_NE(waiting->isChecked(), waitingWas); // the simulator keeps the change

    Monitor_Click(*form, TraceOutput::kEverything, false); // with the trace panes
    FormMonitor* m = currentMonitor();
    ASSERT_TRUE(m && m->serviceFeed());
    EXPECT_EQ(m->windowTitle(), "Call Monitor - through corvane-monitor");
    ServiceFeed& feed = *m->serviceFeed();
    auto* number = m->findChild<QLabel*>("Label1");
    auto* duration = m->findChild<QLabel*>("LabelDur1");
    auto* tree = m->findChild<QTreeWidget*>("TreeIDs");
    bool shownLive = false, terminalShown = false;
    QSet<QString> counted; // the durations shown while talking: the service's count, second by second
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const ChannelDisplay& a = feed.state().display.channels[0];
            shownLive = shownLive || (number->text() == "0301234567" && a.ringing);
            if (a.connected && duration->text().startsWith("0:00:0") && duration->text() != "0:00:00")
                counted << duration->text();
            terminalShown = terminalShown || !tree->findItems("ID 81", Qt::MatchRecursive).isEmpty();
            return recordsOfType(*m, "Answer") == 1 && feed.tracePane(2).text().contains("MSN");
        },
        90000))
        << service.log().toStdString();
    EXPECT_TRUE(shownLive);
    EXPECT_GE(counted.size(), 2) << QStringList(counted.values()).join(' ').toStdString();
    // The panes hold the service's trace, as the engine writes it for what the
    // adapter sent (nothing came before the window attached).
    ReplayOptions replay;
    replay.capture = file("sent.capture");
    replay.outDir = file("replay");
    replay.debugLevel = TraceOutput::kEverything;
    ReplaySummary summary;
    QString error;
    ASSERT_TRUE(Replay::run(replay, summary, error)) << error.toStdString();
    EXPECT_EQ(feed.tracedLevel(), TraceOutput::kEverything);
    const char* const panes[] = {"Text1", "Text2", "Text3"};
    for (int i = 0; i < 3; ++i) {
        const QString shown = feed.tracePane(i).text();
        EXPECT_EQ(shown, QString::fromUtf8(readBytes(file(QString("replay/%1.txt").arg(panes[i]))))) << i;
        EXPECT_EQ(m->findChild<QPlainTextEdit*>(panes[i])->toPlainText(), QString(shown).remove(u'\r')) << i;
    }
    EXPECT_TRUE(terminalShown);
    m->Command1_Click(); // "CLEAR THE WINDOWS": the window's panes
    EXPECT_EQ(m->findChild<QPlainTextEdit*>("Text3")->toPlainText(), "");
    EXPECT_EQ(m->engine().callList().records()[0].number, "0301234567");
    EXPECT_EQ(number->text(), "0301234567");   // the panel keeps the last call's number
    EXPECT_EQ(m->engine().framesDecoded(), 0); // the service decodes, not the window
    EXPECT_TRUE(ncid.waitFor("CID:")) << ncid.raw.toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return callMonitor.read(), callMonitor.raw.contains(";RING;"); }, 10000))
        << callMonitor.raw.toStdString();
    if (mqtt) {
        EXPECT_TRUE(events->waitFor("\"event\":\"incoming\"")) << events->lines().join('\n').toStdString();
    }

    // "Stop Trace" stops the window's panes, not the service: the next call is
    // monitored and listed, and the panes stay as they were.
    m->CommandPause_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m->engine().callList().records()[0].number == "0307654321"; }, 60000));
    EXPECT_EQ(feed.tracePane(0).text() + feed.tracePane(1).text() + feed.tracePane(2).text(), "");
    m->Command4_Click();

    service.stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !asked.isEmpty(); }, 30000));
    EXPECT_TRUE(asked[0].contains("has gone away")) << asked[0].toStdString();
    EXPECT_EQ(m->findChild<QLabel*>("LabelCID")->text(), "corvane-monitor gone - waiting ...");
    EXPECT_TRUE(m->connectionLost());
    const int shown = m->engine().callList().count(); // the caller-ID record and the call
    m->close();
    QFile list(service.home() + "/list.txt");
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    const QByteArray logged = list.readAll();
    EXPECT_EQ(logged.count("\tAnswer\t"), 1); // logged once, by the service
    EXPECT_EQ(logged.count('\n'), shown);
    EXPECT_FALSE(QFile::exists(file("list.txt"))); // and never by the window
    if (!mqtt)
        GTEST_SKIP() << "mosquitto is not installed (make deps installs it): MQTT was not tried";
}
