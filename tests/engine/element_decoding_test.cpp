// Frame dispatch, the element walk and the element handlers.
#include "engine_fixture.h"

using namespace frames;

namespace {

class DecodeTest : public EngineFixture {};

TEST(NumberParsing, DisplayDigitsStopAtTheFirstNonDigit)
{
    const std::pair<QByteArray, const char*> cases[] = {
        {"12 Einheiten", "12"}, {"Einheiten 12", ""}, {"123456", "1234"}, {":;", "AB"}, {"", ""}, {"7", "7"},
    };
    for (const auto& [content, digits] : cases)
        EXPECT_EQ(MonitorEngine::displayDigits(content), QString::fromLatin1(digits)) << content.constData();
}

TEST_F(DecodeTest, DispatchOnTheOctetCount)
{
    engine->DebugLevel = 4;
    frame({0x00, 0x81, 0x7F}); // SABME
    EXPECT_TRUE(engine->TreeIDs().contains(QStringLiteral("ID 81")));
    frame({0x00, 0x81, 0x73}); // UA: only its line
    frame({0x00, 0x81, 0x01, 0x04}); // RR
    frame({0x02, 0x81, 0x00, 0x02, 0x08, 0x01, 0x85, 0x0F}); // 8 octets: no walk
    EXPECT_EQ(text2(), QStringLiteral("Frame:00 81 7F \r\nId: 81 .03   Msg: (7F)\r\n"
                                      "Frame:00 81 73 \r\nId: 81 .03   Msg: (73)\r\n"
                                      "Frame:00 81 01 04 \r\nId: 81 .04   Msg: (04)\r\n"
                                      "Frame:02 81 00 02 08 01 85 0F \r\nId: 81 .08   Msg: (0F)\r\n"));
}

TEST_F(DecodeTest, DiscClearsTheTerminalsTextsButNotItsFlags)
{
    engine->DebugLevel = 5;
    frame({0x00, 0x81, 0x7F});
    rec(0x81) = IdRecord{true, true, "1", "2", "3", "4", "89", "5"};
    frame({0x00, 0x81, 0x53});
    EXPECT_FALSE(engine->TreeIDs().contains(QStringLiteral("ID 81")));
    const IdRecord& r = rec(0x81);
    EXPECT_TRUE(r.Activated);
    EXPECT_TRUE(r.Incoming);
    for (const QString& f : {r.CallerNumber, r.ConnectedNumber, r.CalledDigits, r.DisplayCost, r.Channel, r.CostUnits})
        EXPECT_TRUE(f.isEmpty());
}

TEST_F(DecodeTest, ElementWalkLengthRules)
{
    engine->DebugLevel = 4;
    // Length 40 in a frame of 30 octets: len = 20.
    Octets f = iframe(0x81, 0x05, {0x7E, 40});
    f.resize(30, 0x31);
    frame(f);
    EXPECT_TRUE(text2().contains(QStringLiteral("Message: (7E) Len: 20 ->> ")));
    engine->clearWindows();
    // The first element ends at the last octet: the walk stops after it.
    frame(iframe(0x81, 0x05, {0x7E, 0x01, 0x00}));
    EXPECT_EQ(text2().count(QStringLiteral("Message:")), 1);
    engine->clearWindows();
    // A 9-octet UI frame whose length octet exceeds 9: len -1, empty text.
    frame({0x00, 0x81, 0x03, 0x08, 0x01, 0x05, 0x05, 0x18, 0x0A});
    EXPECT_TRUE(text2().contains(QStringLiteral("Message: (18) Len: -1 ->> \r\n")));
}

TEST_F(DecodeTest, ElementRunningPastTheFrameReadsZeros)
{
    frame(iframe(0x81, 0x05, {0x6C, 0x08, 0x01, 0x80, 0x31}));
    EXPECT_EQ(rec(0x81).CallerNumber, QStringLiteral("1 00 00 00 00 00"));
}

TEST_F(DecodeTest, HandlersSetTheResults)
{
    struct Case {
        const char* name;
        Octets elements;
        const char* caller, *connected, *called, *channel, *units;
    };
    const Case cases[] = {
        {"calling number", {0x6C, 0x05, 0x01, 0x80, 0x31, 0x32, 0x33}, "123", "", "", "", ""},
        {"restricted caller", {0x6C, 0x02, 0x01, 0xA3}, "Secret Number", "", "", "", ""},
        {"calling number of one octet", {0x6C, 0x01, 0x01}, "Unknown", "", "", "", ""},
        {"service", {0x4C, 0x02, 0x01, 0xC3}, "", "Service", "", "", ""},
        {"connected number", {0x4C, 0x06, 0x01, 0x80, 0x34, 0x37, 0x31, 0x31}, "", "4711", "", "", ""},
        {"called number", {0x70, 0x04, 0x81, 0x34, 0x35, 0x36}, "", "", "81 34 35 36 ", "", ""},
        {"one dialled digit", {0x70, 0x02, 0x81, 0x37}, "", "", "81 37 ", "", ""},
        {"called number of one octet", {0x70, 0x01, 0x81}, "", "", "", "", ""},
        {"channel A", {0x18, 0x01, 0x89}, "", "", "", "89", ""},
        {"preferred channel", {0x18, 0x01, 0x83}, "", "", "", "83", ""},
        {"display units", {0x28, 0x0C, '1', '2', ' ', 'E', 'i', 'n', 'h', 'e', 'i', 't', 'e', 'n'}, "", "", "", "", "12"},
        {"display text", {0x28, 0x03, 'A', '1', '2'}, "", "", "", "", ""},
        {"facility of 21 octets", cat({{0x1C, 21}, Octets(21, 7)}), "", "", "", "", ""},
    };
    Octets facility = cat({{0x1C, 22}, Octets(22, 0)});
    facility[2 + 18] = 12;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        engine->reset();
        frame(iframe(0x81, 0x05, c.elements));
        const IdRecord& r = rec(0x81);
        EXPECT_EQ(r.CallerNumber, QString::fromLatin1(c.caller));
        EXPECT_EQ(r.ConnectedNumber, QString::fromLatin1(c.connected));
        EXPECT_EQ(r.CalledDigits, QString::fromLatin1(c.called));
        EXPECT_EQ(r.Channel, QString::fromLatin1(c.channel));
        EXPECT_EQ(r.CostUnits, QString::fromLatin1(c.units));
    }
    engine->reset();
    frame(iframe(0x81, 0x05, facility));
    EXPECT_EQ(rec(0x81).CostUnits, QStringLiteral("12"));
    EXPECT_FALSE(rec(0x81).Activated);
}

