// "Call Monitor Settings": what opening stores and plays, and each box.
#include "window_fixture.h"

#include "common/free_port.h"
#include "common/mosquitto_fixture.h"

#include "monitor/window/formmonitor_settings.h"
#include "outputs/ncid_test_client.h"

#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QTimer>
#include <QLabel>
#include <QTest>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {

class SettingsWindowTest : public WindowTest {
protected:
    std::unique_ptr<FormMonitorSettings> openWindow()
    {
        auto w = std::make_unique<FormMonitorSettings>(
            settings(), waveLog, [this] { prefixes << settings().read("DialPrefixNumber"); });
        w->chooseWaveFile = [this](QWidget*) { return chosenFile; };
        w->Form_Load();
        return w;
    }
    QCheckBox* box(FormMonitorSettings& w, const char* name) { return w.findChild<QCheckBox*>(name); }

    QStringList prefixes;
    QString chosenFile;
};

const QStringList kTestPlay(const QString& file)
{
    return {"file:" + file, "Open", "Previous", "Play"};
}

} // namespace

TEST_F(SettingsWindowTest, AnEmptyStoreTicksAndStoresTheFiveLogBoxesOnly)
{
    auto w = openWindow();
    for (const auto& [name, key] : {std::pair{"Check4", "LogAns"}, {"Check5", "LogRing"}, {"Check6", "LogDial"},
             {"Check7", "LogTry"}, {"Check8", "LogCID"}}) {
        EXPECT_TRUE(box(*w, name)->isChecked()) << name;
        EXPECT_TRUE(settings().contains(key)) << key;
        EXPECT_EQ(settings().read(key), "1") << key;
    }
    for (const auto& [name, key] : {std::pair{"Check1", "Popup"}, {"Check2", "Ring"}, {"Check3", "IDSound"}}) {
        EXPECT_FALSE(box(*w, name)->isChecked()) << name;
        EXPECT_FALSE(settings().contains(key)) << key;
    }
    EXPECT_TRUE(waveLog.log.isEmpty());
    EXPECT_EQ(prefixes, QStringList{""});
}

TEST_F(SettingsWindowTest, OpeningWithRingOnPlaysTheSoundFromItsStart)
{
    settings().write("Ring", "1");
    auto w = openWindow();
    EXPECT_TRUE(box(*w, "Check2")->isChecked());
    EXPECT_EQ(settings().read("Ring"), "1");
    const QString wav = file("ring.wav");
    EXPECT_EQ(waveLog.log, kTestPlay(wav) + QStringList{"Close"} + kTestPlay(wav));
}

TEST_F(SettingsWindowTest, BoxesStoreAtOnceAndOnlyTheNumberOneTicks)
{
    settings().write("Popup", "yes");
    settings().write("LogAns", "2");
    settings().write("LogCID", "0");
    auto w = openWindow();
    EXPECT_FALSE(box(*w, "Check1")->isChecked());
    EXPECT_FALSE(box(*w, "Check4")->isChecked());
    EXPECT_FALSE(box(*w, "Check8")->isChecked());
    EXPECT_EQ(settings().read("Popup"), "yes"); // untouched until the user acts

    box(*w, "Check1")->click();
    EXPECT_EQ(settings().read("Popup"), "1");
    box(*w, "Check3")->click();
    EXPECT_EQ(settings().read("IDSound"), "1");
    EXPECT_EQ(waveLog.log, kTestPlay(file("ring.wav")));
    box(*w, "Check3")->click();
    EXPECT_EQ(settings().read("IDSound"), "0");
    EXPECT_EQ(waveLog.log.last(), "Close");

    box(*w, "Check2")->click();
    EXPECT_EQ(settings().read("Ring"), "1");
    box(*w, "Check2")->click();
    EXPECT_EQ(settings().read("Ring"), "0");
}

TEST_F(SettingsWindowTest, SelectSoundStoresAndPlaysTheChoiceButCancelChangesNothing)
{
    settings().write("WavFile", "/old/ring.wav");
    auto w = openWindow();
    auto* select = w->findChild<QPushButton*>("Command1");

    chosenFile.clear(); // cancelled
    select->click();
    EXPECT_EQ(settings().read("WavFile"), "/old/ring.wav");
    EXPECT_TRUE(waveLog.log.isEmpty());

    chosenFile = file("bell.wav");
    select->click();
    EXPECT_EQ(settings().read("WavFile"), chosenFile);
    EXPECT_EQ(waveLog.log, QStringList({"Close", "file:" + chosenFile, "Open", "Prev", "Play"}));
}

