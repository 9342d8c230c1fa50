// What the frame scripts (data/frames) cannot set up: a ring without an
// announced call, the duration format, and Timer1 across midnight and DST.
#include "../common/engine_probe.h"
#include "engine_fixture.h"
#include "phonebook/contact_folder.h"

#include <QSignalSpy>
#include <QTest>
#include <ctime>

using namespace frames;

namespace {

class CallTest : public EngineFixture {
protected:
    void hangUp(int tei) { frame(iframe(tei, 0x45, clearing())); }
    QList<CallRecord> records() const { return engine->callList().records(); }
    // An answered incoming call on channel A from `number` for 4711, cleared after 5 s.
    void answeredCall(const QString& number)
    {
        frame(offer(cat({channel(0x89), callingNumber(qPrintable(number)), calledNumber("4711")})), true);
        frame(iframe(0x81, 0x01, channel(0x89)));
        frame(iframe(0x81, 0x07, cat({channel(0x89), connectedNumber("4711")})));
        clock.advance(5000);
        hangUp(0x81);
        clock.advance(800);
    }
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

// A big book.txt edited and a big address-book folder followed while calls
// come: no call waits for their reading, each is logged with its number, the
// first after the edit still named from the book before, and the calls after
// the reads from what they read.
TEST_F(CallTest, EveryCallOfABurstIsLoggedWhileBigContactsAreRead)
{
    constexpr int kContacts = 20000, kCalls = 10;
    const auto number = [](const char* area, int i) {
        return QString::fromLatin1(area) + QString::number(5550000 + i);
    };
    const auto book = [&](const char* name) {
        QByteArray text;
        for (int i = 0; i < kContacts; ++i)
            text += QStringLiteral("%1 %2\t%3\r\n").arg(QLatin1String(name)).arg(i).arg(number("030", i)).toUtf8();
        return text;
    };
    QByteArray cards;
    for (int i = 0; i < kContacts; ++i)
        cards += QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Card %1\r\nTEL:%2\r\nEND:VCARD\r\n")
                     .arg(i)
                     .arg(number("040", i))
                     .toUtf8();
    writeBook(book("Old"));
    ASSERT_GT(QFileInfo(path("book.txt")).size(), BookCache::kReadNowBytes);
    settings->write(QStringLiteral("LogCID"), QStringLiteral("0")); // one record a call
    applySettings();                                                // reads the book
    writeBytes(path("contacts/all.vcf"), cards);
    answeredCall(number("030", 0));
    ASSERT_EQ(records().size(), 1);
    EXPECT_EQ(records()[0].name, "Old 0"); // a first reading is waited for

    writeBook(book("New"));
    ContactFolder folder;
    QSignalSpy read(&folder, &ContactFolder::changed);
    folder.follow(path("contacts"), path("pictures"));
    EXPECT_TRUE(folder.contents().contacts.isEmpty()); // taken over on the event loop only
    for (int i = 1; i <= kCalls; ++i) {
        answeredCall(number("030", i));
        ASSERT_EQ(records().size(), 1 + i);
        EXPECT_EQ(records()[0].number, number("030", i));
        if (i == 1) {
            EXPECT_EQ(records()[0].name, "Old 1");
        }
    }

    ASSERT_TRUE(read.wait(20000));
    MonitorInputs in = engine->inputs();
    in.contacts = folder.lookup(in.numberPlan);
    engine->setInputs(in);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            QString n = number("030", 2);
            return engine->inputs().nameFor(n) == "New 2";
        },
        20000));
    answeredCall(number("040", 7));
    answeredCall(number("030", 8));
    ASSERT_EQ(records().size(), kCalls + 3);
    EXPECT_EQ(records()[1].name, "Card 7");
    EXPECT_EQ(records()[0].name, "New 8");
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
