// The register map in both directions: device value -> elements, elements ->
// composed value, and the whole read and write sequences over a recording
// send function.
#include <gtest/gtest.h>

#include <QLocale>

#include "device/register_io.h"
#include "device/register_map.h"
#include "fake_elements.h"

namespace {

// "CheckCW1=1 CheckCW2=0" as check box states.
FakeElements withChecks(const char* states)
{
    FakeElements e;
    for (const QString& s : QString::fromLatin1(states).split(u' ', Qt::SkipEmptyParts))
        e.checks[s.section(u'=', 0, 0)] = s.section(u'=', 1).toInt();
    return e;
}

TEST(ShowRegister, SetsExactlyTheElementsOfTheMap)
{
    struct {
        int reg;
        quint8 value;
        const char* changes; // in map order
    } cases[] = {
        {0, 3, "TextRINGS=3"},
        {15, 0, "Option2=0"}, {15, 32, "Option2=1"}, {15, 64, "Option2=2"}, {15, 96, "Option2=3"},
        {15, 128, "Option2=4"}, {15, 16, ""}, // not in the list: the choice stays
        {18, 0, "CheckBAUD=1"}, {18, 1, "CheckBAUD=0"},
        {56, 25, "TextHOOK=250"},
        {79, 4, "CheckCW1=1 CheckCW2=0"}, {79, 8, "CheckCW1=0 CheckCW2=1"}, {79, 0xF3, "CheckCW1=0 CheckCW2=0"},
        {82, 74, "OptionPROT=0"}, {82, 76, "OptionPROT=1"}, {82, 78, "OptionPROT=2"}, {82, 80, "OptionPROT=3"},
        {82, 77, ""},
        {83, 1, "CheckDCB1=1 CheckDCB2=0"}, {83, 2, "CheckDCB1=0 CheckDCB2=1"},
        {84, 0, "CheckCID1=0 CheckCID2=0 CheckCIDOnHook=1 CheckCIDOffHook=1"},
        {84, 0x13, "CheckCID1=1 CheckCID2=1 CheckCIDOnHook=0 CheckCIDOffHook=1"},
        {84, 0x80, "CheckCID1=0 CheckCID2=0 CheckCIDOnHook=1 CheckCIDOffHook=0"},
        {85, 4, "CheckCL1=1 CheckCL2=0"}, {85, 2, "CheckCL1=0 CheckCL2=1"}, {85, 8, "CheckCL1=0 CheckCL2=1"},
        {87, 0, "CheckGC1=1 CheckGC2=1 CheckBUN=0"}, {87, 0x23, "CheckGC1=0 CheckGC2=0 CheckBUN=1"},
        {87, 0x40, "CheckGC1=1 CheckGC2=1 CheckBUN=1"},
        {89, 0x07, "CheckCH1=1 CheckCH2=1 CheckCH3=1 CheckMP1=0 CheckMP2=0"},
        {89, 0x60, "CheckCH1=0 CheckCH2=0 CheckCH3=0 CheckMP1=1 CheckMP2=1"},
        {89, 0x20, "CheckCH1=0 CheckCH2=0 CheckCH3=0 CheckMP1=1 CheckMP2=0"},
        {100, 1, "Option3=0"}, {100, 0, "Option3=1"}, {100, 2, ""},
        {108, 1, "Option5=0"}, {108, 2, "Option5=1"}, {108, 0, "Option5=2"},
        {109, 1, "Option4=0"}, {109, 2, "Option4=1"}, {109, 0, "Option4=2"},
        {118, 1, "CheckIC1=1 CheckIC2=0"}, {118, 2, "CheckIC1=0 CheckIC2=1"},
        {123, 0, "CheckFUL=0"}, {123, 1, "CheckFUL=1"}, {123, 255, "CheckFUL=1"},
    };
    for (const auto& c : cases) {
        FakeElements e;
        showRegister(c.reg, c.value, e);
        EXPECT_EQ(e.changes.join(u' '), QString::fromLatin1(c.changes)) << "S" << c.reg << "=" << int(c.value);
    }
}

TEST(ComposeRegister, ChangesOnlyTheBitsOfItsBoxes)
{
    struct {
        int reg;
        quint8 base;
        const char* boxes;
        quint8 expected;
    } cases[] = {
        {84, 0x0C, "CheckCIDOnHook=1 CheckCIDOffHook=1 CheckCID1=1 CheckCID2=0", 13},
        {84, 0x00, "CheckCIDOnHook=0 CheckCIDOffHook=0 CheckCID1=0 CheckCID2=1", 0xF2},
        {87, 0x83, "CheckGC1=1 CheckGC2=1 CheckBUN=0", 128},
        {87, 0x00, "CheckGC1=0 CheckGC2=1 CheckBUN=1", 0x61},
        {87, 0x20, "CheckGC1=1 CheckGC2=1 CheckBUN=1", 0x60},
        {79, 0x13, "CheckCW1=1 CheckCW2=0", 0x17},
        {79, 0x0C, "CheckCW1=0 CheckCW2=1", 0x08},
        {89, 0x98, "CheckCH1=1 CheckCH2=0 CheckCH3=1 CheckMP1=0 CheckMP2=1", 0xDD},
        {118, 0xF0, "CheckIC1=0 CheckIC2=1", 0xF2},
        {85, 0x00, "CheckCL1=1 CheckCL2=0", 0x05},
        {85, 0x0F, "CheckCL1=0 CheckCL2=1", 0x0A},
        {83, 0x80, "CheckDCB1=0 CheckDCB2=1", 0x82},
        // greyed boxes change nothing, whatever the direction of their rule
        {84, 0x31, "CheckCIDOnHook=2 CheckCIDOffHook=2 CheckCID1=2 CheckCID2=2", 0x31},
        {87, 0x01, "CheckGC1=2 CheckGC2=1 CheckBUN=2", 0x01},
    };
    for (const auto& c : cases)
        EXPECT_EQ(int(composeRegister(c.reg, c.base, withChecks(c.boxes))), int(c.expected)) << "S" << c.reg
                                                                                              << " " << c.boxes;
}

TEST(RegisterValue, ReadsTrimmedNumbersInRange)
{
    struct {
        const char* answer;
        int expected; // -1: not a register value
    } cases[] = {{"015\r\n\r\n", 15}, {" 255 ", 255}, {"0", 0}, {"256", -1}, {"-1", -1}, {"Error", -1},
                 {"", -1}, {"12.5", 12}, {"13.5", 14}, {"1a", -1}, {"\r\n", -1}};
    for (const auto& c : cases) {
        const auto v = registerValue(QString::fromLatin1(c.answer));
        EXPECT_EQ(v ? int(*v) : -1, c.expected) << c.answer;
    }
}

// A device double for the read and write sequences: registers answered in
// the channel's body form, every command recorded.
struct RecordingDevice {
    std::array<quint8, 128> regs{};
    QStringList sent;
    QMap<QString, QString> overrides; // command -> answer

