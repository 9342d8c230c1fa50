// The register map in both directions: device value -> elements, elements ->
// composed value, and the whole read and write sequences over a recording
// send function.
#include <gtest/gtest.h>

#include <QLocale>

#include "device/register_io.h"
#include "device/register_map.h"
#include "fake_elements.h"

namespace {

struct Expect {
    const char* element;
    int value; // check 0/1, choice index
};

struct ReadCase {
    int reg;
    quint8 value;
    std::vector<Expect> checks;
    std::vector<Expect> choices;
    std::vector<std::pair<const char*, const char*>> texts;
};

class ReadingRegister : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadingRegister, SetsTheElementsOfTheMap)
{
    const ReadCase& c = GetParam();
    FakeElements e;
    e.choices = {{"Option2", 3}, {"OptionPROT", 2}, {"Option3", 1}, {"Option4", 1}, {"Option5", 1}};
    showRegister(c.reg, c.value, e);
    for (const Expect& x : c.checks)
        EXPECT_EQ(e.check(QString::fromLatin1(x.element)), x.value) << "S" << c.reg << "=" << int(c.value) << " " << x.element;
    for (const Expect& x : c.choices)
        EXPECT_EQ(e.choice(QString::fromLatin1(x.element)), x.value) << "S" << c.reg << "=" << int(c.value) << " " << x.element;
    for (const auto& [name, text] : c.texts)
        EXPECT_EQ(e.text(QString::fromLatin1(name)), QString::fromLatin1(text)) << "S" << c.reg;
}

