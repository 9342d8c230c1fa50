// Start-up and shutdown of the main window against dodova-sim.
#include "app/app_hooks.h"
#include "app/command_line.h"
#include "app/simulator_fixture.h"
#include "app/single_instance.h"
#include "app/startup.h"
#include "device/at_channel.h"
#include "device/form1.h"
#include "monitor/window/wave_device.h"
#include "ui/formloading.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct RecordingWave : WaveDevice {
    QStringList log;
    void setFileName(const QString& path) override { log << "file " + path; }
    void command(const QString& word) override { log << word; }
};

struct Message {
    QMessageBox::Icon icon;
    QString title, text;
};

// One main window with its start-up, on a private store, program folder and lock.
struct Shell {
    explicit Shell(const QString& device, QStringList words = {})
    {
        SettingsStore::user().overridePortPath(1, device);
        wave::setDevice(&wave);
        form.messageBox = [this](const QString& text, const QString& title) {
            messages.push_back({QMessageBox::NoIcon, title, text});
        };
        startup = std::make_unique<Startup>(form, instance, std::move(words));
        startup->messageBox = [this](QMessageBox::Icon icon, const QString& title, const QString& text,
                                     QMessageBox::StandardButtons) {
            messages.push_back({icon, title, text});
            return answer;
        };
        startup->showPortOptions = [this] {
            ++portOptionsShown;
            if (onPortOptions)
                onPortOptions();
        };
        startup->openDocument = [this](const QString& path) { documents << path; };
        // The probe's own port-error box is a real modal box: answer it.
        QObject::connect(&closer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                portErrors << box->windowTitle() + u'|' + box->text();
                box->accept();
            }
        });
        closer.start(10);
    }
    ~Shell()
    {
        startup.reset();
        wave::setDevice(nullptr);
        appHooks() = AppHooks{};
    }

    template <typename T>
    T* child(const char* name) { return form.findChild<T*>(QLatin1String(name)); }

    QTemporaryDir lockDir;
    SingleInstance instance{lockDir.filePath("corvane.lock")};
    RecordingWave wave;
    AtChannel at;
    Form1 form{at};
    std::unique_ptr<Startup> startup;
    std::vector<Message> messages;
    QMessageBox::StandardButton answer = QMessageBox::No;
    int portOptionsShown = 0;
    std::function<void()> onPortOptions;
    QStringList documents;
    QTimer closer;
    QStringList portErrors;
};

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

TEST(Startup, FirstStartWithEmptyStore)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    PrivateStore store;
    SimulatorLink sim;
    ASSERT_TRUE(sim.up());
    Shell shell(sim.link());

    ASSERT_TRUE(shell.startup->Form_Load());
    EXPECT_EQ(shell.form.windowTitle(), "ISDN Corvane Plus -  Version 4.0.0");
    // The stored default cost "0,026" shows in the locale's format.
    EXPECT_EQ(shell.child<QLineEdit>("TextUCost")->text(), "0.026");
    EXPECT_FLOAT_EQ(shell.form.UnitCost, 0.026f);
    EXPECT_EQ(shell.child<QLabel>("Label15")->text(), "0"); // "$0" without its first character
    for (const char* b : {"CommandSend", "CommandPRS1", "CommandPRS4"})
        EXPECT_FALSE(shell.child<QPushButton>(b)->isEnabled()) << b;
    EXPECT_EQ(fileBytes(store.file("log.txt")), QByteArray("\r\n"));
    EXPECT_TRUE(shell.wave.log.isEmpty()); // Ring 0: no wave device opened
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_FALSE(shell.startup->TimerScan.isActive());
    EXPECT_EQ(sim.commands(), (QStringList{"ATCD8", "ATE1", "ATI4"}));
    EXPECT_FALSE(QFile::exists(store.settingsFile())); // loading writes nothing

    // Shortly after, the first "Receive Settings" reads the device.
    QSignalSpy fired(&shell.startup->TimerStartUp, &QTimer::timeout);
    ASSERT_TRUE(fired.wait(5000));
    EXPECT_GT(sim.commands().size(), 20);
    EXPECT_TRUE(shell.child<QPushButton>("CommandSend")->isEnabled());
    QLocale::setDefault(QLocale::c());
}

