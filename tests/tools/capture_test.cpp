// corvane-capture: trace lines into frames as the monitor cuts them, the
// command line, and the program against the simulator: its extcap phases, a
// call's pcap records against a golden, every way a capture ends taking the
// adapter out of trace mode, and tshark capturing through a private extcap
// folder.
#include "common/golden.h"
#include "common/ser2net_fixture.h"
#include "common/simulator_fixture.h"
#include "common/test_files.h"
#include "common/version.h"
#include "tools/capture_options.h"
#include "tools/live_frames.h"
#include "common/timed_capture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kData = QStringLiteral(CORVANE_SOURCE_DIR "/tests/tools/data/capture/");
const QString kProgram = QStringLiteral(CORVANE_BUILD_DIR "/corvane-capture");
const QStringList kClosing{"ATCD8", "ATE1", "ATE1", "ATCD0", "ATCD2", "ATCD4", "ATCD6", "ATCD10"};

QString frameText(FrameDirection d, const QByteArray& frame)
{
    const char* mark = d == FrameDirection::UserToNetwork ? "->" : d == FrameDirection::NetworkToUser ? "<-" : "??";
    return QLatin1String(mark) + u' ' + QString::fromLatin1(frame.toHex(' ').toUpper());
}

QStringList liveFrames(const QByteArray& trace)
{
    QStringList out;
    LiveFrames frames([&](const QByteArray& f, FrameDirection d) { out << frameText(d, f); });
    frames.feed(trace);
    return out;
}

