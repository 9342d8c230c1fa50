// The settings window against dodova-sim over a pseudo-terminal, through the
// real command channel: the exact command sequences as the simulator logged
// them, a full round trip through the simulator's saved state, profiles,
// counters, and a device that stops answering.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "app/settings_store.h"
#include "device/answer_parsers.h"
#include "device/form1.h"
#include "device/register_map.h"
#include "sim_process.h"

namespace {

QStringList receiveSequence(const QString& pppCommand)
{
    return {"ATE1",    "ATI4",    "ATI3",   "ATI0",   "ATI1",    "ATS109?", "ATS108?", "ATS79?",
            "ATS89?",  "ATS118?", "ATS85?", "ATS84?", "ATS83?",  "ATS87?",  pppCommand, "ATE1",
            "ATS56?",  "ATS82?",  "ATS0?",  "ATS18?", "ATS123?", "ATS100?", "ATS15?",  "ATCH?",
            "AT&ZI?",  "ATE1",    "AT&ZO?"};
}

// Everything a reading fills in, by object name, to compare two windows.
QMap<QString, QString> snapshot(Form1& form)
{
    QMap<QString, QString> s;
    for (QCheckBox* c : form.findChildren<QCheckBox*>())
        if (c->objectName() != u"Check3" && c->objectName() != u"Check4")
            s[c->objectName()] = QString::number(c->checkState());
    for (QButtonGroup* g : form.findChildren<QButtonGroup*>())
        s[g->objectName()] = QString::number(g->checkedId());
    for (QLineEdit* e : form.findChildren<QLineEdit*>())
        if (e->objectName() != u"TextUCost")
            s[e->objectName()] = e->text();
    for (int i = 1; i <= 6; ++i)
        s[QStringLiteral("Labelucost%1").arg(i)] = form.findChild<QLabel*>(QStringLiteral("Labelucost%1").arg(i))->text();
    return s;
}

class Form1SimTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!SimProcess::available())
            GTEST_SKIP() << "dodova-sim is not built";
        QLocale::setDefault(QLocale::c());
        SettingsStore::useFileForUser(dir.filePath(QStringLiteral("settings.ini")));
        ASSERT_TRUE(sim.start());
        SettingsStore::user().overridePortPath(1, sim.link());
        at.CommPort = 1;
        at.CommDelay = 0.01f;
        at.beep = [] {};
        form = std::make_unique<Form1>(at);
        form->messageBox = [this](const QString& text, const QString& title) { messages << title + u'|' + text; };
    }

    void TearDown() override { SettingsStore::user().overridePortPath(0, QString()); }

    // Commands the simulator received since `from`.
    QStringList logSince(qsizetype from) const { return sim.commands().mid(from); }

    template <typename T>
    T* child(const QString& name)
    {
        return form->findChild<T*>(name);
    }
    QString pppCommand() { return child<QCheckBox>(QStringLiteral("CheckBUN"))->isChecked() ? "ATB0" : "ATB40"; }

    QTemporaryDir dir;
    SimProcess sim{dir.path()};
    AtChannel at;
    std::unique_ptr<Form1> form;
    QStringList messages;
};

TEST_F(Form1SimTest, ReceiveSettingsSendsExactlyTheSequenceAndShowsTheDevice)
{
    form->CommandRead_Click();
    EXPECT_EQ(sim.commands(), receiveSequence(pppCommand()));
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(child<QLabel>(QStringLiteral("Label_info1"))->text().contains(QStringLiteral("DodOva")));
    // Out of the box the simulator's numbers are those of a configured adapter.
    EXPECT_EQ(child<QLineEdit>(QStringLiteral("TextMSN1"))->text(), QStringLiteral("4711"));
    EXPECT_EQ(child<QLineEdit>(QStringLiteral("TextMSN4"))->text(), QStringLiteral("4712"));
    EXPECT_EQ(child<QLineEdit>(QStringLiteral("TextOWN1"))->text(), QStringLiteral("4711"));
    EXPECT_EQ(child<QLineEdit>(QStringLiteral("TextOWN2"))->text(), QStringLiteral("4712"));
    EXPECT_EQ(child<QLineEdit>(QStringLiteral("TextOWN3"))->text(), QStringLiteral("4713"));
    for (const char* group : {"Option2", "Option3", "Option4", "Option5", "OptionPROT", "Option1"})
        EXPECT_GE(child<QButtonGroup>(QString::fromLatin1(group))->checkedId(), 0) << group;
    const int hook = child<QLineEdit>(QStringLiteral("TextHOOK"))->text().toInt();
    EXPECT_TRUE(hook >= 200 && hook <= 1000) << hook;
    for (const QString& name : {"CommandRead", "CommandSend", "CommandPRS1", "CommandPRL4"})
        EXPECT_TRUE(child<QPushButton>(name)->isEnabled());
    EXPECT_EQ(child<QLabel>(QStringLiteral("StatusText"))->text(), QStringLiteral("Settings received."));
}

