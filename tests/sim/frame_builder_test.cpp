// Frame octets against hand-checked DSS1/LAPD bytes, and the trace line.
#include "sim/dss1_message.h"
#include "sim/lapd_frame.h"
#include "sim/trace_line.h"

#include <gtest/gtest.h>

using namespace sim;

namespace {

TEST(FrameBuilder, Dss1MessagesElementsLapdAddressAndControl)
{
    struct Case {
        const char* name;
        Octets built;
        const char* expected;
    };
    const Case cases[] = {
        {"offeredSetup",
            dss1Message(MessageType::Setup, {1, false},
                {ie::bearerSpeech(), ie::channel(dss1::kChannelA), ie::callingNumber("0301"),
                    ie::calledNumber("4711")}),
            "08 01 01 05 04 03 80 90 A3 18 01 89 6C 06 01 80 30 33 30 31 70 05 C1 34 37 31 31 "},
        {"answeringConnect",
            dss1Message(MessageType::Connect, {1, true}, {ie::channel(dss1::kChannelB), ie::connectedNumber("4712")}),
            "08 01 81 07 18 01 8A 4C 06 01 80 34 37 31 32 "},
        {"ownClearing",
            dss1Message(MessageType::Release, {5, true}, {ie::cause(dss1::kLocationUser, dss1::kCauseNormal)}),
            "08 01 85 4D 08 02 80 90 "},
        {"networkBusy",
            dss1Message(
                MessageType::Disconnect, {127, true}, {ie::cause(dss1::kLocationNetwork, dss1::kCauseUserBusy)}),
            "08 01 FF 45 08 02 82 91 "},
        {"connectAck", dss1Message(MessageType::ConnectAcknowledge, {2, false}), "08 01 02 0F "},
        {"digit", ie::dialledDigit('7'), "70 02 81 37 "},
        {"restricted", ie::callingRestricted(), "6C 02 01 A3 "},
        {"service", ie::connectedService(), "4C 02 01 C3 "},
        {"waiting", ie::channel(dss1::kChannelNone), "18 01 80 "},
        {"display", ie::chargeDisplay(12), "28 0C 31 32 20 45 69 6E 68 65 69 74 65 6E "},
        {"sabmeFromPort", lapd::sabme(Side::Terminal, 64), "00 81 7F "},
        {"uaFromNetwork", lapd::ua(Side::Network, 64), "00 81 73 "},
        {"discFromNetwork", lapd::disc(Side::Network, 65), "02 83 53 "},
        {"uaFromPort", lapd::ua(Side::Terminal, 65), "02 83 73 "},
        {"rrResponseNetwork", lapd::rr(Side::Network, 64, 2, false, false), "00 81 01 04 "},
        {"rrPollNetwork", lapd::rr(Side::Network, 64, 3, true, true), "02 81 01 07 "},
        {"rrFinalPort", lapd::rr(Side::Terminal, 64, 1, false, true), "02 81 01 03 "},
        {"iFromPort", lapd::iFrame(Side::Terminal, 64, 3, 5, {0x08}), "00 81 06 0A 08 "},
        {"iFromNetwork", lapd::iFrame(Side::Network, 65, 127, 0, {}), "02 83 FE 00 "},
        {"uiGroup", lapd::uiFrame(Side::Network, GroupTei, {0x08}), "02 FF 03 08 "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hexOctets(c.built), c.expected) << c.name;
}

TEST(TraceLine, FormatAndTrailer)
{
    EXPECT_EQ(traceLine(Side::Terminal, {0x00, 0x81, 0x7F}, 1234), "L1   0 -> 00 81 7F  \r\n 00001234");
    EXPECT_EQ(traceLine(Side::Network, {0x00, 0x81, 0x73}, 0), "L1   0 <- 00 81 73  \r\n 00000000");
    EXPECT_EQ(traceLine(Side::Network, {0x02}, 100001234), "L1   0 <- 02  \r\n 00001234");
    const auto line = traceLine(Side::Terminal, Octets(20, 0xAB), 99999999);
    EXPECT_EQ(line.substr(line.size() - 9), " 99999999") << "the trailer is exactly 9 characters";
    EXPECT_EQ(line.find('L', 1), std::string::npos) << "only the line's first character may be an L";
}

} // namespace