TEST(LiveFrames, WholeFrameLinesComeOutOnceTheirTrailerIsIn)
{
    const QByteArray good = "L1   0 -> 00 81 7F  \r\n 00000010";
    const struct {
        const char* name;
        QByteArray trace;
        QStringList frames;
    } cases[] = {
        {"the last line needs no next line", good, {"-> 00 81 7F"}},
        {"half a trailer is not enough", good.chopped(1), {}},
        {"directions", good + "L1   0 <- 02 81 73  \r\n 00000020", {"-> 00 81 7F", "<- 02 81 73"}},
        {"not frames", "L1 phid 0 PH_DATA_REQ \r\n 00000001L1   0 => 00 81  \r\n 00000002" + good, {"-> 00 81 7F"}},
        {"damaged octets", "L1   0 -> 00 8G 7F  \r\n 00000003L1   0 <- 02 81 7  \r\n 00000004" + good, {"-> 00 81 7F"}},
        {"longer than the decoder reads",
            "L1   0 <- " + QByteArray(129 * 3, ' ').replace("   ", "00 ") + " \r\n 00000005", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(liveFrames(c.trace), c.frames) << c.name;
}

// Cutting at the trailer gives the frames the monitor cuts when each next "L" arrives.
TEST(LiveFrames, CutsAScenarioAsTheMonitorDoes)
{
    QTemporaryDir dir;
    QProcess sim;
    sim.start(QStringLiteral(CORVANE_BUILD_DIR "/dodova-sim"),
        {"--scenario", "two-calls", "--render-capture", dir.filePath("c.trace")});
    ASSERT_TRUE(sim.waitForFinished(60000) && sim.exitCode() == 0);
    QList<CaptureChunk> chunks;
    ASSERT_TRUE(TimedCapture::load(dir.filePath("c.trace"), chunks));
    QByteArray trace;
    for (const CaptureChunk& c : chunks)
        trace += c.bytes;

    QStringList monitor;
    TraceOutput quiet;
    TraceCapture capture(quiet, {[] {},
                                    [&](const TraceCapture::Octets& o, int n) {
                                        const QByteArray f(reinterpret_cast<const char*>(o.data()) + 1, n);
                                        monitor << frameText(TraceCapture::directionOf(capture.lastLine()), f);
                                    }});
    for (char c : trace + 'L')
        capture.scan(c);
    EXPECT_GT(monitor.size(), 40);
    EXPECT_EQ(liveFrames(trace), monitor);
}

TEST(CaptureOptions, PhasesAndMistakes)
{
    const struct {
        QStringList args;
        CapturePhase phase;
        const char* error;
    } cases[] = {
        {{"--extcap-interfaces", "--extcap-version=4.0"}, CapturePhase::Interfaces, ""},
        {{"--extcap-config", "--extcap-interface", "dodova"}, CapturePhase::Config, ""},
        {{"--capture", "--extcap-interface=dodova", "--fifo", "f", "--port", "tcp://h:1", "--listen-only",
             "--extcap-capture-filter", "x"},
            CapturePhase::Capture, ""},
        {{"--extcap-dlts", "--extcap-interface", "eth0"}, CapturePhase::Dlts, "no interface eth0"},
        {{"--capture", "--extcap-dlts", "--extcap-interface", "dodova"}, CapturePhase::Dlts, "another phase"},
        {{}, CapturePhase::None, "no phase"},
    };
    for (const auto& c : cases) {
        const CaptureOptions o = parseCaptureOptions(c.args);
        EXPECT_EQ(o.phase, c.phase) << c.args.join(' ').toStdString();
        EXPECT_TRUE(QLatin1String(c.error).isEmpty() ? o.error.isEmpty() : o.error.contains(QLatin1String(c.error)))
            << c.args.join(' ').toStdString() << ": " << o.error.toStdString();
    }
    EXPECT_EQ(parseCaptureOptions({"--capture", "--port", "a", "--other-port", "b"}).device(), QStringLiteral("b"));
}

// The pcap file as text up to the call's end: its header, then per record the
// pseudo-header and the frame. Times are checked apart: they come from the clock.
struct Pcap {
    QString text;
    QList<qint64> timesUs;
    bool callEnded = false; // the network's RELEASE COMPLETE and its acknowledgement are in
};

Pcap readPcap(const QString& path)
{
    QFile f(path);
    Pcap p;
    if (!f.open(QIODevice::ReadOnly))
        return p;
    const QByteArray all = f.readAll();
    p.text = "header " + QString::fromLatin1(all.left(24).toHex(' ')) + u'\n';
    bool releaseComplete = false;
    for (qsizetype at = 24; at + 16 <= all.size() && !p.callEnded;) {
        const char* head = all.constData() + at;
        const quint32 length = qFromLittleEndian<quint32>(head + 8);
        if (qFromLittleEndian<quint32>(head + 12) != length || at + 16 + length > all.size())
            break;
        const QByteArray record = all.mid(at + 16, length);
        p.timesUs << qint64(qFromLittleEndian<quint32>(head)) * 1000000 + qFromLittleEndian<quint32>(head + 4);
        p.text += QString::fromLatin1(record.left(16).toHex(' ') + " | " + record.mid(16).toHex(' ')) + u'\n';
        p.callEnded = releaseComplete;
        releaseComplete = record.size() > 23 && record[16 + 4] == 0x08 && record[16 + 7] == 0x5A;
        at += 16 + length;
    }
    return p;
}

class CaptureProgram : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sim.up()); }

    QProcessEnvironment privateEnvironment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", dir.path()); // not the user's settings
        return env;
    }
    void start(QStringList args, const QString& fifo)
    {
        capture.setProcessEnvironment(privateEnvironment());
        capture.start(kProgram, QStringList{"--capture", "--extcap-interface", "dodova", "--fifo", fifo} + args);
        ASSERT_TRUE(capture.waitForStarted(5000));
    }
    void expectClosedAfterStop(qsizetype commandsBefore)
    {
        ASSERT_TRUE(capture.waitForFinished(20000));
        EXPECT_EQ(capture.exitCode(), 0) << capture.readAllStandardError().toStdString();
        EXPECT_EQ(sim.commandsSince(commandsBefore), kClosing);
    }
    bool traceOn() const { return sim.commands().contains(QStringLiteral("ATCD9")); }

    QTemporaryDir dir;
    SimulatorLink sim{{"--scenario", kData + "call.scenario"}};
    QProcess capture;
};

