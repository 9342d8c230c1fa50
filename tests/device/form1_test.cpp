// The settings window offscreen against a device double: command sequences,
// what the elements show, change tracking, buttons, lamp and messages.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include "common/settings_store.h"
#include "device/charge_counters.h"
#include "device/form1.h"
#include "device_answers.h"
#include "fake_dodova.h"

namespace {

const QStringList kTransferButtons = {"CommandRead", "CommandSend", "CommandPRF",  "CommandPRL1",
                                      "CommandPRL2", "CommandPRL3", "CommandPRL4", "CommandPRS1",
                                      "CommandPRS2", "CommandPRS3", "CommandPRS4"};

class Form1Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        SettingsStore::useFileForUser(dir.filePath(QStringLiteral("settings.ini")));
        dev.latch = [this] { return at.latchIsSet && at.latchIsSet(); };
        form.setSendFunction(std::ref(dev));
        form.setPortTest([this] { return portOk; });
        form.messageBox = [this](const QString& text, const QString& title) {
            messages << title + u'|' + text;
            events << QStringLiteral("MESSAGE");
        };
        dev.onSend = [this](const QString& cmd) { events << cmd; };
    }

    template <typename T>
    T* child(const QString& name)
    {
        T* w = form.findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QPushButton* button(const QString& name) { return child<QPushButton>(name); }
    QCheckBox* box(const QString& name) { return child<QCheckBox>(name); }
    QString text(const QString& name) { return child<QLineEdit>(name)->text(); }
    QString label(const QString& name) { return child<QLabel>(name)->text(); }
    bool radio(const QString& name) { return child<QRadioButton>(name)->isChecked(); }

    QStringList enabledOf(const QStringList& names)
    {
        QStringList on;
        for (const QString& n : names)
            if (button(n)->isEnabled())
                on << n;
        return on;
    }

    QTemporaryDir dir;
    AtChannel at;
    Form1 form{at};
    FakeDodova dev;
    bool portOk = true;
    QStringList messages;
    QStringList events;
};

