// The AT interpreter against the framing the program's command channel
// relies on, its answers cut by the program's own rules.
#include "device/at_channel.h"
#include "sim/at_interpreter.h"

#include <gtest/gtest.h>

using namespace sim;

namespace {

struct Device {
    DeviceState state;
    AtInterpreter at{state};
    std::string send(const std::string& line) { return at.execute(line).bytes; }
    // The body as the program's channel cuts it from the echoed answer.
    QString body(const std::string& line) { return AtChannel::cutAnswerBody(QString::fromStdString(send(line))); }
    bool refuses(const std::string& line) { return send(line).find("ERROR") != std::string::npos; }
};

TEST(AtInterpreter, AnswersInModemFraming)
{
    struct {
        bool echo;
        const char* command;
        const char* answer;
    } cases[] = {
        {true, "ATS56?", "ATS56?\r\r\n015\r\n\r\nOK\r\n"},
        {false, "ATS56?", "\r\n015\r\n\r\nOK\r\n"},
        {true, "ATS18=0", "ATS18=0\r\r\nOK\r\n"},
        {false, "ATH3", "\r\nOK\r\n"},
        {true, "ATXYZ", "ATXYZ\r\r\nERROR\r\n"},
        {false, "ATXYZ", "\r\nERROR\r\n"},
        {true, "AT", "AT\r\r\nOK\r\n"},
        {true, "ats56?", "ats56?\r\r\n015\r\n\r\nOK\r\n"},
        {true, "ATE0", "ATE0\r\r\nOK\r\n"}, // the command that turns the echo off is echoed
        {false, "ATE1", "\r\nOK\r\n"},
        {true, "ATI4", "ATI4\r\r\nZedevuvi DodOva\r\n\r\nOK\r\n"},
        {false, "ATCD9", "\r\nOK\r\n"},
        {true, "ATCD10", "ATCD10\r\r\nOK\r\n"},
        {true, "ATCDX", "ATCDX\r\r\nERROR\r\n"},
    };
    for (const auto& c : cases) {
        Device d;
        d.state.current.registers[56] = 15;
        d.state.echo = c.echo;
        EXPECT_EQ(d.send(c.command), c.answer) << c.command << " echo " << c.echo;
    }
}

TEST(AtInterpreter, RegistersSetGetAndRange)
{
    struct Case {
        const char* command;
        bool ok;
    };
    const Case cases[] = {
        {"ATS0=0", true},
        {"ATS127=255", true},
        {"ATS128=1", false},
        {"ATS0=256", false},
        {"ATS0=", false},
        {"ATS0=-1", false},
        {"ATS=5", false},
        {"ATS12?3", false},
        {"ATS1000000=1", false},
        {"ATS127?", true},
        {"ATS128?", false},
        {"ATSX?", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Device().refuses(c.command), !c.ok) << c.command;
    Device d;
    d.send("ATS127=255");
    d.send("ATS5=7");
    EXPECT_EQ(d.body("ATS127?"), "255\r\n\r\n");
    EXPECT_EQ(d.body("ATS5?"), "007\r\n\r\n");
    d.send("ATS5=300");
    EXPECT_EQ(d.body("ATS5?"), "007\r\n\r\n") << "a refused value leaves the register alone";
}

// Out of the box the program can show and write back every register as it is.
TEST(AtInterpreter, FactoryRegistersAreAConfiguredAdapter)
{
    const auto r = DeviceSettings::factory().registers;
    EXPECT_EQ(r[56], 25); // hook flash 250 ms: within 200..1000
    EXPECT_EQ(r[82], 74); // a listed protocol
    EXPECT_EQ(r[15], 0);  // a listed power-on profile
    EXPECT_EQ(r[87] & 96, 0);
    EXPECT_EQ(r[89] & 7, 7);
    EXPECT_EQ(r[109], 1);
    EXPECT_EQ(r[108], 1);
}

TEST(AtInterpreter, BundleBitsOfS87)
{
    Device d;
    d.send("ATS87=131"); // global-call bits and bit 7 must survive
    d.send("ATB0");
    EXPECT_EQ(d.state.current.registers[87], 131 | 96);
    d.send("ATB40");
    EXPECT_EQ(d.state.current.registers[87], 131);
}

TEST(AtInterpreter, ProfilesStoreAndLoadAndFactoryRestores)
{
    Device d;
    d.send("ATS56=40");
    d.send("AT&ZI1=5550001");
    d.send("AT&W2"); // profile 3
    d.send("ATS56=60");
    d.send("ATZ1"); // profile 2: still factory
    EXPECT_EQ(d.state.current.registers[56], 25);
    d.send("ATZ2");
    EXPECT_EQ(d.state.current.registers[56], 40);
    EXPECT_EQ(d.state.current.msn[1], "5550001");
    d.send("ATZ4");
    EXPECT_EQ(d.state.current, DeviceSettings::factory());
    EXPECT_EQ(d.state.profiles[2].registers[56], 40) << "loading factory settings keeps the profiles";
    EXPECT_TRUE(d.refuses("ATZ5"));
    EXPECT_TRUE(d.refuses("AT&W4"));
}

TEST(AtInterpreter, NumbersThatAreNotDigitsAreRefusedAndKeepTheOldValue)
{
    for (const char* bad :
        {"AT&ZI0=47 11", "AT&ZI0=MSN2", "AT&ZI0=123456789012345678901", "AT&ZI9=1", "AT&ZOc=1", "AT&ZO=1", "AT&ZI0"}) {
        Device d;
        EXPECT_TRUE(d.refuses(bad)) << bad;
        EXPECT_EQ(d.state.current.msn[0], "4711") << bad;
    }
}

TEST(AtInterpreter, FeedAssemblesLinesAndIgnoresNoise)
{
    Device d;
    auto done = d.at.feed("AT");
    EXPECT_TRUE(done.empty());
    done = d.at.feed("I4\r\nhello\rATS0?\r\r");
    ASSERT_EQ(done.size(), 2u);
    EXPECT_EQ(done[0].text, "ATI4");
    EXPECT_EQ(done[1].text, "ATS0?");
    done = d.at.feed("ATS56?x\b\r");
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(AtChannel::cutAnswerBody(QString::fromStdString(done[0].reply.bytes)), "025\r\n\r\n");
    done = d.at.feed("AT" + std::string(5000, 'S') + "\r");
    ASSERT_EQ(done.size(), 1u);
    EXPECT_NE(done[0].reply.bytes.find("ERROR"), std::string::npos) << "an overlong line is refused";
    EXPECT_LE(done[0].text.size(), AtInterpreter::MaxLine);
}

} // namespace