INSTANTIATE_TEST_SUITE_P(
    EveryRegister, ReadingRegister,
    ::testing::Values(
        ReadCase{0, 3, {}, {}, {{"TextRINGS", "3"}}},
        ReadCase{15, 0, {}, {{"Option2", 0}}, {}}, ReadCase{15, 32, {}, {{"Option2", 1}}, {}},
        ReadCase{15, 64, {}, {{"Option2", 2}}, {}}, ReadCase{15, 96, {}, {{"Option2", 3}}, {}},
        ReadCase{15, 128, {}, {{"Option2", 4}}, {}},
        ReadCase{15, 16, {}, {{"Option2", 3}}, {}}, // not in the list: choice unchanged
        ReadCase{18, 0, {{"CheckBAUD", 1}}, {}, {}}, ReadCase{18, 1, {{"CheckBAUD", 0}}, {}, {}},
        ReadCase{56, 25, {}, {}, {{"TextHOOK", "250"}}},
        ReadCase{79, 4, {{"CheckCW1", 1}, {"CheckCW2", 0}}, {}, {}},
        ReadCase{79, 0xF3, {{"CheckCW1", 0}, {"CheckCW2", 0}}, {}, {}},
        ReadCase{79, 8, {{"CheckCW1", 0}, {"CheckCW2", 1}}, {}, {}},
        ReadCase{82, 74, {}, {{"OptionPROT", 0}}, {}}, ReadCase{82, 76, {}, {{"OptionPROT", 1}}, {}},
        ReadCase{82, 78, {}, {{"OptionPROT", 2}}, {}}, ReadCase{82, 80, {}, {{"OptionPROT", 3}}, {}},
        ReadCase{82, 77, {}, {{"OptionPROT", 2}}, {}},
        ReadCase{83, 1, {{"CheckDCB1", 1}, {"CheckDCB2", 0}}, {}, {}},
        ReadCase{83, 2, {{"CheckDCB1", 0}, {"CheckDCB2", 1}}, {}, {}},
        ReadCase{84, 0, {{"CheckCIDOnHook", 1}, {"CheckCIDOffHook", 1}, {"CheckCID1", 0}, {"CheckCID2", 0}}, {}, {}},
        ReadCase{84, 0x30, {{"CheckCIDOnHook", 0}, {"CheckCIDOffHook", 1}}, {}, {}},
        ReadCase{84, 0x10, {{"CheckCIDOnHook", 0}}, {}, {}},
        ReadCase{84, 0x80, {{"CheckCIDOnHook", 1}, {"CheckCIDOffHook", 0}}, {}, {}},
        ReadCase{84, 0x03, {{"CheckCID1", 1}, {"CheckCID2", 1}}, {}, {}},
        ReadCase{85, 4, {{"CheckCL1", 1}, {"CheckCL2", 0}}, {}, {}},
        ReadCase{85, 2, {{"CheckCL1", 0}, {"CheckCL2", 1}}, {}, {}},
        ReadCase{85, 8, {{"CheckCL1", 0}, {"CheckCL2", 1}}, {}, {}},
        ReadCase{87, 0, {{"CheckGC1", 1}, {"CheckGC2", 1}, {"CheckBUN", 0}}, {}, {}},
        ReadCase{87, 0x20, {{"CheckBUN", 1}}, {}, {}}, ReadCase{87, 0x40, {{"CheckBUN", 1}}, {}, {}},
        ReadCase{87, 0x03, {{"CheckGC1", 0}, {"CheckGC2", 0}}, {}, {}},
        ReadCase{89, 0x07, {{"CheckCH1", 1}, {"CheckCH2", 1}, {"CheckCH3", 1}, {"CheckMP1", 0}, {"CheckMP2", 0}}, {}, {}},
        ReadCase{89, 0x60, {{"CheckCH1", 0}, {"CheckMP1", 1}, {"CheckMP2", 1}}, {}, {}},
        ReadCase{89, 0x20, {{"CheckMP1", 1}, {"CheckMP2", 0}}, {}, {}},
        ReadCase{100, 1, {}, {{"Option3", 0}}, {}}, ReadCase{100, 0, {}, {{"Option3", 1}}, {}},
        ReadCase{100, 2, {}, {{"Option3", 1}}, {}},
        ReadCase{108, 1, {}, {{"Option5", 0}}, {}}, ReadCase{108, 2, {}, {{"Option5", 1}}, {}},
        ReadCase{108, 0, {}, {{"Option5", 2}, {"Option4", 1}}, {}},
        ReadCase{109, 0, {}, {{"Option4", 2}, {"Option5", 1}}, {}}, ReadCase{109, 2, {}, {{"Option4", 1}}, {}},
        ReadCase{109, 1, {}, {{"Option4", 0}}, {}},
        ReadCase{118, 1, {{"CheckIC1", 1}, {"CheckIC2", 0}}, {}, {}},
        ReadCase{118, 2, {{"CheckIC1", 0}, {"CheckIC2", 1}}, {}, {}},
        ReadCase{123, 0, {{"CheckFUL", 0}}, {}, {}}, ReadCase{123, 1, {{"CheckFUL", 1}}, {}, {}},
        ReadCase{123, 255, {{"CheckFUL", 1}}, {}, {}}));

struct ComposeCase {
    int reg;
    quint8 base;
    std::vector<Expect> boxes;
    quint8 expected;
};

class ComposingRegister : public ::testing::TestWithParam<ComposeCase> {};

TEST_P(ComposingRegister, ChangesOnlyTheBitsOfItsBoxes)
{
    const ComposeCase& c = GetParam();
    FakeElements e;
    for (const Expect& b : c.boxes)
        e.checks[QString::fromLatin1(b.element)] = b.value;
    EXPECT_EQ(int(composeRegister(c.reg, c.base, e)), int(c.expected)) << "S" << c.reg;
}

