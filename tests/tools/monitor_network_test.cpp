// corvane-monitor's network outputs end to end, against dodova-sim: a
// port-1012 call-monitor client, and a mosquitto broker of the test's own read
// with mosquitto_sub (retained discovery and state, the live events, the
// will at kill -9, a broker restart, two monitors as two devices).
#include "common/golden.h"
#include "common/mosquitto_fixture.h"
#include "common/service_run.h"
#include "outputs/ncid_test_client.h"

#include <QRegularExpression>
#include <QTcpSocket>
#include <gtest/gtest.h>

namespace {

const QString kData = QStringLiteral(CORVANE_SOURCE_DIR "/tests/tools/data/network/");

QString masked(QString text)
{
    static const std::pair<const char*, const char*> masks[] = {
        {R"(\d\d\.\d\d\.\d\d \d\d:\d\d:\d\d)", "DD.MM.YY HH:MM:SS"},
        {R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[^"]*)", "TIME"},
        {R"("duration":"\d+:\d\d:\d\d")", R"("duration":"H:MM:SS")"},
        // How long the simulator's calls last depends on the machine's load.
        {R"x("(seconds|duration)":[1-9]\d*)x", R"("\1":N)"},
        {R"(DISCONNECT;(\d);[1-9]\d*;)", R"(DISCONNECT;\1;N;)"},
    };
    for (const auto& [pattern, replacement] : masks)
        text.replace(QRegularExpression(QLatin1String(pattern)), QLatin1String(replacement));
    return text;
}

// The device's lines of a subscriber's output, in order.
QString deviceLines(const QStringList& lines, const QString& id)
{
    QString out;
    for (const QString& l : lines)
        if (l.startsWith("corvane/" + id + '/') || l.contains('/' + id + '/'))
            out += l + '\n';
    return out;
}

TEST(MonitorCallMonitor, AClientReadsRingCallConnectAndDisconnectLines)
{
    const quint16 port = freePort();
    ServiceRun monitor;
    monitor.start(kData + "calls.scenario", {}, {"--callmonitor", QString::number(port)});
    ASSERT_TRUE(monitor.said("call monitor on 127.0.0.1 port")) << monitor.log().toStdString();
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(client.waitForConnected(5000));
    QByteArray got;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (got += client.readAll()).count("DISCONNECT") >= 4; }, 90000))
        << got.toStdString() << monitor.log().toStdString();
    QTest::qWait(0);
    got += client.readAll();
    EXPECT_EQ(got.count("\r\n"), got.count('\n')) << "every line ends in CR LF";
    EXPECT_GOLDEN("tools/data/network/callmonitor.golden", masked(QString::fromLatin1(got).remove(u'\r')));
}

// Two monitors on two adapters publish to one broker as two devices: the
// retained discovery and state of each, each one's events in order; one
// killed with SIGKILL is marked offline by its will.
TEST(MonitorMqtt, TwoMonitorsPublishDiscoveryStateAndEventsAndTheWillMarksAKilledOneOffline)
{
    if (!Broker::installed())
        GTEST_SKIP() << "mosquitto is not installed (make deps installs it)";
    Broker broker;
    ASSERT_TRUE(broker.start());
    Subscriber live(broker, {"corvane/#", "calls/#"});
    ASSERT_TRUE(live.ready());
    ServiceRun left, right;
    left.start(kData + "missed.scenario", {}, {"--mqtt", broker.url(), "--mqtt-id", "left"});
    right.start(kData + "missed.scenario", {}, {"--mqtt", broker.url() + "/calls", "--mqtt-id", "Right Side"});
    ASSERT_TRUE(live.waitFor("corvane/left/last_call", 2)) << left.log().toStdString();
    ASSERT_TRUE(live.waitFor("calls/right_side/last_call", 2)) << right.log().toStdString();

    QString all;
    for (const QString& id : {QStringLiteral("left"), QStringLiteral("right_side")}) {
        Subscriber retained(broker, {"corvane/#", "calls/#", "homeassistant/#"});
        ASSERT_TRUE(retained.waitFor('/' + id + '/', 12)); // 7 discovery configs, 5 states
        QStringList state = retained.lines().filter('/' + id + '/');
        state.sort();
        all += "== retained " + id + '\n' + state.join(u'\n') + '\n';
    }
    left.kill9();
    ASSERT_TRUE(live.waitFor("corvane/left/status offline"));
    QStringList events;
    for (const QString& l : live.lines())
        if (l.startsWith("corvane/left/event ") || l.startsWith("corvane/left/call "))
            events << l;
    all += "== live left\n" + events.join(u'\n') + "\n== left after kill -9\n"
           + deviceLines(live.lines(), "left").section(u'\n', -2);
    EXPECT_GOLDEN("tools/data/network/mqtt.golden", masked(all));
}