TEST(Startup, ExistingLogAndStoredValuesAreUsed)
{
    PrivateStore store;
    SimulatorLink sim;
    ASSERT_TRUE(sim.up());
    {
        QFile log(store.file("log.txt"));
        ASSERT_TRUE(log.open(QIODevice::WriteOnly));
        log.write("kept\n");
    }
    SettingsStore& s = SettingsStore::user();
    s.write("Speed", "9600");
    s.write("CommDelay", "0.2");
    s.write("LastReset", "3/4/2025 9:05");
    s.write("Ring", "1");
    Shell shell(sim.link());
    ASSERT_TRUE(shell.startup->Form_Load());
    EXPECT_EQ(fileBytes(store.file("log.txt")), QByteArray("kept\n"));
    EXPECT_EQ(shell.at.Speed, "9600");
    EXPECT_FLOAT_EQ(shell.at.CommDelay, 0.2f);
    EXPECT_EQ(shell.form.LastReset, "3/4/2025 9:05");
    EXPECT_EQ(shell.child<QLabel>("LabelRTime")->text(), "3/4/2025 9:05");
    EXPECT_EQ(shell.form.Ring, 1);
    EXPECT_EQ(shell.wave.log, (QStringList{"file " + store.file("ring.wav"), "Open"}));

    shell.form.close(); // closing shuts the wave device
    EXPECT_EQ(shell.wave.log.last(), "Close");
}

TEST(Startup, NonNumericSettingsLeaveZeroAndDecliningSkipsTheFirstRead)
{
    PrivateStore store;
    SettingsStore::user().write("CommPort", "COM1");
    SettingsStore::user().write("CommDelay", "fast");
    SettingsStore::user().write("Ring", "yes");
    SettingsStore::user().write("UnitCost", "cheap");
    SettingsStore::user().setPortPath(0, store.file("no-device"));
    Shell shell(store.file("no-device"));
    shell.answer = QMessageBox::No;
    ASSERT_TRUE(shell.startup->Form_Load()); // port 0 has no device: the user declines
    EXPECT_EQ(shell.at.CommPort, 0);
    EXPECT_FLOAT_EQ(shell.at.CommDelay, 0.0f);
    EXPECT_EQ(shell.form.Ring, 0);
    EXPECT_FLOAT_EQ(shell.form.UnitCost, 0.0f);
    EXPECT_EQ(shell.child<QLineEdit>("TextUCost")->text(), "cheap");
    EXPECT_TRUE(shell.startup->userDeclinedDetection());
    EXPECT_EQ(shell.portOptionsShown, 0);
    EXPECT_FALSE(shell.startup->TimerStartUp.isActive());
}

TEST(Startup, SecondInstanceSaysSoAndSavesNothing)
{
    PrivateStore store;
    QTemporaryDir lockDir;
    SingleInstance first(lockDir.filePath("corvane.lock"));
    ASSERT_TRUE(first.tryLock());

    Shell shell(store.file("no-device"));
    SingleInstance second(lockDir.filePath("corvane.lock"));
    Startup startup(shell.form, second, {});
    std::vector<Message> messages;
    startup.messageBox = [&](QMessageBox::Icon icon, const QString& title, const QString& text,
                             QMessageBox::StandardButtons) {
        messages.push_back({icon, title, text});
        return QMessageBox::Ok;
    };
    EXPECT_FALSE(startup.Form_Load());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].icon, QMessageBox::Warning);
    EXPECT_EQ(messages[0].title, "ISDN Corvane");
    EXPECT_EQ(messages[0].text, "The application ISDN Corvane 4.0.0 is already running!");
    EXPECT_FALSE(QFile::exists(store.file("log.txt"))); // no later step ran
    EXPECT_FALSE(QFile::exists(store.settingsFile()));
}

TEST(Startup, DetectionLoopAsksThenUsesTheChosenPort)
{
    PrivateStore store;
    SimulatorLink sim;
    ASSERT_TRUE(sim.up());
    SettingsStore::user().setPortPath(2, sim.link());
    Shell shell(store.file("no-device")); // port 1 leads nowhere
    shell.answer = QMessageBox::Yes;
    shell.onPortOptions = [&] { shell.at.SetPort(2); };

    ASSERT_TRUE(shell.startup->Form_Load());
    EXPECT_EQ(shell.portErrors, QStringList{"Serial Port Error!|Either serial port is being used or Port is wrong."});
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].title, "dodOva Detection");
    EXPECT_EQ(shell.messages[0].icon, QMessageBox::NoIcon);
    EXPECT_EQ(shell.messages[0].text, " dodOva not found. Please select correct serial port\r\n\r\n"
                                      "If you use this program it may not behave correctly!\r\n\r\n"
                                      "       Would you like to select a valid serial port?");
    EXPECT_EQ(shell.portOptionsShown, 1);
    EXPECT_FALSE(shell.startup->userDeclinedDetection());
    EXPECT_TRUE(shell.startup->TimerStartUp.isActive());
    EXPECT_EQ(SettingsStore::user().read("CommPort"), "2"); // saved at once by the choice
}