TEST_F(Form1Test, CaptionsAndToolTipsAreExact)
{
    QStringList frames;
    for (QGroupBox* g : form.findChildren<QGroupBox*>())
        frames << g->title();
    for (const char* title : {"Phone 1 (POTS-1)", "Phone 2 (POTS-2)", "DTE Port (ISDN Modem)", "High Layer",
                              "Global Controls", "Dodova Profiles and Power-on default", "Cost per Unit",
                              "Protocol", "PPP Mode", "Setting for Phone 1", "Setting for Phone 2",
                              "Hook Flash Time", "SS Protocol", "Power-On Profile"})
        EXPECT_EQ(frames.count(QString::fromLatin1(title)), 1) << title;
    EXPECT_EQ(frames.count(QStringLiteral("Call Charges")), 3);

    const struct {
        const char* name;
        const char* caption; // nullptr: no caption to compare
        const char* tip;
    } elements[] = {
        {"CheckGC1", "Global Calls On", "When OFF, Rejects Calls with Call Party number information element missing"},
        {"CheckCID2", "Caller on Bundle", "When both channels are used for data, drop one line to receive voice call"},
        {"CheckCL1", "Calling Line ID Off", "Deactivates sending own phone number when calling from POTS-1"},
        {"CheckIC2", "Incoming calls Off", "Disables incoming calls for POTS-2. When Off you cannot receive calls!"},
        {"CheckMP1", "Metering Pulse", "Enables a DECT phone to recognise cost charges on POTS-1"},
        {"CheckCH2", "Charging Counter", "Enables the Charging Counter for POTS-2"},
        {"CheckCW1", "Call Waiting", "Enables Call Waiting for POTS-1"},
        {"Check4", "Emergency Line", "This feature is currently not used"},
        {"CheckCH3", "Charging Counter", "Enables the Charging Counter for DTE Port (Internet)"},
        {"CheckFUL", "Full Emergency On", "When ON, Dodova will try to operate on phone line power if mains is not available"},
        {"CheckBUN", "Bundle Connect On", "Enables Bundle Connect. Both channels are used"},
        {"CheckCIDOnHook", "Caller ID (On Hook)", "Enables Caller ID (ON HOOK)"},
        {"CheckCIDOffHook", "Caller ID (Off Hook)", "Enables Caller ID (OFF HOOK)"},
        {"CheckBAUD", "Auto Baud On", "This should always be on"},
        {"Option1_2", "128 kbps", "Set ISDN 128kbps"},
        {"Option1_1", "64 kbps", "Set ISDN 64kbps"},
        {"Option3_0", "Keypad", "Sets Supplementary Services Protocol to Keypad"},
        {"Option1", nullptr, "Click to set PPP mode. Click Save to your 'Power-on' profile after selecting. You can also "
                             "use ATB40 or ATB0 in modem Extra Settings!"},
        {"TextMSN1", nullptr, "Set first MSN number. Phone 1 will ring when this number is called."},
        {"TextMSN7", nullptr, "Set MSN number for DTE port. Modem will answer when this number is called (In "
                              "auto-answer mode)."},
        {"TextOWN1", nullptr, "Own number to send when calling from Phone 1"},
        {"TextOWN2", nullptr, "Own number to send when calling from Phone 2"},
        {"TextOWN3", nullptr, "Own number to send when calling using the modem"},
        {"TextRINGS", nullptr, "Set the number of rings to auto-answer (Zero disables)"},
        {"TextHOOK", nullptr, "Flash time setting for phones connected to POTS ports in milliseconds"},
        {"FrameCharges1", "Call Charges", "This windows displays call charges for POTS-1"},
        {"Command2", "Reset Counters", "Resets Last Call and Total Calls charge counters on DodOva"},
        {"Command7", "Hangup Phone 1", nullptr},
        {"Command8", "Hangup Phone 2", nullptr},
        {"CommandPRF", "Load Factory Settings", nullptr},
        {"CommandPRS3", "Save to P3", nullptr},
        {"CommandPRL2", "Load P2", nullptr},
        {"CommandRead", "Receive Settings", nullptr},
        {"CommandSend", "Transmit Settings", nullptr},
    };
    for (const auto& e : elements) {
        auto* w = form.findChild<QWidget*>(QString::fromLatin1(e.name));
        ASSERT_NE(w, nullptr) << e.name;
        if (e.tip) {
            EXPECT_EQ(w->toolTip(), QString::fromLatin1(e.tip)) << e.name;
        }
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && e.caption) {
            EXPECT_EQ(b->text(), QString::fromLatin1(e.caption)) << e.name;
        } else if (auto* g = qobject_cast<QGroupBox*>(w); g && e.caption) {
            EXPECT_EQ(g->title(), QString::fromLatin1(e.caption)) << e.name;
        }
    }
}

TEST_F(Form1Test, ReceiveSettingsSendsTheSequenceAndShowsTheDeviceState)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    child<QLineEdit>(QStringLiteral("TextUCost"))->setText(QStringLiteral("0.5"));
    form.CommandRead_Click();
    EXPECT_EQ(dev.sent, receiveSequence("ATB0")); // S87 = 0x21: bundle on
    EXPECT_TRUE(messages.isEmpty());

    EXPECT_EQ(label(QStringLiteral("Label_info1")), QStringLiteral("DodOva ISDN TA\r\n\r\n"));
    EXPECT_EQ(label(QStringLiteral("Label39")), QStringLiteral("Code:"));
    EXPECT_EQ(label(QStringLiteral("Label_info4")), QStringLiteral("0815\r\n\r\n"));
    EXPECT_TRUE(box(QStringLiteral("CheckBUN"))->isChecked());
    EXPECT_TRUE(radio(QStringLiteral("Option1_2")));
    EXPECT_TRUE(radio(QStringLiteral("Option2_1")));   // S15 = 32
    EXPECT_TRUE(radio(QStringLiteral("OptionPROT_1"))); // S82 = 76
    EXPECT_EQ(text(QStringLiteral("TextHOOK")), QStringLiteral("250"));
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(text(QStringLiteral("TextMSN%1").arg(i + 1)), dev.msns[i]);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(text(QStringLiteral("TextOWN%1").arg(i + 1)), dev.own[i]);
    // Device order DTE, POTS-1, POTS-2 (last), then the totals.
    const char* unitsLabels[] = {"Labelucost3", "Labelucost1", "Labelucost2", "Labelucost6", "Labelucost4",
                                 "Labelucost5"};
    for (int j = 0; j < 6; ++j)
        EXPECT_EQ(label(QString::fromLatin1(unitsLabels[j])), dev.charges[j]);
    EXPECT_EQ(label(QStringLiteral("Labelcost4")), QStringLiteral("$50.00"));
    EXPECT_EQ(form.ChargeUnits, (std::array<qint32, 6>{1, 2, 3, 10, 100, 300}));
    EXPECT_EQ(form.RegisterImage[84], 0x31);
    EXPECT_EQ(enabledOf(kTransferButtons), kTransferButtons);

    // Bundle bits clear: the PPP mode read back is 64 kbps.
    dev.sent.clear();
    dev.regs[87] = 0x01;
    form.CommandRead_Click();
    EXPECT_EQ(dev.sent, receiveSequence("ATB40"));
    EXPECT_TRUE(radio(QStringLiteral("Option1_1")));
}

