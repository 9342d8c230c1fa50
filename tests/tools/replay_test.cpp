// corvane-replay: options, virtual-time rules, outputs, and golden
// end-to-end runs of the simulator's scenarios.
#include "common/golden.h"
#include "common/test_files.h"
#include "tools/pcap_writer.h"
#include "tools/replay_run.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

const QString kData = QStringLiteral(CORVANE_SOURCE_DIR "/tests/tools/data");

TEST(ReplayArguments, OptionsAndErrors)
{
    const ReplayOptions o = Replay::parseArguments({"cap.trace", "--out=o", "--debug=5", "--start=2026-03-04T23:59:00",
        "--unit-cost", "0.1", "--locale=de_DE", "--pcap", "p.pcap", "--pcap-linktype=lapd"});
    EXPECT_EQ(o.error, "");
    EXPECT_EQ(o.capture, "cap.trace");
    EXPECT_EQ(o.outDir, "o");
    EXPECT_EQ(o.debugLevel, 5);
    EXPECT_EQ(o.start, QDateTime(QDate(2026, 3, 4), QTime(23, 59)));
    EXPECT_FLOAT_EQ(o.unitCost.value_or(0), 0.1f);
    EXPECT_EQ(o.locale, "de_DE");
    EXPECT_EQ(o.pcapFile, QStringLiteral("p.pcap"));
    EXPECT_EQ(o.pcapLinkType, PcapLinkType::Lapd);
    const std::pair<QStringList, QString> bad[] = {
        {{"cap"}, "a capture and --out DIR are required"},
        {{"c", "--out", "o", "--start", "soon"}, "bad value for --start: soon"},
        {{"c", "--out", "o", "--unit-cost=-1"}, "bad value for --unit-cost: -1"},
        {{"c", "d", "--out", "o"}, "more than one capture given: d"},
        {{"c", "--out", "o", "--pcap-linktype", "177"}, "bad value for --pcap-linktype: 177"},
        {{"c", "--out", "o", "--contacts", "/no/such"}, "--contacts: no such folder /no/such"},
    };
    for (const auto& [args, error] : bad)
        EXPECT_EQ(Replay::parseArguments(args).error, error) << args.join(' ').toStdString();
}