TEST(Startup, ScanAndDebugWords)
{
    PrivateStore store;
    SimulatorLink sim;
    ASSERT_TRUE(sim.up());
    Shell shell(sim.link(), {"scan", "DEBUG3", "DEBUG1"});
    int monitorOpened = 0;
    appHooks().openCallMonitor = [&] { ++monitorOpened; };
    ASSERT_TRUE(shell.startup->Form_Load());
    shell.startup->showMainWindow();
    EXPECT_FALSE(shell.form.isVisible());
    ASSERT_NE(shell.startup->formLoading(), nullptr);
    EXPECT_TRUE(shell.startup->formLoading()->isVisible());
    EXPECT_TRUE(shell.startup->TimerScan.isActive());
    EXPECT_EQ(startupDebugLevel(), 1);

    shell.startup->TimerStartUp.stop();
    shell.startup->TimerScan.start(1); // do not wait the 4.5 s
    QSignalSpy fired(&shell.startup->TimerScan, &QTimer::timeout);
    ASSERT_TRUE(fired.wait(2000));
    EXPECT_EQ(monitorOpened, 1);
    EXPECT_FALSE(shell.startup->TimerScan.isActive());
    EXPECT_TRUE(!shell.startup->formLoading() || !shell.startup->formLoading()->isVisible());
}

TEST(Startup, MenuEntries)
{
    PrivateStore store;
    Shell shell(store.file("no-device"));
    QWidget* phoneBookParent = nullptr;
    int monitor = 0;
    appHooks().openPhoneBook = [&](QWidget* parent) { phoneBookParent = parent; };
    appHooks().openCallMonitor = [&] { ++monitor; };

    struct Entry {
        const char* name;
        const char* caption;
    } entries[] = {{"PhoneBook", "&Phonebook"}, {"Monitor", "&Call monitor"}, {"COMSelection", "&Settings"},
                   {"docum", "&Documentation"}, {"About", "&About"}};
    for (const Entry& e : entries) {
        auto* action = shell.child<QAction>(e.name);
        ASSERT_NE(action, nullptr) << e.name;
        EXPECT_EQ(action->text(), e.caption);
    }
    auto* help = shell.child<QMenu>("help");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->title(), "&Help");
    EXPECT_EQ(shell.child<QAction>("docum")->shortcut(), QKeySequence(Qt::Key_F1));

    shell.child<QAction>("PhoneBook")->trigger();
    EXPECT_EQ(phoneBookParent, &shell.form);
    shell.child<QAction>("Monitor")->trigger();
    EXPECT_EQ(monitor, 1);
    shell.child<QAction>("COMSelection")->trigger();
    EXPECT_EQ(shell.portOptionsShown, 1);
    shell.child<QAction>("docum")->trigger();
    EXPECT_EQ(shell.documents, QStringList{QDir::current().absoluteFilePath("help.htm")});
}

TEST(Startup, ClosingClosesTheMonitorAndTheEndSavesFiveSettings)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); // comma decimals
    PrivateStore store;
    SimulatorLink sim;
    ASSERT_TRUE(sim.up());
    {
        Shell shell(sim.link());
        bool monitorOpen = true;
        int closed = 0;
        appHooks().callMonitorOpen = [&] { return monitorOpen; };
        appHooks().closeCallMonitor = [&] { ++closed; monitorOpen = false; };
        ASSERT_TRUE(shell.startup->Form_Load());
        shell.startup->TimerStartUp.stop();
        EXPECT_FALSE(QFile::exists(store.settingsFile()));
        shell.form.close();
        shell.startup->Form_Unload(); // runs once however often it is reached
        EXPECT_EQ(closed, 1);
        EXPECT_EQ(shell.wave.log, QStringList{"Close"});
        shell.startup->Form_Terminate();
    }
    SettingsStore& s = SettingsStore::user();
    EXPECT_EQ(s.read("CommPort", "-"), "1");
    EXPECT_EQ(s.read("UnitCost", "-"), "0,026");
    EXPECT_EQ(s.read("Speed", "-"), "115200");
    EXPECT_EQ(s.read("CommDelay", "-"), "0,01");
    EXPECT_EQ(s.read("LastReset", "-"), "");

    // A second run reads them back unchanged.
    {
        Shell shell(sim.link());
        ASSERT_TRUE(shell.startup->Form_Load());
        shell.startup->TimerStartUp.stop();
        EXPECT_FLOAT_EQ(shell.form.UnitCost, 0.026f);
        EXPECT_FLOAT_EQ(shell.at.CommDelay, 0.01f);
        shell.form.close();
        shell.startup->Form_Terminate();
    }
    EXPECT_EQ(s.read("UnitCost", "-"), "0,026");
    EXPECT_EQ(s.read("CommDelay", "-"), "0,01");
    QLocale::setDefault(QLocale::c());
}
