// What the frame scripts (data/frames) cannot set up: a ring without an
// announced call, the duration format, and Timer1 across midnight and DST.
#include "../common/engine_probe.h"
#include "engine_fixture.h"

#include <ctime>

using namespace frames;

namespace {

class CallTest : public EngineFixture {
protected:
    void hangUp(int tei) { frame(iframe(tei, 0x45, clearing())); }
    QList<CallRecord> records() const { return engine->callList().records(); }
};

TEST_F(CallTest, CallWithoutKnownMsnIsNeverLogged)
{
    setLevel(1);
    frame(iframe(0x81, 0x01, channel(0x89))); // rings with no announced call: MSN stays ""
    EngineProbe::channel(*engine, 0).msn = QStringLiteral("-");
    hangUp(0x81);
    clock.advance(800);
    EXPECT_TRUE(records().isEmpty());
    EXPECT_EQ(engine->Text3().text(), QStringLiteral("----------A---------\r\nTYPE  : Ring\r\nNumber   : \r\n"
                                                     "Name     : \r\nCost     : -\r\nDuration : -\r\n"
                                                     "MSN      : -\r\n"));
}

TEST(Durations, FormattedAsHoursMinutesSeconds)
{
    struct Case {
        float now, start;
        const char* text;
    };
    const Case cases[] = {
        {36161.f, 36000.f, "0:02:41"},
        {39725.f, 36000.f, "1:02:05"},
        {10.f, 86390.f, "0:00:20"}, // across midnight
        {32768.f + 1.f, 1.f, "9:06:08"},
        {40001.f, 1.f, "11:06:40"}, // past the old 16-bit limit
        {100.5f, 100.f, "0:00:00"},
        {101.5f, 100.f, "0:00:02"},
        {102.5f, 100.f, "0:00:02"}, // halves to even
        {86399.f, 0.5f, "23:59:58"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MonitorEngine::formatDuration(c.now, c.start), QString::fromLatin1(c.text)) << c.text;
}

TEST_F(CallTest, Timer1ShowsClockAndRunningDurations)
{
    VirtualClock late{QDateTime(QDate(2026, 1, 1), QTime(23, 59, 50))};
    MonitorEngine e(late);
    e.reset();
    EngineProbe::channel(e, 0).startTime = late.secondsSinceMidnight();
    EngineProbe::channel(e, 1).duration = QStringLiteral("0:00:07");
    late.advance(20000); // across midnight
    EXPECT_EQ(e.display().channels[0].duration, QStringLiteral("0:00:20"));
    EXPECT_EQ(e.display().channels[1].duration, QStringLiteral("0:00:07")); // no call: label kept
    EXPECT_EQ(e.display().LabelNOW, QStringLiteral("00:00:10"));
    EXPECT_EQ(e.display().ImageLED, 1);
}

// The wall clock set back or on during a call (NTP, by hand) moves neither its
// duration nor its start.
TEST_F(CallTest, ClockJumpsDuringACallLeaveItsDurationRight)
{
    for (const qint64 jumpMs : {-3600'000LL, 25 * 3600'000LL}) {
        frame(iframe(0x81, 0x05, callingNumber("4711")));
        frame(iframe(0x81, 0x02, channel(0x89)), true);
        frame(iframe(0x81, 0x07, connectedNumber("0301234")), true);
        clock.advance(10000);
        clock.jumpWall(jumpMs);
        clock.advance(10000);
        hangUp(0x81);
        clock.advance(1000);
        ASSERT_FALSE(records().isEmpty()) << jumpMs;
        EXPECT_EQ(records()[0].duration, QStringLiteral("0:00:20")) << jumpMs;
        clock.jumpWall(-jumpMs);
    }
    ASSERT_EQ(records().size(), 2);
    EXPECT_EQ(records()[1].time, QStringLiteral("10:00:00"));
}

// The clock goes on in real time: over a DST change it shows the new local time.
TEST_F(CallTest, Timer1ClockAcrossDaylightSavingChanges)
{
    struct Case {
        const char* zone;
        QDate day;
        QTime start;
        int advanceS;
        const char* shown;
    };
    const Case cases[] = {
        {"Europe/Berlin", QDate(2026, 3, 29), QTime(1, 59, 50), 20, "03:00:10"},       // an hour skipped
        {"Europe/Berlin", QDate(2026, 10, 25), QTime(1, 59, 50), 3620, "02:00:10"},    // an hour again
        {"Australia/Lord_Howe", QDate(2026, 10, 4), QTime(1, 59, 50), 20, "02:30:10"}, // half an hour
    };
    const QByteArray zoneBefore = qgetenv("TZ");
    for (const Case& c : cases) {
        qputenv("TZ", c.zone);
        tzset();
        VirtualClock clock{QDateTime(c.day, c.start)};
        MonitorEngine e(clock);
        e.reset();
        clock.advance(c.advanceS * 1000);
        EXPECT_EQ(e.display().LabelNOW, QLatin1String(c.shown)) << c.zone << " " << c.day.toString().toStdString();
    }
    zoneBefore.isNull() ? qunsetenv("TZ") : qputenv("TZ", zoneBefore);
    tzset();
}

} // namespace