TEST_F(Form1SimTest, ParsersGiveBackWhatTheSimulatorStored)
{
    const QStringList msns = {"111", "", "0301234567", "", "22", "", "33", "44", ""};
    for (int i = 0; i < 9; ++i)
        at.SendAT(QStringLiteral("AT&ZI%1=%2").arg(i).arg(msns[i]));
    at.SendAT(QStringLiteral("AT&ZOa=5"));
    at.SendAT(QStringLiteral("AT&ZOb="));
    at.SendAT(QStringLiteral("AT&ZOI=0049301"));
    at.SendAT(QStringLiteral("ATE1"));
    const auto got = parseMsns(at.SendAT(QStringLiteral("AT&ZI?")));
    EXPECT_EQ(QStringList(got.begin(), got.end()), msns);
    at.SendAT(QStringLiteral("ATE1"));
    const auto own = parseOwnNumbers(at.SendAT(QStringLiteral("AT&ZO?")));
    EXPECT_EQ(QStringList(own.begin(), own.end()), QStringList({"5", "", "0049301"}));
    at.SendAT(QStringLiteral("ATCH0"));
    const auto charges = parseCharges(at.SendAT(QStringLiteral("ATCH?")));
    EXPECT_EQ(QStringList(charges.begin(), charges.end()), QStringList(6, QStringLiteral("0")));
}

// Sets every element to a value other than the one it shows.
void changeEverything(Form1& form)
{
    for (QCheckBox* c : form.findChildren<QCheckBox*>())
        c->setChecked(!c->isChecked());
    form.findChild<QCheckBox*>(QStringLiteral("CheckBAUD"))->setChecked(true); // a clear box writes nothing
    for (QButtonGroup* g : form.findChildren<QButtonGroup*>()) {
        if (g->objectName() == u"Option1")
            continue; // follows the bundle box
        const QList<QAbstractButton*> buttons = g->buttons();
        const int next = (buttons.indexOf(g->checkedButton()) + 1) % buttons.size();
        buttons[next]->setChecked(true);
    }
    const QStringList msns = {"1001", "", "1003", "2001", "2002", "", "", "3002", "3003"};
    for (int i = 0; i < 9; ++i)
        form.findChild<QLineEdit*>(QStringLiteral("TextMSN%1").arg(i + 1))->setText(msns[i]);
    form.findChild<QLineEdit*>(QStringLiteral("TextOWN1"))->setText(QStringLiteral("1001"));
    form.findChild<QLineEdit*>(QStringLiteral("TextOWN2"))->setText(QStringLiteral("2002"));
    form.findChild<QLineEdit*>(QStringLiteral("TextOWN3"))->setText(QString());
    form.findChild<QLineEdit*>(QStringLiteral("TextHOOK"))->setText(QStringLiteral("370"));
    form.findChild<QLineEdit*>(QStringLiteral("TextRINGS"))->setText(QStringLiteral("7"));
}

TEST_F(Form1SimTest, EveryElementSurvivesTransmitAndASimulatorRestart)
{
    form->CommandRead_Click();
    const QMap<QString, QString> before = snapshot(*form);
    changeEverything(*form);
    const QMap<QString, QString> wanted = snapshot(*form);

    const qsizetype start = sim.commands().size();
    form->CommandSend_Click();
    EXPECT_TRUE(messages.isEmpty());
    const QStringList sent = logSince(start);
    ASSERT_GE(sent.size(), 26);
    EXPECT_EQ(sent.mid(0, 3), QStringList({"ATCD8", "ATE1", "AT&ZI0=1001"}));
    EXPECT_EQ(sent.mid(sent.size() - 27), receiveSequence(pppCommand()));
    const qsizetype s84 = sent.indexOf(QStringLiteral("ATS84?"));
    EXPECT_TRUE(s84 > 0 && sent[s84 + 1].startsWith(u"ATS84=")) << sent.join(u' ').toStdString();

    sim.stop();
    ASSERT_TRUE(sim.start());
    Form1 fresh(at);
    fresh.CommandRead_Click();
    QMap<QString, QString> after = snapshot(fresh);
    QMap<QString, QString> expected = wanted;
    // Counters and the PPP choice come from the device, not from the edits.
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        if (it.key().startsWith(u"Labelucost") || it.key() == u"Option1")
            expected[it.key()] = after[it.key()];
    EXPECT_EQ(after, expected);
    EXPECT_NE(after, before);
}

