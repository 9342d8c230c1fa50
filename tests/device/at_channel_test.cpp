// The AT command channel and the detection probe against dodova-sim on a real
// pseudo-terminal. (Trace mode through the channel is exercised by the
// monitor's simulator tests.)
#include "common/simulator_fixture.h"
#include "common/system_clock.h"
#include "device/at_channel.h"
#include "device/port_link.h"
#include "device/detection.h"
#include "common/virtual_clock.h"

#include <QSerialPort>
#include <QtWidgets>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

namespace {

// A private store, a simulator started with `args` and a channel on port 1
// to it (on the system clock, or on `clock`), recording lamp, beeps and each
// result with its outcome.
struct Rig {
    explicit Rig(const QStringList& args = {}, const QString& device = {}, Clock* clock = nullptr)
        : sim(args), at(SettingsStore::user(), clock ? *clock : system)
    {
        SettingsStore::user().overridePortPath(1, device.isEmpty() ? sim.link() : device);
        QObject::connect(&at, &AtChannel::lampChanged, [this](unsigned bgr) { lamp << bgr; });
        QObject::connect(&at, &AtChannel::commandFailed, [this] { ++beeps; });
    }
    QString send(const QString& cmd)
    {
        const QString answer = at.SendAT(cmd);
        static const char* const outcomes[] = {"answered", "refused", "unanswered", "not sent"};
        return answer + u' ' + QLatin1String(outcomes[int(at.lastOutcome())]);
    }
    PrivateStore store;
    SimulatorLink sim;
    SystemClock system;
    AtChannel at;
    QList<unsigned> lamp;
    int beeps = 0;
};

// A pseudo-terminal nobody answers on.
struct SilentLine {
    SilentLine() { ::openpty(&master, &slave, name, nullptr, nullptr); }
    ~SilentLine() { ::close(slave), ::close(master); }
    int master = -1, slave = -1;
    char name[256] = {};
};

} // namespace

TEST(AtChannel, AnswersWithEchoOnAndOffRefusalsAndTheLatch)
{
    Rig r;
    ASSERT_TRUE(r.sim.up());
    r.at.setDeviceAbsent(true); // nothing sent, the lamp untouched
    EXPECT_EQ(r.send("ATI4"), " not sent");
    EXPECT_TRUE(r.lamp.isEmpty());
    r.at.setDeviceAbsent(false);
    const QStringList results = {r.send("ATE1"), r.send("ATS56=15"), r.send("ATS56?"), r.send("ATCD9"), r.send("ATCD8"),
        r.send("ATE0"), r.send("ATS56?"), r.send("ATE1"),
        r.send("ATS56=300")}; // out of range: ERROR, waits out the second
    EXPECT_EQ(results, QStringList({"OK answered", " answered", "015\r\n\r\n answered", "MONITOR answered", " answered",
                           " answered", "15\r\n\r\n answered", "OK answered", "Error refused"}));
    EXPECT_EQ(r.beeps, 1);
    EXPECT_FALSE(r.at.port().isOpen()); // closed between commands
    ASSERT_EQ(r.lamp.size(), 18);       // busy red, then button face, per command
    EXPECT_EQ(r.lamp.front(), AtChannel::kCommandColour);
    EXPECT_EQ(r.lamp.back(), AtChannel::kIdleColour);
    r.at.setBusyColour(0xFF000F); // 0x00BBGGRR: red 15, blue 255
    r.send("ATE1");
    EXPECT_EQ(r.lamp.value(18), 0xFF000Fu);
    EXPECT_EQ(r.sim.commands(),
        (QStringList{"ATE1", "ATS56=15", "ATS56?", "ATCD9", "ATCD8", "ATE0", "ATS56?", "ATE1", "ATS56=300", "ATE1"}));
}

// Every answer lands after the one-second wait: each command gets no answer,
// and the late answer to the one before is not taken for its own. A latch set
// during the wait (another reaction showed "Error") fails the command.
TEST(AtChannel, LateAnswersAreNotCreditedToTheNextCommand)
{
    Rig r({"--reply-delay", "1100"});
    ASSERT_TRUE(r.sim.up());
    EXPECT_EQ(QStringList({r.send("ATS56?"), r.send("ATS0?")}), QStringList({" unanswered", " unanswered"}));
    EXPECT_EQ(r.beeps, 0); // a time-out alone is no failure
    EXPECT_EQ(r.lamp.back(), AtChannel::kIdleColour);
    QObject::connect(
        &r.at, &AtChannel::commandSent, [&] { QTimer::singleShot(20, [&] { r.at.setDeviceAbsent(true); }); });
    EXPECT_EQ(r.send("ATI4"), "Error refused");
    EXPECT_EQ(r.beeps, 1);
}

TEST(AtChannel, UnopenablePortShowsTheProbeMessageAndChannelIgnoresIt)
{
    Rig r({}, QStringLiteral("/nonexistent/tty"));
    EXPECT_FALSE(r.at.portOpens());
    QString seen;
    QTimer::singleShot(50, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            seen = box->windowTitle() + u'|' + box->text(), box->accept();
    });
    EXPECT_FALSE(dodOvaExists(r.at, nullptr));
    EXPECT_EQ(seen, "Serial Port Error!|Either serial port is being used or Port is wrong.");
    // ATCD9 reports MONITOR even without a device: only ERROR or the 2 s limit fail.
    EXPECT_EQ(r.send("ATCD9"), "MONITOR unanswered");
    EXPECT_TRUE(r.sim.commands().isEmpty());
}

TEST(AtChannel, FloodingDeviceKeepsTheReplyBounded)
{
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    Rig r({}, QString::fromLatin1(name));
    const QByteArray junk = QByteArray(64 * 4096, 'x') + "\r\nOK\r\n"; // 256 KiB without a line end, then OK
    qsizetype written = 0;
    QTimer pump;
    QObject::connect(&pump, &QTimer::timeout, [&] {
        if (const auto n = ::write(
                master, junk.constData() + written, std::min<qsizetype>(4096, junk.size() - written));
            n > 0)
            written += n;
    });
    QObject::connect(&r.at, &AtChannel::commandSent, [&] { pump.start(0); });
    r.at.SendAT("ATI4");
    EXPECT_GT(written, 16 * 4096); // the flood did reach the channel
    EXPECT_LE(r.at.reply().size(), 64 * 1024);
    ::close(slave);
    ::close(master);
}

// The time-outs run on the channel's clock: silence for more than 1 s is no
// answer, more than 2 s a failure with a beep; no real second passes.
TEST(AtChannel, TimeOutsAreMeasuredOnTheClock)
{
    SilentLine line;
    VirtualClock clock;
    Rig r({}, QString::fromLatin1(line.name), &clock);
    qint64 silence = 0;
    QObject::connect(&r.at, &AtChannel::commandSent, [&] { QTimer::singleShot(0, [&] { clock.advance(silence); }); });
    QStringList results;
    for (qint64 ms : {1001, 2000, 2001}) {
        silence = ms;
        results << QString::number(ms) + u' ' + r.send("ATS0?");
    }
    EXPECT_EQ(results, QStringList({"1001  unanswered", "2000  unanswered", "2001 Error refused"}));
    EXPECT_EQ(r.beeps, 1);
}
