// Device detection against dodova-sim: the probe's commands, the name test and
// the port-error message.
#include "app/simulator_fixture.h"
#include "device/at_channel.h"
#include "device/detection.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Answers every modal message box that appears while `run` runs, noting
// "title|text" of each.
template <typename Run>
QStringList answeringMessages(Run run)
{
    QStringList seen;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen << box->windowTitle() + u'|' + box->text();
            box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->reject();
        }
    });
    watcher.start(10);
    run();
    return seen;
}

} // namespace

TEST(Detection, NameTestIsCaseSensitive)
{
    struct Case {
        const char* answer;
        bool dodova;
    } cases[] = {
        {"DodOva ISDN TA", true}, {"dodOva", true},       {"the dodova box", true},
        {"Dodova", true},         {"Zedevuvi GmbH", true}, {"DODOVA ISDN TA", false},
        {"ZEDEVUVI", false},      {"zedevuvi", false},     {"Dod Ova", false},
        {"", false},              {"Error", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isDodovaIdentity(QString::fromLatin1(c.answer)), c.dodova) << c.answer;
}

TEST(Detection, ProbeSendsTraceOffEchoOnIdentify)
{
    struct Case {
        QStringList simArgs;
        bool found;
    } cases[] = {
        {{}, true},
        {{"--identity", "DODOVA ISDN TA"}, false},
    };
    for (const Case& c : cases) {
        PrivateStore store;
        SimulatorLink sim(c.simArgs);
        ASSERT_TRUE(sim.up());
        SettingsStore::user().overridePortPath(1, sim.link());
        AtChannel at;
        bool found = false;
        const QStringList messages = answeringMessages([&] { found = dodOvaExists(at, nullptr); });
        EXPECT_EQ(found, c.found) << c.simArgs.join(' ').toStdString();
        EXPECT_TRUE(messages.isEmpty()); // no message when the port opens
        EXPECT_EQ(sim.commands(), (QStringList{"ATCD8", "ATE1", "ATI4"}));
    }
}

TEST(Detection, PortThatDoesNotOpenShowsTheMessageAndSendsNothing)
{
    PrivateStore store;
    SettingsStore::user().overridePortPath(1, store.file("missing-tty"));
    AtChannel at;
    int sent = 0;
    at.commandSent = [&](const QString&) { ++sent; };
    bool found = true;
    const QStringList messages = answeringMessages([&] { found = dodOvaExists(at, nullptr); });
    EXPECT_FALSE(found);
    EXPECT_EQ(messages, QStringList{"Serial Port Error!|Either serial port is being used or Port is wrong."});
    EXPECT_EQ(sent, 0);
}