TEST_F(Form1Test, EditsDisableOnlyTheSaveButtonsAndAPppChoiceEnablesThemAgain)
{
    const QStringList loads = {"CommandRead", "CommandSend", "CommandPRF", "CommandPRL1", "CommandPRL2",
                               "CommandPRL3", "CommandPRL4"};
    const std::function<void()> edits[] = {
        [&] { box(QStringLiteral("CheckCW1"))->click(); },
        [&] { child<QLineEdit>(QStringLiteral("TextMSN5"))->setText(QStringLiteral("55")); }, // programmatic too
        [&] { child<QRadioButton>(QStringLiteral("Option2_3"))->click(); },
    };
    for (const auto& edit : edits) {
        form.CommandRead_Click();
        edit();
        EXPECT_EQ(enabledOf(kTransferButtons), loads);
    }

    dev.sent.clear();
    child<QRadioButton>(QStringLiteral("Option1_1"))->click(); // 64 kbps
    EXPECT_EQ(dev.sent, QStringList({"ATB40", "ATE1"}));
    EXPECT_FALSE(box(QStringLiteral("CheckBUN"))->isChecked());
    EXPECT_EQ(enabledOf(kTransferButtons), kTransferButtons);

    dev.sent.clear();
    child<QRadioButton>(QStringLiteral("Option1_2"))->click(); // 128 kbps
    EXPECT_EQ(dev.sent, QStringList({"ATB0", "ATE1"}));
    EXPECT_TRUE(box(QStringLiteral("CheckBUN"))->isChecked());
    EXPECT_EQ(enabledOf(kTransferButtons), kTransferButtons);
}