class ReplayRun : public ::testing::Test {
protected:
    bool replay(const QString& capture, ReplayOptions o = {})
    {
        o.capture = capture;
        o.outDir = out.path();
        QString error;
        const bool ok = Replay::run(o, summary, error);
        EXPECT_TRUE(ok) << error.toStdString();
        return ok;
    }
    // Replays a capture given as text.
    bool replayText(const QByteArray& capture)
    {
        QFile f(out.filePath("c.trace"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(capture);
        f.close();
        return replay(f.fileName());
    }
    QString outFile(const char* name) const { return out.filePath(QString::fromLatin1(name)); }
    QTemporaryDir out;
    ReplaySummary summary;
};

TEST_F(ReplayRun, HandMadeIncomingCallMatchesItsGoldenFiles)
{
    ReplayOptions o;
    o.bookFile = kData + "/book.txt";
    ASSERT_TRUE(replay(kData + "/incoming-answered-handmade.trace", o));
    for (const char* file : {"list.txt", "state.txt"})
        EXPECT_GOLDEN(QStringLiteral("tools/data/golden/incoming-answered-handmade.") + file, readBytes(outFile(file)));
    EXPECT_EQ(summary.framesDecoded, 8);
    EXPECT_EQ(summary.callsLogged, 2);
    for (const char* pane : {"Text1.txt", "Text2.txt", "Text3.txt"})
        EXPECT_EQ(readBytes(outFile(pane)), QByteArray()) << pane; // level 0 writes no trace
}

// The first two records: the offered SETUP from the network and the port's
// answer, each stamped when the next line's "L" decoded it (10:00:01.1 and
// 10:00:06); LINUX_LAPD says who sent each, plain LAPD cannot.
TEST_F(ReplayRun, PcapRecordsInBothLinkTypes)
{
    const quint32 second = quint32(QDateTime(QDate(2026, 1, 1), QTime(10, 0, 1)).toSecsSinceEpoch());
    const struct {
        PcapLinkType type;
        QByteArray setupHead, answerHead; // the pseudo-headers
    } cases[] = {
        {PcapLinkType::LinuxLapd, QByteArray::fromHex("00000000000000000000000000000030"),
            QByteArray::fromHex("00040000000000000000000000000030")},
        {PcapLinkType::Lapd, {}, {}},
    };
    for (const auto& c : cases) {
        ReplayOptions o;
        o.pcapFile = out.filePath("frames.pcap");
        o.pcapLinkType = c.type;
        ASSERT_TRUE(replay(kData + "/incoming-answered-handmade.trace", o));
        const QByteArray pcap = readBytes(o.pcapFile);
        ASSERT_GE(pcap.size(), 24 + 2 * 16 + 36 + 11 + 2 * c.setupHead.size());
        EXPECT_EQ(qFromLittleEndian<quint32>(pcap.constData()), 0xa1b2c3d4u);
        EXPECT_EQ(qFromLittleEndian<quint32>(pcap.constData() + 20), quint32(c.type));
        const char* setup = pcap.constData() + 24;
        const char* answer = setup + 16 + c.setupHead.size() + 36;
        EXPECT_EQ(qFromLittleEndian<quint32>(setup), second);
        EXPECT_EQ(qFromLittleEndian<quint32>(setup + 4), 100000u);
        EXPECT_EQ(qFromLittleEndian<quint32>(setup + 8), quint32(c.setupHead.size() + 36));
        EXPECT_EQ(QByteArray(setup + 16, c.setupHead.size() + 3), c.setupHead + QByteArray::fromHex("02FF03"));
        EXPECT_EQ(qFromLittleEndian<quint32>(answer), second + 5);
        EXPECT_EQ(QByteArray(answer + 16, c.answerHead.size() + 3), c.answerHead + QByteArray::fromHex("008100"));
    }
}

// A line is decoded when the next line's "L" arrives; these captures send
// that "L" on its own at the given moment.
QByteArray lineAt(int ms, const char* octets, int decodedAt)
{
    return QByteArray::number(ms) + "\t1   0 -> " + octets + "  \\r\\n 00000000\n" + QByteArray::number(decodedAt)
           + "\tL\n";
}

QByteArray outgoingTry(int channelAt, int channelDecodedAt, int clearingAt, int clearingDecodedAt)
{
    return "# corvane-trace 1\n0\tL\n" + lineAt(0, "00 81 02 02 08 01 85 05 6C 06 01 80 34 37 31 31", 1)
           + lineAt(channelAt, "02 81 02 02 08 01 05 02 18 01 89", channelDecodedAt)
           + lineAt(clearingAt, "00 81 02 02 08 01 85 45 08 02 80 90", clearingDecodedAt);
}

TEST_F(ReplayRun, EndOfCallTimerFiresInTheRunOn)
{
    ASSERT_TRUE(
        replayText(outgoingTry(100, 101, 2000, 2001))); // the clearing is the last line: only the run-on logs it
    EXPECT_EQ(readBytes(outFile("list.txt")), QByteArray("4711\tTry\t2026-01-01\t10:00:00\t-\t\t0:00:02\t-\r\n"));
}

TEST_F(ReplayRun, TimersFireBeforeTheCharactersOfTheirMillisecond)
{
    // Dialling starts at 401 ms and ends at 2000 ms: Timer1's tick at 2000 runs
    // first and shows 1.599 s as 0:00:02; after the characters it would keep 0:00:01.
    ASSERT_TRUE(replayText(outgoingTry(400, 401, 1500, 2000)));
    EXPECT_TRUE(readBytes(outFile("list.txt")).contains("\t0:00:02\t")) << readBytes(outFile("list.txt")).constData();
}

TEST_F(ReplayRun, MissingCaptureIsAnError)
{
    ReplayOptions o;
    o.capture = out.filePath("none.trace");
    o.outDir = out.path();
    QString error;
    EXPECT_FALSE(Replay::run(o, summary, error));
    EXPECT_FALSE(error.isEmpty());
}

// The capture dodova-sim renders of a scenario (a name or a file); false when it is not built.
bool renderCapture(const QString& scenario, const QString& capture)
{
    const QString sim = QStringLiteral(CORVANE_BUILD_DIR "/dodova-sim");
    if (!QFile::exists(sim))
        return false;
    QProcess p;
    p.start(sim, {"--scenario", scenario, "--render-capture", capture});
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return true;
}

// Callers the book does not name, each with its place and kind in the replay's
// language; the caller it names keeps the name and gets neither.
TEST(ReplayPlaces, UnknownCallersGetTheirPlaceAndKind)
{
    QTemporaryDir dir;
    if (!renderCapture(kData + "/places.scenario", dir.filePath("places.trace")))
        GTEST_SKIP() << "dodova-sim is not built";
    for (const char* locale : {"en_GB", "de_DE"}) {
        ReplayOptions o;
        o.capture = dir.filePath("places.trace");
        o.outDir = dir.filePath(locale);
        o.bookFile = kData + "/book.txt";
        o.locale = QString::fromLatin1(locale);
        o.start = QDateTime(QDate(2026, 1, 1), QTime(10, 0), Qt::UTC); // the same times in every time zone
        ReplaySummary summary;
        QString error;
        ASSERT_TRUE(Replay::run(o, summary, error)) << error.toStdString();
        EXPECT_GOLDEN(QStringLiteral("tools/data/golden/places.%1.json").arg(QString::fromLatin1(locale).left(2)),
            readBytes(o.outDir + "/events.json"));
    }
}

// Scenario -> dodova-sim --render-capture -> corvane-replay at the highest
// trace level -> every output file against reviewed golden files.
// A start time in a name ("demo@23:59:45") replays the scenario from then on,
// so a call runs across midnight; its golden files carry that name.
class ScenarioGolden : public ::testing::TestWithParam<std::string> {};

TEST_P(ScenarioGolden, ReplayMatchesGoldenFiles)
{
    QTemporaryDir dir;
    const QString param = QString::fromStdString(GetParam());
    const QString scenario = param.section(u'@', 0, 0);
    const QString name = QString(param).replace(u'@', u'-').remove(u':');
    const QString capture = dir.filePath(name + ".trace");
    if (!renderCapture(scenario, capture))
        GTEST_SKIP() << "dodova-sim is not built";

    ReplayOptions o;
    o.capture = capture;
    o.outDir = dir.filePath("out");
    o.bookFile = kData + "/book.txt";
    o.debugLevel = kHighestDebugLevel; // every pane line there is
    if (param.contains(u'@'))
        o.start = QDateTime(QDate(2026, 1, 1), QTime::fromString(param.section(u'@', 1), QStringLiteral("HH:mm:ss")));
    ReplaySummary summary;
    QString error;
    ASSERT_TRUE(Replay::run(o, summary, error)) << error.toStdString();
    for (const char* file : {"list.txt", "state.txt", "events.txt", "Text1.txt", "Text2.txt", "Text3.txt"})
        EXPECT_GOLDEN(QStringLiteral("tools/data/golden/%1.%2").arg(name, file), readBytes(o.outDir + u'/' + file));
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ScenarioGolden,
    ::testing::Values("incoming-answered", "incoming-unanswered", "outgoing-connected", "outgoing-unconnected",
        "restricted", "service", "two-calls", "both-busy", "call-waiting", "back-to-back", "outgoing-busy", "demo",
        "incoming-answered@23:59:45"),
    goldenCaseName);

} // namespace
