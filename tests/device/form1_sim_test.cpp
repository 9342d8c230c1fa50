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
#include <QSerialPort>

#include "common/simulator_fixture.h"
#include "device/form1.h"
#include "device_answers.h"

namespace {

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
        QLocale::setDefault(QLocale::c());
        ASSERT_TRUE(sim.up());
        SettingsStore::user().overridePortPath(1, sim.link());
        at.CommDelay = 0.01f;
        at.beep = [] {};
        form = std::make_unique<Form1>(at);
        form->messageBox = [this](const QString& text, const QString& title) { messages << title + u'|' + text; };
    }

    template <typename T>
    T* child(const QString& name)
    {
        return form->findChild<T*>(name);
    }
    QString pppCommand() { return child<QCheckBox>(QStringLiteral("CheckBUN"))->isChecked() ? "ATB0" : "ATB40"; }

    PrivateStore store;
    SimulatorLink sim;
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
    EXPECT_EQ(child<QLineEdit>(QStringLiteral("TextMSN4"))->text(), QStringLiteral("4712"));
    EXPECT_EQ(child<QLineEdit>(QStringLiteral("TextOWN3"))->text(), QStringLiteral("4713"));
    EXPECT_EQ(child<QLabel>(QStringLiteral("StatusText"))->text(), QStringLiteral("Settings received."));
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

    form->CommandSend_Click();
    EXPECT_TRUE(messages.isEmpty());

    ASSERT_TRUE(sim.start()); // stops it first: the device keeps only what it saved
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

TEST_F(Form1SimTest, ProfilesAndCounterResetGoThroughTheDevice)
{
    form->CommandRead_Click();
    child<QLineEdit>(QStringLiteral("TextHOOK"))->setText(QStringLiteral("990"));
    form->CommandSend_Click();
    ASSERT_EQ(child<QLineEdit>(QStringLiteral("TextHOOK"))->text(), QStringLiteral("990"));

    const qsizetype start = sim.commands().size();
    for (const char* button : {"CommandPRS2", "CommandPRF", "Command2"})
        child<QPushButton>(QString::fromLatin1(button))->click();
    EXPECT_NE(child<QLineEdit>(QStringLiteral("TextHOOK"))->text(), QStringLiteral("990")); // factory settings
    child<QPushButton>(QStringLiteral("CommandPRL2"))->click();
    EXPECT_EQ(child<QLineEdit>(QStringLiteral("TextHOOK"))->text(), QStringLiteral("990")); // profile 2 again
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(child<QLabel>(QStringLiteral("Labelucost%1").arg(i))->text(), QStringLiteral("0"));
    EXPECT_TRUE(messages.isEmpty());

    const QStringList reading = receiveSequence(pppCommand());
    QStringList buttons = sim.commandsSince(start);
    buttons.removeIf([&](const QString& cmd) { return reading.contains(cmd); });
    EXPECT_EQ(buttons, QStringList({"AT&W1", "ATZ4", "ATCH0", "ATZ1"}));
}

// The device vanishes while the last command of a reading waits: one time-out,
// no message, the window usable again, the port closed and reported as gone.
TEST_F(Form1SimTest, SimulatorKilledMidReadingEndsTheReadingWithoutMessages)
{
    at.commandSent = [this](const QString& cmd) {
        if (cmd == u"AT&ZO?")
            sim.kill();
    };
    form->CommandRead_Click();
    at.commandSent = nullptr;
    EXPECT_TRUE(messages.isEmpty());
    for (const char* name : {"CommandRead", "CommandSend", "CommandPRS1", "CommandPRL1"})
        EXPECT_TRUE(child<QPushButton>(QString::fromLatin1(name))->isEnabled()) << name;
    // What was read before the kill stands; the own numbers read after it are empty.
    EXPECT_EQ(child<QLineEdit>(QStringLiteral("TextMSN1"))->text(), QStringLiteral("4711"));
    EXPECT_EQ(child<QLineEdit>(QStringLiteral("TextOWN1"))->text(), QString());
    EXPECT_FALSE(at.port().isOpen());
    EXPECT_FALSE(at.portOpens());
}

} // namespace