TEST_F(CaptureProgram, PhasesBeforeACapture)
{
    QFile ini(dir.filePath("Corvane Controller.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Startup]\nCommPort=2\n[Ports]\nCOM2=/dev/ttyCORVANE\n");
    ini.close();
    QString all;
    for (const char* phase : {"--extcap-interfaces", "--extcap-dlts", "--extcap-config"}) {
        capture.setProcessEnvironment(privateEnvironment());
        capture.start(kProgram, {phase, "--extcap-interface", "dodova"});
        ASSERT_TRUE(capture.waitForFinished(10000));
        EXPECT_EQ(capture.exitCode(), 0);
        for (const QString& line : QString::fromUtf8(capture.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts))
            if (!line.startsWith(QLatin1String("value")) || line.contains(QLatin1String("ttyCORVANE")))
                all += line + u'\n'; // the machine's own serial ports vary
    }
    EXPECT_GOLDEN("tools/data/capture/phases.golden", all.replace(QStringLiteral(CORVANE_VERSION), "VERSION"));
}

TEST_F(CaptureProgram, ACallBecomesRecordsAndSigtermEndsTraceMode)
{
    const QString pcap = dir.filePath("call.pcap");
    const qint64 startUs = QDateTime::currentMSecsSinceEpoch() * 1000;
    start({"--port", sim.link()}, pcap);
    ASSERT_TRUE(QTest::qWaitFor([&] { return readPcap(pcap).callEnded; }, 30000))
        << capture.readAllStandardError().toStdString();
    const qsizetype before = sim.commands().size();
    capture.terminate();
    expectClosedAfterStop(before);

    EXPECT_EQ(sim.commands().mid(0, before), QStringList({"ATCD8", "ATE1", "ATI4", "ATE0", "ATCD1", "ATCD9"}));
    const Pcap p = readPcap(pcap);
    const qint64 endUs = QDateTime::currentMSecsSinceEpoch() * 1000;
    EXPECT_TRUE(std::is_sorted(p.timesUs.begin(), p.timesUs.end()));
    EXPECT_TRUE(p.timesUs.front() >= startUs && p.timesUs.back() <= endUs);
    EXPECT_GOLDEN("tools/data/capture/call.records", p.text);
}

TEST_F(CaptureProgram, AClosedFifoEndsTheCapture)
{
    const QString fifo = dir.filePath("fifo");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const int reader = ::open(fifo.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    start({"--port", sim.link()}, fifo);
    ASSERT_TRUE(QTest::qWaitFor([&] { return traceOn(); }, 20000));
    const qsizetype before = sim.commands().size();
    ::close(reader);
    expectClosedAfterStop(before);
}

// A reader that takes nothing: the fifo is full before the capture begins, yet
// the capture switches the trace on and SIGTERM still restores the adapter.
TEST_F(CaptureProgram, SigtermEndsTraceModeBehindAFullFifo)
{
    const auto [reader, filler] = fullFifo(dir.filePath("fifo"));
    ASSERT_TRUE(reader >= 0 && filler >= 0);
    start({"--port", sim.link()}, dir.filePath("fifo"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return traceOn(); }, 20000));
    const qsizetype before = sim.commands().size();
    capture.terminate();
    expectClosedAfterStop(before);
    ::close(filler);
    ::close(reader);
}

TEST_F(CaptureProgram, FailuresAreSentencesWiresharkShows)
{
    SimulatorLink silent({"--silent"});
    QSerialPort holder(sim.link());
    ASSERT_TRUE(holder.open(QIODevice::ReadWrite));
    const struct {
        QString port;
        const char* says;
    } cases[] = {
        {dir.filePath("nothing"), "Cannot open "},
        {sim.link(), "Cannot open "}, // held by another program
        {silent.link(), "No DodOva answers on "},
    };
    for (const auto& c : cases) {
        start({"--port", c.port}, dir.filePath("x.pcap"));
        ASSERT_TRUE(capture.waitForFinished(20000));
        EXPECT_EQ(capture.exitCode(), 1);
        EXPECT_TRUE(capture.readAllStandardError().startsWith(c.says + c.port.toUtf8())) << c.says;
    }
}

// docs/wireshark.md's set-up: the monitor and a capture that only listens share
// the adapter through ser2net; the capture sends nothing, so the monitor's
// trace stays on.
TEST_F(CaptureProgram, OnlyListensBesideTheMonitorBehindSer2net)
{
    if (!Ser2net::installed())
        GTEST_SKIP() << "ser2net is not installed (make deps installs it)";
    Ser2net ser2net;
    ASSERT_TRUE(ser2net.start(sim.link(), "ser2net-shared.yaml"));
    QProcess monitor;
    monitor.setProcessEnvironment(privateEnvironment());
    monitor.start(QStringLiteral(CORVANE_BUILD_DIR "/corvane-monitor"),
        {"--port", ser2net.address(), "--home", dir.filePath("home")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return traceOn(); }, 20000)) << monitor.readAllStandardError().toStdString();
    const qsizetype before = sim.commands().size();
    const QString pcap = dir.filePath("listened.pcap");
    start({"--other-port", ser2net.address(), "--listen-only"}, pcap);
    ASSERT_TRUE(QTest::qWaitFor([&] { return readPcap(pcap).callEnded; }, 30000))
        << capture.readAllStandardError().toStdString();
    capture.terminate();
    ASSERT_TRUE(capture.waitForFinished(20000));
    EXPECT_EQ(capture.exitCode(), 0);
    EXPECT_EQ(sim.commandsSince(before), QStringList());
    EXPECT_GOLDEN("tools/data/capture/call.records", readPcap(pcap).text);
    monitor.terminate();
    EXPECT_TRUE(monitor.waitForFinished(20000));
}