TEST_F(SettingsWindowTest, ThePrefixIsStoredAndHandedOnWithEveryEdit)
{
    settings().write("DialPrefixNumber", "0");
    auto w = openWindow();
    auto* text = w->findChild<QLineEdit*>("Text1");
    EXPECT_EQ(text->text(), "0");
    text->clear();
    EXPECT_TRUE(settings().contains("DialPrefixNumber"));
    EXPECT_EQ(settings().read("DialPrefixNumber"), "");
    EXPECT_EQ(prefixes.last(), "");
    text->setText("9");
    EXPECT_EQ(settings().read("DialPrefixNumber"), "9");
    EXPECT_EQ(prefixes.last(), "9");
}

TEST_F(WindowTest, TheBuiltInPlayerIgnoresMissingAndBrokenFiles)
{
    writeText("broken.wav", "RIFF not really a wave file");
    SoundEffectWaveDevice player;
    for (const QString& f : {file("missing.wav"), file("broken.wav"), QString()}) {
        wave::playFromStart(player, f);
        player.command("Previous");
        player.command("Close");
        player.command("Play");
        player.command("Bogus");
    }
    // Closing a file that is still loading must not lose Qt's sample: it goes
    // when loading ends (a leak check of the sanitizer build sees it).
    QTRY_VERIFY_WITH_TIMEOUT(!player.loading(), 10000);
}

// The "Network" frame puts the NCID server into effect as the user edits it:
// a client gets the calls; a port that is no port, or switched off, stops it.
TEST_F(SettingsWindowTest, TheNetworkFrameStartsMovesAndStopsTheNcidServer)
{
    const QString port = QString::number(freePort());
    CallList list;
    CallOutputs outputs({clock, &list});
    auto w = openWindow();
    w->applyNetwork = [&] {
        outputs.apply(readOutputPlan(settings(), {}));
        return &outputs;
    };
    auto* state = w->findChild<QLabel*>("LabelNcidState");
    auto* portField = w->findChild<QLineEdit*>("TextNcidPort");
    box(*w, "CheckNcid")->click(); // the fields are for a server switched on
    EXPECT_EQ(settings().read("NcidServer"), "1");
    portField->clear();
    QTest::keyClicks(portField, port);
    emit portField->editingFinished();
    EXPECT_EQ(state->text(), "Listening on 127.0.0.1 port " + port);
    NcidTestClient client(port.toUShort());
    ASSERT_TRUE(client.waitFor("210 ")); // accepted: its HELLO: window runs
    clock.advance(500);
    ASSERT_TRUE(client.waitFor("300 "));
    CallEvent e;
    e.time = e.start = QDateTime(QDate(2026, 3, 1), QTime(9, 15));
    e.channel = u'A', e.msn = "4711", e.number = "0301";
    outputs.callEvent(e);
    EXPECT_TRUE(client.waitFor("CID: "));
    list.setListPath("/nonexistent/list.txt");
    list.AddCall("4711", "Ring", QDate(2026, 3, 1), "09:15:00", "0301", "", "0:00:05", "-");
    EXPECT_TRUE(client.waitFor("MSG: 1 call not saved: /nonexistent/list.txt could not be written"));
    portField->clear();
    QTest::keyClicks(portField, "70000");
    emit portField->editingFinished();
    EXPECT_EQ(state->text(), "Not a valid address and port");
    box(*w, "CheckNcid")->click();
    EXPECT_EQ(state->text(), "Off");
}