TEST_F(Form1Test, TransmitSettingsWritesNumbersThenRegistersThenReadsBack)
{
    form.CommandRead_Click();
    child<QLineEdit>(QStringLiteral("TextMSN2"))->setText(QStringLiteral("12 34")); // not a number: skipped
    child<QLineEdit>(QStringLiteral("TextOWN3"))->setText(QStringLiteral(" 0049"));
    child<QLineEdit>(QStringLiteral("TextHOOK"))->setText(QStringLiteral("150"));
    box(QStringLiteral("CheckCW2"))->setChecked(true);
    dev.sent.clear();
    events.clear();

    QList<unsigned> colours;
    dev.onSend = [&](const QString& cmd) {
        events << cmd;
        colours << at.BusyColour;
    };
    QColor pauseColour;
    bool sampled = false;
    // Sample the lamp inside the half-second pause, which processes events.
    auto* sampler = new QTimer(&form);
    QObject::connect(sampler, &QTimer::timeout, [&] {
        if (!sampled && events.contains(QStringLiteral("ATS108=2")) && !events.endsWith(QStringLiteral("ATE1"))) {
            pauseColour = form.findChild<QLabel*>(QStringLiteral("Led"))->palette().color(QPalette::Window);
            sampled = true;
        }
    });
    sampler->start(50);
    form.CommandSend_Click();
    sampler->stop();

    QStringList numbers = {"ATCD8", "ATE1"};
    const QStringList values = {"4711", "", "", "4712", "30", "", "4713", "", "9"};
    for (int i = 0; i < 9; ++i)
        if (i != 1)
            numbers << QStringLiteral("AT&ZI%1=%2").arg(i).arg(values[i]) << QStringLiteral("ATE1");
        else
            numbers << QStringLiteral("ATE1");
    numbers << "AT&ZOI= 0049" << "ATE1" << "AT&ZOa=4711" << "ATE1" << "AT&ZOb=4712" << "ATE1";
    const QStringList registers = {"ATS79?",  "ATS79=12", "ATS89?",   "ATS89=37", "ATS118?",  "ATS118=2",
                                   "ATS85?",  "ATS85=10", "ATS84?",   "ATS84=49", "ATS83?",   "ATS83=2",
                                   "ATS87?",  "ATS87=97", "ATS82=76", "ATS0=2",   "ATS18=0",  "ATS123=255",
                                   "ATS100=0", "ATS15=32", "ATS109=0", "ATS108=2"};
    EXPECT_EQ(dev.sent.mid(0, numbers.size()), numbers);
    EXPECT_EQ(dev.sent.mid(numbers.size(), registers.size()), registers);
    EXPECT_EQ(dev.sent.mid(numbers.size() + registers.size()), receiveSequence("ATB0"));

    // The hook warning comes between the S87 and the S82 write, alone.
    EXPECT_EQ(messages, QStringList({"Warning!|Hook time value must be between 200 and 1000 ms! Value will be ignored."}));
    const qsizetype w = events.indexOf(QStringLiteral("MESSAGE"));
    EXPECT_EQ(events.value(w - 1), QStringLiteral("ATS87=97"));
    EXPECT_EQ(events.value(w + 1), QStringLiteral("ATS82=76"));
    // The device kept its hook time; the read-back shows it.
    EXPECT_EQ(text(QStringLiteral("TextHOOK")), QStringLiteral("250"));

    const qsizetype writes = numbers.size() + registers.size();
    for (qsizetype i = 0; i < colours.size(); ++i)
        EXPECT_EQ(colours[i], i < writes ? 0xFF000Fu : 255u) << dev.sent[i].toStdString();
    EXPECT_TRUE(sampled);
    EXPECT_EQ(pauseColour, QColor(255, 255, 0));
    EXPECT_EQ(enabledOf(kTransferButtons), kTransferButtons);
}

TEST_F(Form1Test, DeviceButtonsSendTheirCommand)
{
    const struct {
        const char* button;
        const char* command;
        bool rereads;
    } buttons[] = {{"CommandPRF", "ATZ4", true},   {"CommandPRL1", "ATZ0", true},  {"CommandPRL2", "ATZ1", true},
                   {"CommandPRL3", "ATZ2", true},  {"CommandPRL4", "ATZ3", true},  {"CommandPRS1", "AT&W0", false},
                   {"CommandPRS2", "AT&W1", false}, {"CommandPRS3", "AT&W2", false}, {"CommandPRS4", "AT&W3", false},
                   {"Command7", "ATH3", false},    {"Command8", "ATH4", false},    {"Command2", "ATCH0", false}};
    for (const auto& b : buttons) {
        dev.sent.clear();
        button(QString::fromLatin1(b.button))->click();
        QStringList expected = {QString::fromLatin1(b.command)};
        if (b.rereads)
            expected += receiveSequence("ATB0");
        EXPECT_EQ(dev.sent, expected) << b.button;
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Form1Test, RefusedPortTestSendsNothingAndLeavesTheButtons)
{
    portOk = false;
    const QStringList all = kTransferButtons + QStringList{"Command2", "Command7", "Command8"};
    for (const QString& name : all)
        button(name)->click();
    EXPECT_TRUE(dev.sent.isEmpty());
    EXPECT_EQ(messages,
              QStringList(all.size(), QStringLiteral("Serial Port Error!|Either serial port is being used or Port is wrong.")));
    EXPECT_EQ(enabledOf(kTransferButtons), kTransferButtons);
}

TEST_F(Form1Test, ResetCountersStampsAndSavesAtOnce)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QDateTime before = QDateTime::currentDateTime();
    form.Command2_Click();
    const QDateTime after = QDateTime::currentDateTime();
    const QString stamp = label(QStringLiteral("LabelRTime"));
    EXPECT_TRUE(stamp == resetStamp(before) || stamp == resetStamp(after)) << stamp.toStdString();
    EXPECT_TRUE(stamp.contains(u'.'));
    EXPECT_EQ(form.LastReset, stamp);
    EXPECT_EQ(SettingsStore::user().read(QStringLiteral("LastReset")), stamp);
}