// What the done-when asks: the program linked into a private extcap folder,
// tshark lists it, captures the call and tells the directions apart.
TEST_F(CaptureProgram, TsharkCapturesThroughAPrivateExtcapFolder)
{
    if (!QFile::exists("/usr/bin/tshark"))
        GTEST_SKIP() << "tshark is not installed (make deps installs it)";
    const QString extcap = dir.filePath("home/.config/wireshark/extcap");
    ASSERT_TRUE(QDir().mkpath(extcap) && QFile::link(kProgram, extcap + "/corvane-capture"));
    QProcess tshark;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", dir.filePath("home"));
    env.remove("XDG_CONFIG_HOME");
    tshark.setProcessEnvironment(env);
    tshark.start("/usr/bin/tshark", {"-D"});
    ASSERT_TRUE(tshark.waitForFinished(30000));
    EXPECT_TRUE(tshark.readAllStandardOutput().contains(". dodova (DodOva ISDN D-channel)\n"));

    // The offered SETUP, the port's SABME, the network's UA and the port's ALERTING.
    tshark.start(
        "/usr/bin/tshark", {"-i", "dodova", "-o", "extcap.dodova.port:" + sim.link(), "-c", "4", "-T", "fields", "-e",
                               "frame.p2p_dir", "-e", "q931.message_type", "-e", "q931.calling_party_number.digits"});
    ASSERT_TRUE(tshark.waitForFinished(60000));
    EXPECT_EQ(QString::fromLatin1(tshark.readAllStandardOutput()), "1\t0x05\t03012345678\n0\t\t\n1\t\t\n0\t0x01\t\n")
        << tshark.readAllStandardError().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return sim.commands().endsWith(kClosing.last()); }, 20000));
    EXPECT_EQ(sim.commands().mid(sim.commands().lastIndexOf("ATCD9") + 1), kClosing);
}

} // namespace
