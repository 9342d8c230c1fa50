// One settings file, three monitors: corvane-replay --settings, corvane-monitor
// against the simulator and the window's session log the same calls with the
// same numbers, names, types and costs. Dates, times and durations are left
// out: the service runs on the real clock.
#include "../common/golden.h"
#include "../common/mosquitto_fixture.h"
#include "../common/service_run.h"
#include "window_fixture.h"

#include "tools/replay_run.h"

#include <QFileInfo>
#include <QProcess>
#include <array>

namespace {

// A local caller who is answered, an outgoing call with charges, a call nobody answers.
const QByteArray kScenario = "in  at=200ms from=2345678 to=4711 ring=200ms talk=200ms\n"
                             "out at=2s port=2 dial=01 ring=200ms talk=200ms units=3\n"
                             "in  at=7s from=0301111 to=4712 ring=300ms answer=no\n";
constexpr int kCalls = 3;
const QByteArray kBook = "Vienna\t+43 1 2345678\t-\t-\t-\t-\r\nCity\t01\t-\t-\t-\t-\r\n";

struct Row {
    const char* name;
    const char* settings; // lines of section [Startup]
};
const std::array<Row, 5> kRows{{
    {"defaults", ""},
    {"number plan", "CountryCode=43\nAreaCode=1\n"},
    {"dial prefix", "DialPrefixNumber=0\n"},
    {"log filters", "LogCID=0\nLogRing=0\nLogDial=0\n"},
    {"unit cost", "UnitCost=0.1\n"},
}};

QByteArray ini(const Row& row)
{
    return "[Startup]\n" + QByteArray(row.settings);
}

// MSN, type, number, name and cost of each record of a list.txt.
QString calls(const QString& listFile)
{
    QFile f(listFile);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("<no %1>\n").arg(listFile);
    QString out;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        const QStringList r = line.split(u'\t');
        out += QStringList{r.value(0), r.value(1), r.value(4), r.value(5), r.value(7)}.join(u'|') + u'\n';
    }
    return out;
}

class MonitorInputsTest : public WindowTest {
protected:
    QString replayed(const Row& row, const QString& capture)
    {
        writeBytes(dir.filePath("replay.ini"), ini(row));
        writeBytes(dir.filePath("replay-book.txt"), kBook);
        ReplayOptions o;
        o.capture = capture;
        o.outDir = dir.filePath("replay");
        o.settingsFile = dir.filePath("replay.ini");
        o.bookFile = dir.filePath("replay-book.txt");
        ReplaySummary summary;
        QString error;
        EXPECT_TRUE(Replay::run(o, summary, error)) << error.toStdString();
        return ::calls(o.outDir + "/list.txt");
    }

    // `more` settings are added; `wait` runs before the calls (true) and before the window closes (false).
    QString shownInTheWindow(const Row& row, const QList<CaptureLine>& capture, const QByteArray& more = {},
        const std::function<void(bool before)>& wait = {})
    {
        writeBytes(dir.filePath("window.ini"), ini(row) + more);
        SettingsStore::useFileForUser(dir.filePath("window.ini"));
        QFile::remove(file("list.txt"));
        writeText("book.txt", kBook);
        FormMonitor& m = makeMonitor();
        m.open();
        if (wait)
            wait(true);
        const qint64 start = clock.elapsed();
        QList<CaptureLine> shifted = capture;
        for (CaptureLine& l : shifted)
            l.ms += start;
        feedCapture(m.engine(), clock, shifted, start, shifted.last().ms + Replay::kRunOnMs);
        if (wait)
            wait(false);
        m.close();
        return ::calls(file("list.txt"));
    }
};

} // namespace

