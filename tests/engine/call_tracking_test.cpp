// Calls on channels A and B: outgoing, ringing, answered, waiting, ended, and
// what the end-of-call timers log 800 ms later.
#include "engine_fixture.h"

using namespace frames;

namespace {

class CallTest : public EngineFixture {
protected:
    // An incoming call offered to all, rung on the port with TEI octet `tei`.
    void offerAndRing(int tei, int chan, const char* caller, const char* msn)
    {
        frame(offer(cat({channel(chan), callingNumber(caller), calledNumber(msn)})), true);
        frame(iframe(tei, 0x01, channel(chan))); // ALERTING names the channel
    }
    // An outgoing call from the port: SETUP with its own number, then the channel.
    void dialOut(int tei, int chan, const char* own)
    {
        frame(iframe(tei, 0x05, callingNumber(own)));
        frame(iframe(tei, 0x02, channel(chan)), true);
    }
    void hangUp(int tei) { frame(iframe(tei, 0x45, clearing())); }
    QList<CallRecord> records() const { return engine->callList().records(); }
};

TEST_F(CallTest, LogSettingsDecideWhatIsLogged)
{
    struct Case {
        const char* key;
        const char* value;
        bool logged;
    };
    const Case cases[] = {{"LogRing", "0", false}, {"LogRing", "1", true}, {"LogRing", "abc", false},
                          {"LogRing", "1.0", true}, {"LogAns", "0", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        settings->write(QString::fromLatin1(c.key), QString::fromLatin1(c.value));
        settings->write(QStringLiteral("LogCID"), QStringLiteral("0"));
        engine->reset();
        engine->callList().clearRows();
        offerAndRing(0x83, 0x89, "555", "4711");
        hangUp(0x83);
        clock.advance(800);
        EXPECT_EQ(records().size(), c.logged ? 1 : 0);
        EXPECT_EQ(d().LabelMSNA, QStringLiteral("-"));
        EXPECT_TRUE(engine->Text3().text().isEmpty()); // level 0: no summary
        settings->write(QString::fromLatin1(c.key), QStringLiteral("1"));
    }
}

TEST_F(CallTest, CallWithoutKnownMsnIsNeverLogged)
{
    engine->DebugLevel = 1;
    rec(0x81).Channel = QStringLiteral("89");
    frame(iframe(0x81, 0x01, channel(0x89))); // rings with no announced call: MSN stays ""
    d().LabelMSNA = QStringLiteral("-");
    hangUp(0x81);
    clock.advance(800);
    EXPECT_TRUE(records().isEmpty());
    EXPECT_EQ(engine->Text3().text(), QStringLiteral("----------A---------\r\nTYPE  : Ring\r\nNumber   : \r\n"
                                                     "Name     : \r\nCost     : -\r\nDuration : -\r\n"
                                                     "MSN      : -\r\n"));
}

TEST_F(CallTest, DialPrefixIsRemovedAndMarked)
{
    engine->DialPrefix = QStringLiteral("0");
    dialOut(0x81, 0x89, "4711");
    for (int digit : {'0', '7', '2'})
        frame(iframe(0x81, 0x7B, {0x70, 0x02, 0x81, digit}), true);
    frame(iframe(0x81, 0x07, connectedNumber("72")), true);
    hangUp(0x81);
    clock.advance(800);
    ASSERT_EQ(records().size(), 1);
    EXPECT_EQ(records()[0].type, QStringLiteral("Called*"));
    EXPECT_EQ(records()[0].number, QStringLiteral("72"));
}

TEST_F(CallTest, SecondChannelForAConnectedCallIsCallWaiting)
{
    struct Case {
        int channel;
        int waiting;        // CallWaiting once the second call is offered
        const char* moved;  // the record's channel afterwards
        const char* hangUp; // trace of the waiting call's clearing
    };
    const Case cases[] = {{0x89, 1, "8A", "CALL Waiting Hang up on Channel A\r\n"},
                          {0x8A, 2, "89", "CALL Waiting Hang up on Channel B\r\n"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.moved);
        engine->reset();
        engine->DebugLevel = 1;
        dialOut(0x81, c.channel, "4711");
        frame(iframe(0x81, 0x07, connectedNumber("999")), true);
        engine->Text2().clear();
        frame(iframe(0x81, 0x05, cat({callingNumber("4711"), channel(c.channel)})), true);
        EXPECT_EQ(engine->CallWaiting, c.waiting);
        EXPECT_EQ(rec(0x81).Channel, QString::fromLatin1(c.moved));
        EXPECT_EQ(text2().count(QStringLiteral("Got It!!!! This is a CALL WAITING CASE!!!\r\n")), 1);
        hangUp(0x81); // the waiting call ends: only the waiting state goes
        EXPECT_EQ(text2().count(QString::fromLatin1(c.hangUp)), 1);
        EXPECT_EQ(text2().count(QStringLiteral("TERMINATING")), 0);
        EXPECT_EQ(engine->CallWaiting, 0);
        EXPECT_EQ(d().Check1 + d().Check2, 1);
        EXPECT_EQ(d().Check3 + d().Check4, 1);
        EXPECT_EQ(c.channel == 0x89 ? d().Check3 : d().Check4, 1);
        EXPECT_FALSE(engine->timerEndCallAActive());
        EXPECT_FALSE(engine->timerEndCallBActive());
    }
}

TEST(Durations, FormattedAsHoursMinutesSeconds)
{
    struct Case {
        float now, start;
        const char* text;
    };
    const Case cases[] = {
        {36161.f, 36000.f, "0:02:41"}, {39725.f, 36000.f, "1:02:05"},
        {10.f, 86390.f, "0:00:20"},    // across midnight
        {32768.f + 1.f, 1.f, "9:06:08"}, {40001.f, 1.f, "11:06:40"}, // past the old 16-bit limit
        {100.5f, 100.f, "0:00:00"},    {101.5f, 100.f, "0:00:02"}, {102.5f, 100.f, "0:00:02"}, // halves to even
        {86399.f, 0.5f, "23:59:58"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MonitorEngine::formatDuration(c.now, c.start), QString::fromLatin1(c.text)) << c.text;
}

TEST_F(CallTest, Timer1ShowsClockAndRunningDurations)
{
    VirtualClock late{QDateTime(QDate(2026, 1, 1), QTime(23, 59, 50))};
    MonitorEngine e(late, *settings);
    e.reset();
    e.StartTimeA = late.secondsSinceMidnight();
    e.display().LabelDur2 = QStringLiteral("0:00:07");
    late.advance(20000); // across midnight
    EXPECT_EQ(e.display().LabelDur1, QStringLiteral("0:00:20"));
    EXPECT_EQ(e.display().LabelDur2, QStringLiteral("0:00:07")); // no call: label kept
    EXPECT_EQ(e.display().LabelNOW, QStringLiteral("00:00:10"));
    EXPECT_EQ(e.display().ImageLED, 1);
}

TEST_F(CallTest, EndOfCallTimerRestartsWhenArmedAgain)
{
    offerAndRing(0x83, 0x89, "111", "4711");
    hangUp(0x83);
    clock.advance(500);
    offerAndRing(0x85, 0x89, "222", "4711");
    hangUp(0x85); // re-armed: one record, with the later figures
    clock.advance(500);
    EXPECT_EQ(records().size(), 2); // the two CID entries only
    clock.advance(300);
    ASSERT_EQ(records().size(), 3);
    EXPECT_EQ(records()[0].number, QStringLiteral("222"));
}

} // namespace