TEST_F(Form1Test, UnitCostRecomputesTheMoneyInTheLocaleCurrency)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto* cost = child<QLineEdit>(QStringLiteral("TextUCost"));
    cost->setText(QStringLiteral("0,026"));
    form.CommandRead_Click();
    EXPECT_FLOAT_EQ(form.UnitCost, 0.026f);
    EXPECT_EQ(label(QStringLiteral("Labelcost4")), QStringLiteral("2,60\u00a0€"));
    EXPECT_EQ(label(QStringLiteral("Labelcost3")), QStringLiteral("0,03\u00a0€"));

    cost->setText(QStringLiteral("0,1x"));
    EXPECT_FLOAT_EQ(form.UnitCost, 0.026f);
    EXPECT_EQ(label(QStringLiteral("Labelcost4")), QStringLiteral("2,60\u00a0€"));
    cost->setText(QStringLiteral("0,1"));
    EXPECT_EQ(label(QStringLiteral("Labelcost4")), QStringLiteral("10,00\u00a0€"));
    EXPECT_EQ(label(QStringLiteral("Labelcost6")), QStringLiteral("1,00\u00a0€"));
}

TEST_F(Form1Test, AbsentDeviceSendsNothingAfterTheFailedIdentityAndSaysSo)
{
    form.CommandRead_Click();
    dev.sent.clear();
    dev.overrides[QStringLiteral("ATI4")] = QStringLiteral("Error");
    dev.regs[56] = 99;
    form.CommandRead_Click();
    EXPECT_EQ(dev.sent, QStringList({"ATE1", "ATI4"}));
    EXPECT_EQ(text(QStringLiteral("TextHOOK")), QStringLiteral("250")); // the image as it was
    EXPECT_TRUE(child<QLabel>(QStringLiteral("StatusText"))->text().contains(QStringLiteral("No DodOva")));
    EXPECT_EQ(enabledOf(kTransferButtons), kTransferButtons);

    // The next reading clears the latch: its ATE1 and ATI4 are skipped, ATI4 gives an empty caption.
    dev.sent.clear();
    form.CommandRead_Click();
    EXPECT_EQ(dev.sent.first(), QStringLiteral("ATI3"));
    EXPECT_EQ(label(QStringLiteral("Label_info1")), QString());
}

TEST_F(Form1Test, MalformedAnswersEmptyTheFieldsWithoutMessages)
{
    form.CommandRead_Click();
    for (const char* cmd : {"AT&ZI?", "AT&ZO?", "ATCH?"})
        dev.overrides[QString::fromLatin1(cmd)] = QStringLiteral("Error");
    dev.overrides[QStringLiteral("ATS56?")] = QStringLiteral("garbage\r\n");
    form.CommandRead_Click();
    for (int i = 1; i <= 9; ++i)
        EXPECT_EQ(text(QStringLiteral("TextMSN%1").arg(i)), QString());
    EXPECT_EQ(text(QStringLiteral("TextOWN1")), QString());
    EXPECT_EQ(form.ChargeUnits, (std::array<qint32, 6>{}));
    EXPECT_EQ(label(QStringLiteral("Labelucost4")), QString());
    EXPECT_EQ(text(QStringLiteral("TextHOOK")), QStringLiteral("250"));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Form1Test, GreyedBoxesKeepTheirBits)
{
    form.CommandRead_Click();
    box(QStringLiteral("CheckCID1"))->setCheckState(Qt::PartiallyChecked);
    box(QStringLiteral("CheckCIDOnHook"))->setCheckState(Qt::PartiallyChecked);
    dev.regs[84] = 0x11;
    dev.sent.clear();
    form.SendPOTS_Settings();
    EXPECT_TRUE(dev.sent.contains(QStringLiteral("ATS84=17"))); // bits 0 and 4 kept, off-hook box ticked clears 6/7
}

} // namespace