TEST_F(Form1SimTest, LoadProfileButtonsReadTheProfileBack)
{
    form->CommandRead_Click();
    child<QLineEdit>(QStringLiteral("TextHOOK"))->setText(QStringLiteral("990"));
    form->CommandSend_Click();
    ASSERT_EQ(child<QLineEdit>(QStringLiteral("TextHOOK"))->text(), QStringLiteral("990"));

    qsizetype start = sim.commands().size();
    child<QPushButton>(QStringLiteral("CommandPRS2"))->click(); // store into profile 2
    EXPECT_EQ(logSince(start), QStringList({"AT&W1"}));

    start = sim.commands().size();
    child<QPushButton>(QStringLiteral("CommandPRF"))->click();
    QStringList expected = QStringList({"ATZ4"}) + receiveSequence(pppCommand());
    EXPECT_EQ(logSince(start), expected);
    EXPECT_NE(child<QLineEdit>(QStringLiteral("TextHOOK"))->text(), QStringLiteral("990"));

    start = sim.commands().size();
    child<QPushButton>(QStringLiteral("CommandPRL2"))->click();
    expected = QStringList({"ATZ1"}) + receiveSequence(pppCommand());
    EXPECT_EQ(logSince(start), expected);
    EXPECT_EQ(child<QLineEdit>(QStringLiteral("TextHOOK"))->text(), QStringLiteral("990"));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Form1SimTest, ResetCountersClearsTheDeviceCounters)
{
    form->CommandRead_Click();
    const qsizetype start = sim.commands().size();
    child<QPushButton>(QStringLiteral("Command2"))->click();
    EXPECT_EQ(logSince(start), QStringList({"ATCH0"}));
    EXPECT_FALSE(child<QLabel>(QStringLiteral("LabelRTime"))->text().isEmpty());
    form->CommandRead_Click();
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(child<QLabel>(QStringLiteral("Labelucost%1").arg(i))->text(), QStringLiteral("0"));
    EXPECT_EQ(form->ChargeUnits, (std::array<qint32, 6>{}));
}

TEST_F(Form1SimTest, SimulatorKilledMidReadingEndsTheReadingWithoutMessages)
{
    form->CommandRead_Click();
    const QMap<QString, QString> before = snapshot(*form);
    at.commandSent = [this](const QString& cmd) {
        if (cmd == u"ATS15?")
            sim.kill(); // the remaining four commands each run into their time-out
    };
    form->CommandRead_Click();
    at.commandSent = nullptr;
    EXPECT_TRUE(messages.isEmpty());
    for (const QString& name : {"CommandRead", "CommandSend", "CommandPRS1", "CommandPRL1"})
        EXPECT_TRUE(child<QPushButton>(name)->isEnabled()) << name.toStdString();
    // Registers read before the kill stand; the lists read after it are empty.
    const QMap<QString, QString> after = snapshot(*form);
    EXPECT_EQ(after.value(QStringLiteral("CheckCW1")), before.value(QStringLiteral("CheckCW1")));
    EXPECT_EQ(after.value(QStringLiteral("TextMSN1")), QString());
}

TEST_F(Form1SimTest, SilentDeviceCostsOneTimeOutPerCommandAndNoMessage)
{
    sim.stop();
    ASSERT_TRUE(sim.start({"--silent"}));
    const qsizetype start = sim.commands().size();
    child<QPushButton>(QStringLiteral("CommandPRS1"))->click();
    EXPECT_EQ(logSince(start), QStringList({"AT&W0"}));
    EXPECT_TRUE(messages.isEmpty());
}

} // namespace
