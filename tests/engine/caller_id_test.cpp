// The caller-ID announcement of calls offered to all terminals; what it asks
// of the host: data/frames/announcement.frames.
#include "engine_fixture.h"

#include "common/regional.h"
#include "monitor/engine/monitor_inputs.h"

using namespace frames;

namespace {

class CallerIdTest : public EngineFixture {};

TEST_F(CallerIdTest, LogCidSettingIsANumberOrOff)
{
    for (const auto& [value, logged] : {std::pair{"0", false}, {"1", true}, {"yes", false}, {"", false}}) {
        SCOPED_TRACE(value);
        settings->write(QStringLiteral("LogCID"), QString::fromLatin1(value));
        applySettings();
        engine->callList().clearRows();
        frame(offer(cat({channel(0x80), callingNumber("123")})), true);
        EXPECT_EQ(engine->callList().records().size(), logged ? 1 : 0);
    }
}

TEST(LongTime, TimeZoneFieldIsDropped)
{
    const char* const cases[][2] = {
        {"HH:mm:ss t", "HH:mm:ss"},
        {"h:mm:ss AP t", "h:mm:ss AP"},
        {"t HH:mm:ss", "HH:mm:ss"},
        {"H:mm:ss (t)", "H:mm:ss"},
        {"h:mm:ss AP, t", "h:mm:ss AP"},
        {"H:mm:ss 'ch t'. t", "H:mm:ss 'ch t'."},
        {"HH:mm:ss 'it''s' tttt", "HH:mm:ss 'it''s'"},
        {"HH:mm:ss", "HH:mm:ss"},
        {"", ""},
        {"'unclosed t", "'unclosed t"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(regional::withoutTimeZone(QString::fromUtf8(c[0])), QString::fromUtf8(c[1])) << c[0];
}

// A day axis names days as the locale writes them, without the year.
TEST(DayAndMonth, TheLocalesShortDateWithoutTheYear)
{
    const struct {
        QLocale::Language language;
        QLocale::Territory territory;
        const char* expected;
    } cases[] = {
        {QLocale::English, QLocale::UnitedStates, "11/4"},
        {QLocale::English, QLocale::UnitedKingdom, "04/11"},
        {QLocale::German, QLocale::Germany, "04.11"},
        {QLocale::Japanese, QLocale::Japan, "11/04"},
        {QLocale::Korean, QLocale::SouthKorea, "11. 4."},
        {QLocale::Swedish, QLocale::Sweden, "11-04"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(regional::dayAndMonth(QDate(2026, 11, 4), QLocale(c.language, c.territory)), c.expected)
            << QLocale(c.language, c.territory).dateFormat(QLocale::ShortFormat).toStdString();
}

TEST(LongTime, LocalesShowTheTimeWithoutZone)
{
    const QTime morning(11, 5, 20), evening(23, 5, 20);
    EXPECT_EQ(regional::longTime(morning, QLocale::c()), QStringLiteral("11:05:20"));
    EXPECT_EQ(regional::longTime(evening, QLocale(QLocale::German, QLocale::Germany)), QStringLiteral("23:05:20"));
    // en_US: "11:05:20 PM", the separator before PM as the locale data has it.
    const QString us = regional::longTime(evening, QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_TRUE(us.startsWith(QStringLiteral("11:05:20")) && us.endsWith(QStringLiteral("PM")) && us.size() == 11)
        << us.toStdString();
}

TEST_F(CallerIdTest, TimeLabelHasNoZone)
{
    clock.advance(65000);
    frame(offer(cat({channel(0x89), callingNumber("123")})), true);
    EXPECT_EQ(d().LabelTIM, QStringLiteral("10:01:05"));
    clock.advance(1000);
    frame(iframe(0x83, 0x01, channel(0x89))); // the port rings: the label is set again
    EXPECT_EQ(d().channels[0].ringing, 1);
    EXPECT_EQ(d().LabelTIM, QStringLiteral("10:01:06"));
}

} // namespace

namespace {
QStringList warnings;
void keepWarning(QtMsgType, const QMessageLogContext&, const QString& text)
{
    warnings << text;
}
} // namespace

// What the store holds stays; what counts is a price, else the default, said once.
TEST(MonitorInputs, AUnitCostThatIsNoPriceCountsAsTheDefaultSaidOnce)
{
    QTemporaryDir dir;
    SettingsStore store(dir.filePath("s.ini"));
    qInstallMessageHandler(keepWarning);
    for (const auto& [stored, cost] : {std::pair{"0,5", 0.5f}, {"0", 0.0f}, {"inf", 0.026f}, {"nan", 0.026f},
             {"-1", 0.026f}, {"1e39", 0.026f}, {"abc", 0.026f}}) {
        store.write(QStringLiteral("UnitCost"), QString::fromLatin1(stored));
        EXPECT_FLOAT_EQ(readMonitorInputs(store, 0).unitCost, cost) << stored;
        EXPECT_EQ(store.read(QStringLiteral("UnitCost")), QString::fromLatin1(stored));
    }
    qInstallMessageHandler(nullptr);
    EXPECT_EQ(warnings, QStringList("UnitCost \"inf\" is no price; 0,026 is used"));
}