INSTANTIATE_TEST_SUITE_P(
    ReadModifyWrite, ComposingRegister,
    ::testing::Values(
        ComposeCase{84, 0x0C, {{"CheckCIDOnHook", 1}, {"CheckCIDOffHook", 1}, {"CheckCID1", 1}, {"CheckCID2", 0}}, 13},
        ComposeCase{84, 0x00, {{"CheckCIDOnHook", 0}, {"CheckCIDOffHook", 0}, {"CheckCID1", 0}, {"CheckCID2", 1}}, 0xF2},
        ComposeCase{87, 0x83, {{"CheckGC1", 1}, {"CheckGC2", 1}, {"CheckBUN", 0}}, 128},
        ComposeCase{87, 0x00, {{"CheckGC1", 0}, {"CheckGC2", 1}, {"CheckBUN", 1}}, 0x61},
        ComposeCase{87, 0x20, {{"CheckGC1", 1}, {"CheckGC2", 1}, {"CheckBUN", 1}}, 0x60},
        ComposeCase{79, 0x13, {{"CheckCW1", 1}, {"CheckCW2", 0}}, 0x17},
        ComposeCase{79, 0x0C, {{"CheckCW1", 0}, {"CheckCW2", 1}}, 0x08},
        ComposeCase{89, 0x98, {{"CheckCH1", 1}, {"CheckCH2", 0}, {"CheckCH3", 1}, {"CheckMP1", 0}, {"CheckMP2", 1}}, 0xDD},
        ComposeCase{118, 0xF0, {{"CheckIC1", 0}, {"CheckIC2", 1}}, 0xF2},
        ComposeCase{85, 0x00, {{"CheckCL1", 1}, {"CheckCL2", 0}}, 0x05},
        ComposeCase{85, 0x0F, {{"CheckCL1", 0}, {"CheckCL2", 1}}, 0x0A},
        ComposeCase{83, 0x80, {{"CheckDCB1", 0}, {"CheckDCB2", 1}}, 0x82},
        // greyed boxes change nothing, whatever the direction of their rule
        ComposeCase{84, 0x31, {{"CheckCIDOnHook", 2}, {"CheckCIDOffHook", 2}, {"CheckCID1", 2}, {"CheckCID2", 2}}, 0x31},
        ComposeCase{87, 0x01, {{"CheckGC1", 2}, {"CheckGC2", 1}, {"CheckBUN", 2}}, 0x01}));

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

