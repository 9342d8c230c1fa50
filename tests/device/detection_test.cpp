// Device detection: the name test and the port-error message. (The probe's
// commands against dodova-sim are pinned by the start-up tests.)
#include "common/simulator_fixture.h"
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
