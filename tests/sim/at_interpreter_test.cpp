// The AT interpreter against the framing and cutting rules the program's
// command channel relies on.
#include "sim/answer_cutting.h"
#include "sim/at_interpreter.h"

#include <gtest/gtest.h>

using namespace sim;
using namespace answer_cutting;

namespace {

struct Device {
    DeviceState state;
    AtInterpreter at{state};
    std::string send(const std::string& line) { return at.execute(line).bytes; }
};

struct FramingCase {
    const char* name;
    bool echo;
    const char* command;
    const char* answer;
};

class Framing : public ::testing::TestWithParam<FramingCase> {};

TEST_P(Framing, AnswersInModemFraming)
{
    const auto& c = GetParam();
    Device d;
    d.state.current.registers[56] = 15;
    d.state.echo = c.echo;
    EXPECT_EQ(d.send(c.command), c.answer);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Framing,
    ::testing::Values(
        FramingCase{"registerEcho", true, "ATS56?", "ATS56?\r\r\n015\r\n\r\nOK\r\n"},
        FramingCase{"registerNoEcho", false, "ATS56?", "\r\n015\r\n\r\nOK\r\n"},
        FramingCase{"noInfo", true, "ATS18=0", "ATS18=0\r\r\nOK\r\n"},
        FramingCase{"noInfoNoEcho", false, "ATH3", "\r\nOK\r\n"},
        FramingCase{"unknown", true, "ATXYZ", "ATXYZ\r\r\nERROR\r\n"},
        FramingCase{"unknownNoEcho", false, "ATXYZ", "\r\nERROR\r\n"},
        FramingCase{"bareAt", true, "AT", "AT\r\r\nOK\r\n"},
        FramingCase{"lowerCase", true, "ats56?", "ats56?\r\r\n015\r\n\r\nOK\r\n"},
        FramingCase{"echoOffIsEchoed", true, "ATE0", "ATE0\r\r\nOK\r\n"},
        FramingCase{"echoOnIsNotEchoed", false, "ATE1", "\r\nOK\r\n"},
        FramingCase{"identity", true, "ATI4", "ATI4\r\r\nZedevuvi DodOva\r\n\r\nOK\r\n"},
        FramingCase{"traceOn", false, "ATCD9", "\r\nOK\r\n"},
        FramingCase{"otherTrace", true, "ATCD10", "ATCD10\r\r\nOK\r\n"},
        FramingCase{"badTrace", true, "ATCDX", "ATCDX\r\r\nERROR\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AtInterpreter, CutBodyGivesTheValueWithItsLineBreaks)
{
    Device d;
    d.state.current.registers[56] = 15;
    EXPECT_EQ(cutBody(d.send("ATS56?")), "015\r\n\r\n");
    EXPECT_EQ(cutBody(d.send("ATS18=0")), "");
}

TEST(AtInterpreter, EchoFollowsE0AndE1)
{
    Device d;
    d.send("ATE0");
    EXPECT_EQ(d.send("ATS0?"), "\r\n000\r\n\r\nOK\r\n");
    d.send("ATE1");
    EXPECT_EQ(d.send("ATS0?"), "ATS0?\r\r\n000\r\n\r\nOK\r\n");
}

TEST(AtInterpreter, RegistersSetGetAndRange)
{
    struct Case { const char* command; bool ok; };
    const Case cases[] = {
        {"ATS0=0", true},     {"ATS127=255", true}, {"ATS128=1", false}, {"ATS0=256", false},
        {"ATS0=", false},     {"ATS0=-1", false},   {"ATS=5", false},    {"ATS12?3", false},
        {"ATS1000000=1", false}, {"ATS127?", true},  {"ATS128?", false},  {"ATSX?", false},
    };
    for (const auto& c : cases) {
        Device d;
        const auto answer = d.send(c.command);
        EXPECT_EQ(answer.find("ERROR") == std::string::npos, c.ok) << c.command << " -> " << answer;
    }
    Device d;
    d.send("ATS127=255");
    d.send("ATS5=7");
    EXPECT_EQ(cutBody(d.send("ATS127?")), "255\r\n\r\n");
    EXPECT_EQ(cutBody(d.send("ATS5?")), "007\r\n\r\n");
    d.send("ATS5=300");
    EXPECT_EQ(cutBody(d.send("ATS5?")), "007\r\n\r\n") << "a refused value leaves the register alone";
}

TEST(AtInterpreter, FactoryRegistersAreAConfiguredAdapter)
{
    const auto r = DeviceSettings::factory().registers;
    EXPECT_EQ(r[56], 25);   // hook flash 250 ms: within 200..1000
    EXPECT_EQ(r[82], 74);   // a listed protocol
    EXPECT_EQ(r[15], 0);    // a listed power-on profile
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
    d.send("AT&W2");                 // profile 3
    d.send("ATS56=60");
    d.send("ATZ1");                  // profile 2: still factory
    EXPECT_EQ(d.state.current.registers[56], 25);
    d.send("ATZ2");
    EXPECT_EQ(d.state.current.registers[56], 40);
    EXPECT_EQ(d.state.current.msn[1], "5550001");
    d.send("ATZ4");
    EXPECT_EQ(d.state.current, DeviceSettings::factory());
    EXPECT_EQ(d.state.profiles[2].registers[56], 40) << "loading factory settings keeps the profiles";
    EXPECT_NE(d.send("ATZ5").find("ERROR"), std::string::npos);
    EXPECT_NE(d.send("AT&W4").find("ERROR"), std::string::npos);
}

TEST(AtInterpreter, MsnsRoundTripThroughTheFixedOffsets)
{
    const std::array<std::array<std::string, 9>, 4> tables{{
        {"4711", "", "", "4712", "", "", "", "", ""},
        {"1", "22", "333", "4444", "55555", "666666", "7777777", "88888888", "999999999"},
        {"", "", "", "", "", "", "", "", ""},
        {"", "", "12345678901234567890", "", "0", "", "", "", "42"},
    }};
    for (const auto& table : tables) {
        Device d;
        for (std::size_t k = 0; k < 9; ++k)
            EXPECT_EQ(d.send("AT&ZI" + std::to_string(k) + "=" + table[k]).find("ERROR"), std::string::npos);
        EXPECT_EQ(cutMsns(cutBody(d.send("AT&ZI?"))), table);
    }
}

TEST(AtInterpreter, OwnNumbersAndChargesRoundTripThroughTheColonRule)
{
    Device d;
    d.send("AT&ZOI=0301234");
    d.send("AT&ZOa=");
    d.send("AT&ZOB=99");
    const std::array<std::string, 3> own{"", "99", "0301234"};
    EXPECT_EQ(cutColonLines<3>(cutBody(d.send("AT&ZO?"))), own);

    d.state.charges = {0, 3, 12, 0, 57, 134};
    const std::array<std::string, 6> units{"0", "3", "12", "0", "57", "134"};
    EXPECT_EQ(cutColonLines<6>(cutBody(d.send("ATCH?"))), units);
    d.send("ATCH0");
    const std::array<std::string, 6> zero{"0", "0", "0", "0", "0", "0"};
    EXPECT_EQ(cutColonLines<6>(cutBody(d.send("ATCH?"))), zero);
}

TEST(AtInterpreter, NumbersThatAreNotDigitsAreRefusedAndKeepTheOldValue)
{
    for (const char* bad : {"AT&ZI0=47 11", "AT&ZI0=MSN2", "AT&ZI0=123456789012345678901", "AT&ZI9=1",
                            "AT&ZOc=1", "AT&ZO=1", "AT&ZI0"}) {
        Device d;
        EXPECT_NE(d.send(bad).find("ERROR"), std::string::npos) << bad;
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
    EXPECT_EQ(cutBody(done[0].reply.bytes), "025\r\n\r\n");
    done = d.at.feed("AT" + std::string(5000, 'S') + "\r");
    ASSERT_EQ(done.size(), 1u);
    EXPECT_NE(done[0].reply.bytes.find("ERROR"), std::string::npos) << "an overlong line is refused";
    EXPECT_LE(done[0].text.size(), AtInterpreter::MaxLine);
}

TEST(AtInterpreter, TraceSwitches)
{
    Device d;
    EXPECT_EQ(d.at.execute("ATCD9").trace, TraceSwitch::On);
    EXPECT_EQ(d.at.execute("ATCD8").trace, TraceSwitch::Off);
    EXPECT_EQ(d.at.execute("ATCD1").trace, TraceSwitch::None);
}

TEST(AtInterpreter, IdentityTextReplacesAti4Only)
{
    DeviceState state;
    Identity id;
    id.ati4 = "ZEDEVUVI DODOVA";
    AtInterpreter at(state, id);
    EXPECT_EQ(cutBody(at.execute("ATI4").bytes), "ZEDEVUVI DODOVA\r\n\r\n");
    EXPECT_EQ(cutBody(at.execute("ATI3").bytes), "Software 3.81, Hardware 50\r\n\r\n");
}

} // namespace