TEST(RegisterMap, BothDirectionsUseOneTableCoveringEveryElement)
{
    const QStringList elements = {"TextRINGS", "Option2", "CheckBAUD", "TextHOOK", "CheckCW1", "CheckCW2",
                                  "OptionPROT", "CheckDCB1", "CheckDCB2", "CheckCID1", "CheckCID2",
                                  "CheckCIDOnHook", "CheckCIDOffHook", "CheckCL1", "CheckCL2", "CheckGC1",
                                  "CheckGC2", "CheckBUN", "CheckCH1", "CheckCH2", "CheckCH3", "CheckMP1",
                                  "CheckMP2", "Option3", "Option5", "Option4", "CheckIC1", "CheckIC2", "CheckFUL"};
    EXPECT_EQ(registerMap().size(), std::size_t(elements.size()));
    for (const QString& e : elements)
        EXPECT_NE(fieldOfElement(e), nullptr) << e.toStdString();
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

// Elements that write a complete, valid configuration.
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

struct Warnings {
    QStringList seen;
    void operator()(const QString& text, const QString& title) { seen << title + u'|' + text; }
};

TEST(SendPotsSettings, WritesEveryRegisterInOrder)
{
    QLocale::setDefault(QLocale::c());
    RecordingDevice dev;
    dev.regs[84] = 0x0C;
    dev.regs[87] = 0x83;
    std::array<quint8, 128> image{};
    FakeElements e = validWindow();
    e.checks[QStringLiteral("CheckCIDOnHook")] = 1;
    e.checks[QStringLiteral("CheckCIDOffHook")] = 1;
    e.checks[QStringLiteral("CheckCID1")] = 1;
    e.checks[QStringLiteral("CheckGC1")] = 1;
    e.checks[QStringLiteral("CheckGC2")] = 1;
    e.checks[QStringLiteral("CheckFUL")] = 1;
    Warnings w;
    RegisterIo io{std::ref(dev), image, e};
    io.warn = std::ref(w);
    sendPotsSettings(io);

    EXPECT_TRUE(w.seen.isEmpty());
    EXPECT_EQ(dev.sent, QStringList({"ATS79?", "ATS79=0", "ATS89?", "ATS89=0", "ATS118?", "ATS118=0", "ATS85?",
                                     "ATS85=0", "ATS84?", "ATS84=13", "ATS83?", "ATS83=0", "ATS87?", "ATS87=128",
                                     "ATS56=25", "ATS82=78", "ATS0=0", "ATS18=0", "ATS123=255", "ATS100=1",
                                     "ATS15=128", "ATS109=2", "ATS108=0"}));
    EXPECT_EQ(image[84], 13);
    EXPECT_EQ(image[87], 128);
    EXPECT_EQ(image[82], 78);
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

TEST(SendPotsSettings, ClearEmergencyBoxWritesZero)
{
    RecordingDevice dev;
    std::array<quint8, 128> image{};
    FakeElements e = validWindow();
    RegisterIo io{std::ref(dev), image, e};
    sendPotsSettings(io);
    EXPECT_TRUE(dev.sent.contains(QStringLiteral("ATS123=0")));
}

struct TypedCase {
    const char* hook;
    const char* rings;
    std::vector<const char*> sent;     // the S56 and S0 commands expected
    std::vector<const char*> warnings; // in order
};

class TypedValues : public ::testing::TestWithParam<TypedCase> {};

TEST_P(TypedValues, AreValidatedAndRoundedHalfToEven)
{
    QLocale::setDefault(QLocale::c());
    const TypedCase& c = GetParam();
    RecordingDevice dev;
    std::array<quint8, 128> image{};
    FakeElements e = validWindow();
    e.texts[QStringLiteral("TextHOOK")] = QString::fromLatin1(c.hook);
    e.texts[QStringLiteral("TextRINGS")] = QString::fromLatin1(c.rings);
    Warnings w;
    RegisterIo io{std::ref(dev), image, e};
    io.warn = std::ref(w);
    sendPotsSettings(io);

    QStringList typed;
    for (const QString& cmd : dev.sent)
        if (cmd.startsWith(u"ATS56=") || cmd.startsWith(u"ATS0="))
            typed << cmd;
    QStringList expected;
    for (const char* s : c.sent)
        expected << QString::fromLatin1(s);
    EXPECT_EQ(typed, expected) << c.hook << " / " << c.rings;
    QStringList warnings;
    for (const char* s : c.warnings)
        warnings << QStringLiteral("Warning!|") + QString::fromLatin1(s);
    EXPECT_EQ(w.seen, warnings);
}

constexpr const char* kHook = "Hook time value must be between 200 and 1000 ms! Value will be ignored.";
constexpr const char* kRings = "Rings value must be between 0 and 120! Value will be ignored.";

INSTANTIATE_TEST_SUITE_P(
    HookAndRings, TypedValues,
    ::testing::Values(TypedCase{"200", "120", {"ATS56=20", "ATS0=120"}, {}},
                      TypedCase{"1000", "0", {"ATS56=100", "ATS0=0"}, {}},
                      TypedCase{"205", "2.5", {"ATS56=20", "ATS0=2"}, {}},
                      TypedCase{"215", "3.5", {"ATS56=22", "ATS0=4"}, {}},
                      TypedCase{"199.6", "120.4", {"ATS56=20", "ATS0=120"}, {}},
                      TypedCase{" 250 ", "5", {"ATS56=25", "ATS0=5"}, {}},
                      TypedCase{"199", "121", {}, {kHook, kRings}},
                      TypedCase{"1001", "300", {}, {kHook, kRings}},
                      TypedCase{"", "-1", {}, {kHook, kRings}},
                      TypedCase{"2OO", "x", {}, {kHook, kRings}},
                      TypedCase{"150", "3", {"ATS0=3"}, {kHook}},
                      TypedCase{"300", "120.6", {"ATS56=30"}, {kRings}}));

TEST(SendPotsSettings, HookWarningComesBetweenS87AndS82)
{
    RecordingDevice dev;
    std::array<quint8, 128> image{};
    FakeElements e = validWindow();
    e.texts[QStringLiteral("TextHOOK")] = QStringLiteral("150");
    QStringList events;
    RegisterIo io{[&](const QString& cmd) { events << cmd; return dev(cmd); }, image, e};
    io.warn = [&](const QString&, const QString&) { events << QStringLiteral("WARNING"); };
    sendPotsSettings(io);
    const qsizetype warning = events.indexOf(QStringLiteral("WARNING"));
    ASSERT_GT(warning, 0);
    EXPECT_TRUE(events[warning - 1].startsWith(u"ATS87="));
    EXPECT_TRUE(events[warning + 1].startsWith(u"ATS82="));
}

} // namespace