    QString operator()(const QString& cmd)
    {
        sent << cmd;
        if (overrides.contains(cmd))
            return overrides.value(cmd);
        if (cmd.startsWith(u"ATS") && cmd.endsWith(u'?'))
            return QStringLiteral("%1\r\n\r\n").arg(regs[cmd.mid(3, cmd.size() - 4).toInt()], 3, 10, QChar(u'0'));
        return {};
    }
};

TEST(ReadRegisters, QueriesInOrderAndKeepsTheImageOnBadAnswers)
{
    RecordingDevice dev;
    dev.regs[87] = 0x20;
    dev.regs[56] = 30;
    dev.overrides[QStringLiteral("ATS0?")] = QStringLiteral("Error");
    dev.overrides[QStringLiteral("ATS15?")] = QString();
    std::array<quint8, 128> image{};
    image[0] = 7;
    image[15] = 64;
    FakeElements e;
    RegisterIo io{std::ref(dev), image, e};
    readRegisters(io);

    EXPECT_EQ(dev.sent, QStringList({"ATS109?", "ATS108?", "ATS79?", "ATS89?", "ATS118?", "ATS85?", "ATS84?",
                                     "ATS83?", "ATS87?", "ATS56?", "ATS82?", "ATS0?", "ATS18?", "ATS123?",
                                     "ATS100?", "ATS15?"}));
    EXPECT_EQ(image[56], 30);
    EXPECT_EQ(image[0], 7);   // failed query keeps the entry ...
    EXPECT_EQ(e.text(QStringLiteral("TextRINGS")), QStringLiteral("7")); // ... and shows it
    EXPECT_EQ(e.choice(QStringLiteral("Option2")), 2);
    // The PPP mode is chosen right after the bundle box, before S56's field.
    const qsizetype bun = e.changes.indexOf(QStringLiteral("CheckBUN=1"));
    const qsizetype ppp = e.changes.indexOf(QStringLiteral("Option1=2"));
    const qsizetype hook = e.changes.indexOf(QStringLiteral("TextHOOK=300"));
    EXPECT_LT(bun, ppp);
    EXPECT_LT(ppp, hook);
}

// Elements that write a complete, valid configuration; every box clear but auto baud.
FakeElements validWindow()
{
    FakeElements e;
    for (const RegisterField& f : registerMap())
        if (f.rule != RegisterRule::Choice && f.rule != RegisterRule::DecimalText && f.rule != RegisterRule::TenMsText)
            e.checks[QString::fromLatin1(f.element)] = 0;
    e.checks[QStringLiteral("CheckBAUD")] = 1;
    e.texts[QStringLiteral("TextHOOK")] = QStringLiteral("250");
    e.texts[QStringLiteral("TextRINGS")] = QStringLiteral("0");
    e.choices = {{"OptionPROT", 2}, {"Option3", 0}, {"Option2", 4}, {"Option4", 1}, {"Option5", 2}};
    return e;
}

TEST(SendPotsSettings, FailedReadKeepsTheImageAsTheBase)
{
    RecordingDevice dev;
    dev.overrides[QStringLiteral("ATS79?")] = QStringLiteral("Error");
    std::array<quint8, 128> image{};
    image[79] = 0x81;
    FakeElements e = validWindow();
    e.checks[QStringLiteral("CheckCW2")] = 1;
    RegisterIo io{std::ref(dev), image, e};
    sendPotsSettings(io);
    EXPECT_TRUE(dev.sent.contains(QStringLiteral("ATS79=137")));
    EXPECT_TRUE(dev.sent.contains(QStringLiteral("ATS123=0"))); // a clear emergency box writes 0
}

TEST(SendPotsSettings, UnsetChoicesGreyedAndClearBoxesSendNothing)
{
    RecordingDevice dev;
    std::array<quint8, 128> image{};
    image[82] = 80;
    FakeElements e = validWindow();
    e.choices.clear();
    e.checks[QStringLiteral("CheckBAUD")] = 0;
    e.checks[QStringLiteral("CheckFUL")] = 2;
    RegisterIo io{std::ref(dev), image, e};
    sendPotsSettings(io);
    const QStringList whole = dev.sent.mid(14);
    EXPECT_EQ(whole, QStringList({"ATS56=25", "ATS82=74", "ATS0=0"}));
}

constexpr QLatin1StringView kHook("Hook time value must be between 200 and 1000 ms! Value will be ignored.");
constexpr QLatin1StringView kRings("Rings value must be between 0 and 120! Value will be ignored.");

TEST(SendPotsSettings, TypedValuesAreValidatedAndRoundedHalfToEven)
{
    QLocale::setDefault(QLocale::c());
    struct {
        const char* hook;
        const char* rings;
        const char* sent;     // the S56 and S0 commands expected
        const char* warnings; // H: hook time, R: rings, in order
    } cases[] = {
        {"200", "120", "ATS56=20 ATS0=120", ""},      {"1000", "0", "ATS56=100 ATS0=0", ""},
        {"205", "2.5", "ATS56=20 ATS0=2", ""},        {"215", "3.5", "ATS56=22 ATS0=4", ""},
        {"199.6", "120.4", "ATS56=20 ATS0=120", ""}, {" 250 ", "5", "ATS56=25 ATS0=5", ""},
        {"199", "121", "", "HR"},                      {"1001", "300", "", "HR"},
        {"", "-1", "", "HR"},                          {"2OO", "x", "", "HR"},
        {"150", "3", "ATS0=3", "H"},                   {"300", "120.6", "ATS56=30", "R"},
    };
    for (const auto& c : cases) {
        RecordingDevice dev;
        std::array<quint8, 128> image{};
        FakeElements e = validWindow();
        e.texts[QStringLiteral("TextHOOK")] = QString::fromLatin1(c.hook);
        e.texts[QStringLiteral("TextRINGS")] = QString::fromLatin1(c.rings);
        QString warnings;
        RegisterIo io{std::ref(dev), image, e};
        io.warn = [&](const QString& text, const QString& title) {
            EXPECT_EQ(title, QStringLiteral("Warning!"));
            warnings += text == kHook ? u'H' : text == kRings ? u'R' : u'?';
        };
        sendPotsSettings(io);

        QStringList typed;
        for (const QString& cmd : dev.sent)
            if (cmd.startsWith(u"ATS56=") || cmd.startsWith(u"ATS0="))
                typed << cmd;
        EXPECT_EQ(typed.join(u' '), QString::fromLatin1(c.sent)) << c.hook << " / " << c.rings;
        EXPECT_EQ(warnings, QString::fromLatin1(c.warnings)) << c.hook << " / " << c.rings;
    }
}

} // namespace