TEST_F(MonitorInputsTest, OneSettingsFileLogsTheSameCallsInTheReplayTheServiceAndTheWindow)
{
    for (const char* program : {"dodova-sim", "corvane-monitor"})
        if (!QFileInfo(QStringLiteral(CORVANE_BUILD_DIR "/") + program).isExecutable())
            GTEST_SKIP() << program << " is not built";
    QLocale::setDefault(QLocale::c());
    const QString scenario = dir.filePath("calls.scn");
    writeBytes(scenario, kScenario);
    std::array<ServiceRun, kRows.size()> services; // the live calls of every row at once
    for (size_t i = 0; i < kRows.size(); ++i) {
        writeBytes(services[i].home() + "/book.txt", kBook);
        services[i].start(scenario, ini(kRows[i]));
    }
    const QString trace = dir.filePath("calls.trace");
    QProcess::execute(
        QStringLiteral(CORVANE_BUILD_DIR "/dodova-sim"), {"--scenario", scenario, "--render-capture", trace});
    QList<CaptureLine> capture;
    ASSERT_TRUE(TimedCapture::load(trace, capture) && !capture.isEmpty());
    QString all;
    for (size_t i = 0; i < kRows.size(); ++i) {
        SCOPED_TRACE(kRows[i].name);
        const QString replay = replayed(kRows[i], trace);
        EXPECT_EQ(shownInTheWindow(kRows[i], capture), replay);
        EXPECT_TRUE(services[i].said("corvane-monitor: logged ", kCalls)) << services[i].log().toStdString();
        services[i].stop();
        EXPECT_EQ(::calls(services[i].home() + "/list.txt"), replay);
        all += QStringLiteral("## %1\n").arg(QLatin1String(kRows[i].name)) + replay;
    }
    EXPECT_GOLDEN("window/data/monitor_inputs.expected", all);
}

// The retained missed count is the call list's in both programs: one missed
// call, or none when missed calls are not logged.
TEST_F(MonitorInputsTest, TheWindowAndTheServicePublishTheSameMissedCount)
{
    for (const char* program : {"dodova-sim", "corvane-monitor"})
        if (!QFileInfo(QStringLiteral(CORVANE_BUILD_DIR "/") + program).isExecutable())
            GTEST_SKIP() << program << " is not built";
    if (!Broker::installed())
        GTEST_SKIP() << "mosquitto is not installed (make deps installs it)";
    Broker broker;
    ASSERT_TRUE(broker.start());
    Subscriber live(broker, {"corvane/+/last_call", "corvane/+/status"});
    ASSERT_TRUE(live.ready());
    const std::array<std::pair<Row, const char*>, 2> rows{{{kRows[0], "1"}, {kRows[3], "0"}}};
    const QString scenario = dir.filePath("calls.scn");
    writeBytes(scenario, kScenario);
    std::array<ServiceRun, rows.size()> services;
    for (size_t i = 0; i < rows.size(); ++i)
        services[i].start(
            scenario, ini(rows[i].first), {"--mqtt", broker.url(), "--mqtt-id", QString("service%1").arg(i)});
    const QString trace = dir.filePath("calls.trace");
    QProcess::execute(
        QStringLiteral(CORVANE_BUILD_DIR "/dodova-sim"), {"--scenario", scenario, "--render-capture", trace});
    QList<CaptureLine> capture;
    ASSERT_TRUE(TimedCapture::load(trace, capture) && !capture.isEmpty());
    // Each program's last call is published after its count changed.
    const auto ended = [&](const QString& id) { return live.waitFor("corvane/" + id + "/last_call", kCalls); };
    const auto online = [&](const QString& id) { return live.waitFor("corvane/" + id + "/status online"); };
    QStringList expected;
    for (size_t i = 0; i < rows.size(); ++i) {
        const QString window = QString("window%1").arg(i);
        const QByteArray mqtt = "Mqtt=1\nMqttUrl=" + broker.url().toUtf8() + "\nMqttDeviceId=" + window.toUtf8() + '\n';
        shownInTheWindow(rows[i].first, capture, mqtt, [&](bool before) {
            EXPECT_TRUE(before ? online(window) : ended(window)); // the calls live, not only the last at connect
        });
        EXPECT_TRUE(ended(QString("service%1").arg(i))) << services[i].log().toStdString();
        expected << QString("corvane/%1/missed %2").arg(window, rows[i].second)
                 << QString("corvane/service%1/missed %2").arg(i).arg(rows[i].second);
    }
    Subscriber retained(broker, {"corvane/+/missed"});
    ASSERT_TRUE(retained.waitFor("/missed ", int(expected.size())));
    QStringList got = retained.lines();
    got.sort();
    expected.sort();
    EXPECT_EQ(got.join(u'\n'), expected.join(u'\n'));
}
