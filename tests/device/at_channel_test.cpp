// The AT command channel against dodova-sim on a real pseudo-terminal. (Trace
// mode through the channel is exercised by the monitor's simulator tests.)
#include "common/simulator_fixture.h"
#include "device/at_channel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPalette>
#include <QSerialPort>
#include <QTimer>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

namespace {

// A channel on port 1 mapped to the given device, recording lamp and beep.
struct Channel {
    explicit Channel(const QString& device)
    {
        SettingsStore::user().overridePortPath(1, device);
        at.latchIsSet = [this] { return latch; };
        at.setLed = [this](QColor c) { lamp << c; };
        at.beep = [this] { ++beeps; };
    }
    AtChannel at;
    QList<QColor> lamp;
    int beeps = 0;
    bool latch = false;
};

// A private store, a simulator started with `args` and a channel to it.
struct Rig {
    explicit Rig(const QStringList& args = {}) : sim(args), ch(sim.link()) {}
    PrivateStore store;
    SimulatorLink sim;
    Channel ch;
};

QColor buttonFace()
{
    return QApplication::palette().color(QPalette::Button);
}

} // namespace

TEST(CutAnswerBody, FollowsTheEchoRule)
{
    struct Case {
        const char* reply;
        const char* body;
    } cases[] = {
        {"ATS56?\r\r\n015\r\n\r\nOK\r\n", "015\r\n\r\n"}, // echo, CR, CR LF, body, OK
        {"ATS18=0\r\r\nOK\r\n", ""},                     // echo only: empty body
        {"\r\n015\r\n\r\nOK\r\n", "15\r\n\r\n"},           // no echo: the first digit is lost
        {"ATI4\r\r\nDodOva\r\n", ""},                    // no OK yet
        {"ATI4\r\r\nDodOva\r\nOK", ""},                  // OK without its CR
        {"", ""},
        {"\rOK\r", ""}, // OK straight after the first CR: negative length
    };
    for (const Case& c : cases)
        EXPECT_EQ(AtChannel::cutAnswerBody(QString::fromLatin1(c.reply)), QString::fromLatin1(c.body))
            << c.reply;
}

TEST(AtChannel, AnswersWithEchoOnAndOffAndHonoursTheLatch)
{
    Rig r;
    ASSERT_TRUE(r.sim.up());
    AtChannel& at = r.ch.at;

    // With the latch set nothing is sent and the lamp stays as it is.
    r.ch.latch = true;
    EXPECT_EQ(at.SendAT("ATI4"), "");
    EXPECT_TRUE(r.ch.lamp.isEmpty());
    r.ch.latch = false;

    EXPECT_EQ(at.SendAT("ATE1"), "OK");
    EXPECT_EQ(at.SendAT("ATS56=15"), "");        // echo only
    EXPECT_EQ(at.SendAT("ATS56?"), "015\r\n\r\n"); // three digits, the line breaks before OK kept
    EXPECT_TRUE(at.SendAT("ATI4").contains("DodOva"));
    EXPECT_EQ(at.SendAT("ATCD9"), "MONITOR");
    EXPECT_EQ(at.SendAT("ATCD8"), "");
    EXPECT_EQ(at.SendAT("ATE0"), "");
    EXPECT_EQ(at.SendAT("ATS56?"), "15\r\n\r\n"); // without the echo the cut loses a character
    EXPECT_EQ(at.SendAT("ATE1"), "OK");
    EXPECT_EQ(r.ch.beeps, 0);
    EXPECT_FALSE(at.port().isOpen()); // closed between commands

    // Each command lit the lamp in the busy colour and put it back.
    ASSERT_EQ(r.ch.lamp.size(), 18);
    EXPECT_EQ(r.ch.lamp.front(), QColor(255, 0, 0));
    EXPECT_EQ(r.ch.lamp.back(), buttonFace());
    at.BusyColour = 0xFF000F; // the transmit colour, 0x00BBGGRR: red 15, blue 255
    at.SendAT("ATE1");
    EXPECT_EQ(r.ch.lamp.value(18), QColor(15, 0, 255));

    // The device saw each command once, with only a CR as line end.
    EXPECT_EQ(r.sim.commands(), (QStringList{"ATE1", "ATS56=15", "ATS56?", "ATI4", "ATCD9", "ATCD8", "ATE0",
                                             "ATS56?", "ATE1", "ATE1"}));
}

TEST(AtChannel, ErrorAnswerWaitsOutTheSecondAndBeeps)
{
    Rig r;
    ASSERT_TRUE(r.sim.up());
    r.ch.at.SendAT("ATE1");
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(r.ch.at.SendAT("ATS56=300"), "Error"); // out of range: ERROR
    EXPECT_GE(t.elapsed(), 1000);                     // the loop only looks for OK
    EXPECT_EQ(r.ch.beeps, 1);
    EXPECT_EQ(r.ch.lamp.back(), buttonFace());
}

TEST(AtChannel, SilentDeviceGivesEmptyAfterOneSecond)
{
    Rig r({"--silent"});
    ASSERT_TRUE(r.sim.up());
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(r.ch.at.SendAT("ATI4"), "");
    EXPECT_GE(t.elapsed(), 1000);
    EXPECT_EQ(r.ch.beeps, 0); // a time-out alone is no failure
    ASSERT_EQ(r.ch.lamp.size(), 2);
    EXPECT_EQ(r.ch.lamp.back(), buttonFace());
}

TEST(AtChannel, LatchSetDuringTheWaitFails)
{
    Rig r({"--reply-delay", "300"});
    ASSERT_TRUE(r.sim.up());
    // The label turns to "Error" while the command waits (another reaction ran).
    r.ch.at.commandSent = [&](const QString&) { QTimer::singleShot(20, [&] { r.ch.latch = true; }); };
    EXPECT_EQ(r.ch.at.SendAT("ATI4"), "Error");
    EXPECT_EQ(r.ch.beeps, 1);
}

TEST(AtChannel, UnopenablePortIsIgnored)
{
    PrivateStore store;
    Channel ch(store.file("no-such-device"));
    EXPECT_FALSE(ch.at.portOpens());
    // ATCD9 reports MONITOR even without a device: only ERROR or the 2 s limit fail.
    EXPECT_EQ(ch.at.SendAT("ATCD9"), "MONITOR");
    EXPECT_EQ(ch.beeps, 0);
}

TEST(AtChannel, FloodingDeviceKeepsTheReplyBounded)
{
    PrivateStore store;
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    Channel ch(QString::fromLatin1(name));
    // 256 KiB of garbage without a line end, then an answer.
    const QByteArray junk(4096, 'x');
    int chunks = 0;
    QTimer pump;
    QObject::connect(&pump, &QTimer::timeout, [&] {
        if (chunks < 64) {
            if (::write(master, junk.constData(), junk.size()) > 0)
                ++chunks;
        } else {
            [[maybe_unused]] auto n = ::write(master, "\r\nOK\r\n", 6);
            pump.stop();
        }
    });
    ch.at.commandSent = [&](const QString&) { pump.start(0); };
    ch.at.SendAT("ATI4");
    EXPECT_GT(chunks, 16); // the flood did reach the channel
    EXPECT_LE(ch.at.ReplyBuffer.size(), 64 * 1024);
    ::close(slave);
    ::close(master);
}