// The broker goes away before the calls and comes back after them: the
// monitor queued them and delivers every one, in order.
TEST(MonitorMqtt, EventsOfABrokerRestartAreDeliveredInOrder)
{
    if (!Broker::installed())
        GTEST_SKIP() << "mosquitto is not installed (make deps installs it)";
    Broker broker;
    ASSERT_TRUE(broker.start());
    Subscriber live(broker, {"corvane/+/event"}, "corvane-test-reader"); // its session outlives the broker's restart
    ASSERT_TRUE(live.ready());
    broker.stop();
    ServiceRun monitor;
    monitor.start(kData + "missed.scenario", {}, {"--mqtt", broker.url(), "--mqtt-id", "queued"});
    ASSERT_TRUE(monitor.said("ended channel A")) << monitor.log().toStdString();
    ASSERT_TRUE(monitor.said("Ring, 0 s talked")) << monitor.log().toStdString();
    ASSERT_TRUE(broker.start());
    ASSERT_TRUE(live.waitFor("\"event\":\"ended\"", 2, 60000)) << monitor.log().toStdString();
    EXPECT_GOLDEN("tools/data/network/queued.golden", masked(deviceLines(live.lines(), "queued")));
    EXPECT_EQ(monitor.log().count("cannot connect"), 1) << monitor.log().toStdString(); // said once, not per retry
}

// A second monitor on the first one's folder would rewrite its list.txt: it
// is refused, saying who holds the folder, and the first one keeps its calls.
TEST(MonitorFolder, ASecondMonitorOnTheSameFolderIsRefusedAndTheFirstKeepsItsCalls)
{
    ServiceRun first;
    first.start(kData + "missed.scenario", {});
    ASSERT_TRUE(first.said("monitoring ")) << first.log().toStdString();
    QProcess second;
    second.setProcessChannelMode(QProcess::MergedChannels);
    second.start(
        QStringLiteral(CORVANE_BUILD_DIR "/corvane-monitor"), {"--port", first.sim().link(), "--home", first.home()});
    const bool ended = second.waitForFinished(30000);
    const QString said = QString::fromUtf8(second.readAll());
    second.kill();
    ASSERT_TRUE(ended) << said.toStdString();
    EXPECT_EQ(second.exitCode(), 1);
    EXPECT_TRUE(said.contains(QStringLiteral("the folder %1 is in use by corvane-monitor (pid ").arg(first.home()))
                && said.contains("give each adapter a folder of its own with --home DIR"))
        << said.toStdString();
    ASSERT_TRUE(first.said("Ring, 0 s talked")) << first.log().toStdString();
    first.stop();
    QFile list(first.home() + "/list.txt");
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_TRUE(list.readAll().contains("\tRing\t"));
}

// A --json reader that takes nothing (its fifo full from the start) costs the
// other outputs nothing: NCID and list.txt get the calls as they would without it.
TEST(MonitorJson, AReaderThatTakesNothingHoldsUpNoOtherOutput)
{
    QTemporaryDir dir;
    const auto [reader, filler] = fullFifo(dir.filePath("json"));
    ASSERT_TRUE(reader >= 0 && filler >= 0);
    const quint16 port = freePort();
    ServiceRun monitor;
    monitor.start(kData + "missed.scenario", {}, {"--json", "--ncid", QString::number(port)}, dir.filePath("json"));
    ASSERT_TRUE(monitor.said("NCID server on")) << monitor.log().toStdString();
    NcidTestClient ncid(port);
    EXPECT_TRUE(ncid.waitFor("CID:")) << monitor.log().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return readBytes(monitor.home() + "/list.txt").contains("\tRing\t"); }, 60000))
        << monitor.log().toStdString();
    EXPECT_TRUE(ncid.waitFor("END:")) << monitor.log().toStdString();
    ::close(filler);
    ::close(reader);
}

} // namespace