TEST_F(DecodeTest, OnlyTheCauseElementEndsACall)
{
    struct Case {
        const char* name;
        Octets elements;
        bool ends;
    };
    const Case cases[] = {
        {"cause normal clearing by the user", clearing(), true},
        {"cause from the public network", {0x08, 0x02, 0x82, 0x90}, false},
        {"bearer capability 80 90 A3", {0x04, 0x03, 0x80, 0x90, 0xA3}, false},
        {"cause 80 90 of length 1 still reads both", {0x08, 0x01, 0x80, 0x90}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        engine->reset();
        engine->display().Check1 = 1;
        rec(0x81).Channel = QStringLiteral("89");
        frame(iframe(0x81, 0x45, c.elements));
        EXPECT_EQ(engine->timerEndCallAActive(), c.ends);
        EXPECT_EQ(d().Check1, c.ends ? 0 : 1);
    }
}

TEST_F(DecodeTest, OfferedCallIsWalkedFromTheMessageStart)
{
    frame(offer(cat({channel(0x89), callingNumber("0301234567"), calledNumber("4711")})), true);
    EXPECT_EQ(engine->CidCallerA, QStringLiteral("0301234567"));
    EXPECT_EQ(engine->CidCalledA, QStringLiteral("4711"));
    // An I-frame from the network carrying the same message: walked from octet 9.
    engine->reset();
    Octets i = cat({{0x02, 0xFF, 0x00, 0x00, 0x08, 0x01, 0x05, 0x05}, channel(0x8A), callingNumber("555")});
    frame(i, true);
    EXPECT_EQ(engine->CidCallerB, QStringLiteral("555"));
}

TEST_F(DecodeTest, BroadcastElementsAnnounceCallerIdInformation)
{
    engine->DebugLevel = 1;
    Octets f = offer({0x7E, 0x01, 0x00});
    f.resize(20, 0);
    frame(f, true);
    EXPECT_EQ(text2().count(QStringLiteral("Caller ID Information\r\n")), 4); // 04, 7E, then two empty elements in the padding
    engine->clearWindows();
    engine->DebugLevel = 2;
    frame(f, true);
    EXPECT_EQ(text2().count(QStringLiteral("Caller ID Information")), 0);
}

TEST_F(DecodeTest, TeiZeroAndOddChannelsChangeNoDisplay)
{
    frame(iframe(0x00, 0x01, cat({channel(0x89), callingNumber("123")})));
    frame(iframe(0x81, 0x01, channel(0x83)));
    EXPECT_EQ(d().Check1, 0);
    EXPECT_EQ(d().Check2, 0);
    EXPECT_EQ(d().LabelMSNA, QStringLiteral("-"));
}

} // namespace