// The "MQTT" frame says how the broker answered, as it answers: nothing is
// tried before an address is typed; a closed port, an unknown host and a
// broker that takes the connection each read as they are.
TEST_F(SettingsWindowTest, TheMqttFrameShowsHowTheBrokerAnswered)
{
    if (!Broker::installed())
        GTEST_SKIP() << "mosquitto is not installed";
    Broker broker;
    ASSERT_TRUE(broker.start());
    const QString closed = QString::number(freePort()), open = QString::number(broker.port());
    CallList list;
    CallOutputs outputs({clock, &list});
    auto w = openWindow();
    w->applyNetwork = [&] {
        outputs.apply(readOutputPlan(settings(), {}));
        return &outputs;
    };
    auto* state = w->findChild<QLabel*>("LabelMqttState");
    auto* url = w->findChild<QLineEdit*>("TextMqttUrl");
    box(*w, "CheckMqtt")->click();
    EXPECT_EQ(state->text(), "Not started: type the broker's address");
    const struct {
        QString url, first, then; // what is typed; what the frame says at once and once answered
    } cases[] = {
        {"mqtt://127.0.0.1:" + closed, "Connecting to 127.0.0.1 port " + closed + " ...",
            "127.0.0.1 port " + closed + " refused the connection; trying again"},
        {"mqtt://no-such-host.invalid", "Connecting to no-such-host.invalid port 1883 ...",
            "Unknown host no-such-host.invalid; trying again"},
        {"mqtt://127.0.0.1:" + open + "/home", "Connecting to 127.0.0.1 port " + open + " ...",
            "Publishing to 127.0.0.1 port " + open + " as home/"},
    };
    for (const auto& c : cases) {
        url->clear();
        QTest::keyClicks(url, c.url);
        emit url->editingFinished();
        EXPECT_EQ(state->text(), c.first);
        EXPECT_TRUE(QTest::qWaitFor([&] { return state->text().startsWith(c.then); }, 20000))
            << state->text().toStdString();
    }
}

// The own numbers' names and the ignore list, each edited in its button's
// dialog, stored, and handed on to the monitor.
TEST_F(SettingsWindowTest, OwnNumbersAndIgnoredCallersAreEditedInTheirDialogs)
{
    writeText("ignore.txt", "0900*\n");
    settings().write("MsnNumber2", "4700");
    auto w = openWindow();
    w->setAdapterMsns({"4710", "4720", "", "4740"}); // offered where nothing is set yet
    QString refused;
    // OK with something that is no number: the message is kept, and the dialog stays for it to be mended.
    const auto refusedOnOk = [&refused](QDialog& dialog) {
        QTimer::singleShot(0, [&refused] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            refused += '|' + box->text();
            box->accept();
        });
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible());
    };
    for (const char* button : {"CommandOwnNumbers", "CommandIgnored"}) {
        QTimer::singleShot(0, [&refusedOnOk] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            if (auto* text = dialog->findChild<QPlainTextEdit*>("TextIgnored")) {
                // A line that is no number is named.
                text->setPlainText(text->toPlainText() + "Anna # the neighbour\n");
                refusedOnOk(*dialog);
                text->setPlainText(text->toPlainText().replace("Anna", "030 1234"));
            }
            if (auto* msn = dialog->findChild<QLineEdit*>("TextMsnNumber5")) {
                // So is an MSN that is no number; one written with a dash is its digits.
                msn->setText("hello");
                refusedOnOk(*dialog);
                msn->clear();
            }
            for (auto [name, value] : {std::pair{"TextMsnNumber4", "47-11"}, {"TextMsnName4", "Office"}})
                if (auto* field = dialog->findChild<QLineEdit*>(name))
                    field->setText(value);
            dialog->accept();
        });
        w->findChild<QPushButton*>(button)->click();
    }
    EXPECT_TRUE(refused.startsWith("|Phone 2 MSN2: \"hello\" is not an MSN.")) << refused.toStdString();
    EXPECT_TRUE(refused.contains("|Line 2: \"Anna\" is not a phone number.")) << refused.toStdString();
    EXPECT_EQ(readBytes(file("ignore.txt")), "0900*\n030 1234 # the neighbour\n");
    EXPECT_EQ(settings().read("MsnNumber4") + '|' + settings().read("MsnName4"), "4711|Office");
    EXPECT_EQ(settings().read("MsnNumber1") + '|' + settings().read("MsnNumber2") + '|' + settings().read("MsnNumber3"),
        "4710|4700|");
    EXPECT_EQ(prefixes.size(), 3); // opening, then each dialog's change
}
