// Start-up and shutdown of the main window against dodova-sim, as scripts
// (data/startup/*.script) whose logs are compared with their goldens (*.log).
#include "app/app_hooks.h"
#include "app/command_line.h"
#include "app/single_instance.h"
#include "app/startup.h"
#include "common/golden.h"
#include "common/service_address.h"
#include "common/service_run.h"
#include "common/simulator_fixture.h"
#include "device/at_channel.h"
#include "device/form1.h"
#include "monitor/window/wave_device.h"
#include "ui/formloading.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QPushButton>
#include <QSignalSpy>
#include <QLockFile>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>

namespace {

struct RecordingWave : WaveDevice {
    QStringList log;
    void setFileName(const QString& path) override { log << "wave file " + path; }
    void command(const QString& word) override { log << "wave " + word; }
};

// One main window with its start-up on a private store, program folder and lock.
// Messages, hooks and the wave device note what they were asked into `log`;
// modal windows (the probe's port error box, the about window) are answered.
struct Shell {
    Shell(const QString& device, QStringList words, const QString& lock) : instance(lock)
    {
        SettingsStore::user().overridePortPath(1, device);
        wave::setDevice(&wave);
        form.messageBox = [this](const QString& text, const QString& title) { log() << title + '|' + text; };
        startup = std::make_unique<Startup>(form, instance, std::move(words));
        startup->messageBox = [this](QMessageBox::Icon icon, const QString& title, const QString& text,
                                  QMessageBox::StandardButtons) {
            log() << QString("box %1|%2|%3").arg(icon).arg(title, text);
            return ++asked > 3 ? QMessageBox::No : answer; // a wrong script must not loop for ever
        };
        startup->showPortOptions = [this] { portOptions ? portOptions() : void(log() << "port options"); };
        startup->openDocument = [this](const QString& path) { log() << "open " + path; };
        AppHooks& hooks = appHooks();
        hooks.openPhoneBook = [this](QWidget* parent) { log() << (parent == &form ? "phone book" : "?"); };
        hooks.openCallMonitor = [this] { monitorOpen = true, log() << "monitor opened"; };
        hooks.closeCallMonitor = [this] { monitorOpen = false, log() << "monitor closed"; };
        hooks.callMonitorOpen = [this] { return monitorOpen; };
        QObject::connect(&closer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                log() << box->windowTitle() + '|' + box->text() + '|' + box->informativeText(), box->accept();
            else if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                log() << "window " + dialog->windowTitle(), dialog->reject();
        });
        closer.start(10);
    }
    ~Shell()
    {
        startup.reset();
        wave::setDevice(nullptr);
        appHooks() = AppHooks{};
    }
    QStringList& log() { return wave.log; }
    template <typename T>
    T* child(const QString& name)
    {
        return form.findChild<T*>(name);
    }

    SingleInstance instance;
    RecordingWave wave;
    AtChannel at;
    Form1 form{at};
    std::unique_ptr<Startup> startup;
    QMessageBox::StandardButton answer = QMessageBox::No;
    std::function<void()> portOptions;
    bool monitorOpen = false;
    int asked = 0;
    QTimer closer;
};

// Everything start-up touches, one "name=value" line each, then what was
// noted since the last state.
QString state(Shell& s, const PrivateStore& store)
{
    QStringList out{"title=" + s.form.windowTitle(), "TextUCost=" + s.child<QLineEdit>("TextUCost")->text()};
    for (const char* label : {"Label15", "LabelRTime"})
        out << QString(label) + '=' + s.child<QLabel>(label)->text();
    for (const char* button : {"CommandSend", "CommandPRS1", "CommandPRS4"})
        out << QString(button) + (s.child<QPushButton>(button)->isEnabled() ? "=enabled" : "=disabled");
    if (auto* through = s.form.findChild<QLabel*>(QStringLiteral("ServiceText"))) // attached to a service
        out << "ServiceText=" + through->text() << "StatusText=" + s.child<QLabel>("StatusText")->text();
    out << QString("CommPort=%1 Speed=%2 CommDelay=%3 UnitCost=%4 Ring=%5 LastReset=%6")
               .arg(s.at.line().port)
               .arg(s.at.line().speed)
               .arg(s.at.line().pause)
               .arg(s.form.UnitCost)
               .arg(s.form.Ring)
               .arg(s.form.LastReset)
        << QString("TimerStartUp=%1 TimerScan=%2 declined=%3 mainWindow=%4 loading=%5 debugLevel=%6")
               .arg(s.startup->TimerStartUp.isActive())
               .arg(s.startup->TimerScan.isActive())
               .arg(s.startup->userDeclinedDetection())
               .arg(s.form.isVisible())
               .arg(s.startup->formLoading() && s.startup->formLoading()->isVisible())
               .arg(startupDebugLevel())
        << s.log();
    s.log().clear();
    for (const char* file : {"log.txt", "../settings.ini"}) {
        QFile f(store.file(file));
        out << QString(file) + '=' + (f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : "<missing>");
    }
    return out.join(u'\n');
}

// Runs a start-up script; each command is echoed with "> ", what it shows follows.
QString runScript(const QString& path)
{
    QFile script(path);
    EXPECT_TRUE(script.open(QIODevice::ReadOnly)) << path.toStdString();
    QTemporaryDir lockDir;
    const QString lock = lockDir.filePath("corvane.lock");
    PrivateStore store;
    std::optional<SimulatorLink> sim;
    std::optional<ServiceRun> monitor;
    std::optional<Shell> shell;
    std::unique_ptr<SingleInstance> other;
    std::unique_ptr<QLockFile> deaf;
    bool asked = false;
    const auto noService = qScopeGuard([] { QFile::remove(serviceaddress::ownFile()); }); // for the next script
    QString device = store.file("no-device");
    QStringList words, log;
    setStartupDebugLevel(0);
    for (const QString& line : QString::fromUtf8(script.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(u'#'))
            continue;
        log << "> " + line;
        const QString cmd = line.section(u' ', 0, 0), arg = line.section(u' ', 1);
        if (cmd == "locale") {
            QLocale::setDefault(QLocale(arg));
        } else if (cmd == "store") {
            SettingsStore::user().write(arg.section(u' ', 0, 0), arg.section(u' ', 1));
        } else if (cmd == "sim") {
            EXPECT_TRUE(sim.emplace().up());
        } else if (cmd == "device") { // port 1's device: "sim" or none
            device = arg == "sim" ? sim->link() : store.file("no-device");
        } else if (cmd == "port") { // port N sim|none: where the number leads
            SettingsStore::user().setPortPath(
                arg.section(u' ', 0, 0).toInt(), arg.endsWith("sim") ? sim->link() : store.file("no-device"));
        } else if (cmd == "log") {
            QFile f(store.file("log.txt"));
            EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(arg.toUtf8() + '\n') > 0);
        } else if (cmd == "words") {
            words = arg.split(u' ');
        } else if (cmd == "locked" && arg == "deaf") { // held by one that cannot be asked to show itself
            deaf = std::make_unique<QLockFile>(lock);
            log << QString("-> %1").arg(deaf->tryLock(0));
        } else if (cmd == "locked") { // another instance holds the lock
            other = std::make_unique<SingleInstance>(lock);
            other->onShowAsked = [&asked] { asked = true; };
            log << QString("-> %1").arg(other->tryLock());
        } else if (cmd == "asked") {
            log << (QTest::qWaitFor([&] { return asked; }, 5000) ? "-> the running one shows itself" : "-> not asked");
        } else if (cmd == "unlock") {
            other.reset();
            deaf.reset();
            log << QString("-> ours now: %1").arg(shell->instance.tryLock());
        } else if (cmd == "monitor") { // corvane-monitor on the simulator, tracing
            monitor.emplace().startOn(sim->link(), {});
            EXPECT_TRUE(monitor->said("monitoring ")) << monitor->log().toStdString();
        } else if (cmd == "service") { // a running corvane-monitor (this process) holds port 1's device
            serviceaddress::write(serviceaddress::ownFile(),
                {"http://127.0.0.1:1/", "token", device, QCoreApplication::applicationPid()}, false);
        } else if (cmd == "start") {
            shell.emplace(device, words, lock);
        } else if (cmd == "answer") {
            shell->answer = arg == "Yes" ? QMessageBox::Yes : arg == "Retry" ? QMessageBox::Retry : QMessageBox::No;
        } else if (cmd == "choose") { // the port options window picks this number
            shell->portOptions = [&shell, n = arg.toInt()] { shell->at.SetPort(n), shell->log() << "chose a port"; };
        } else if (cmd == "load") {
            log << QString("-> %1").arg(shell->startup->Form_Load());
        } else if (cmd == "show") {
            shell->startup->showMainWindow();
        } else if (cmd == "stop") {
            shell->startup->TimerStartUp.stop();
        } else if (cmd == "fire") { // waits for the timer; TimerScan is started at once
            QTimer* timer = arg == "TimerScan" ? &shell->startup->TimerScan : &shell->startup->TimerStartUp;
            if (timer == &shell->startup->TimerScan)
                timer->start(1);
            QSignalSpy fired(timer, &QTimer::timeout);
            log << (fired.wait(5000) ? "-> fired" : "-> did not fire");
        } else if (cmd == "menu") {
            auto* action = shell->child<QAction>(arg);
            log << "-> " + (action ? action->text() + ' ' + action->shortcut().toString() : "<none>");
            if (action)
                action->trigger();
        } else if (cmd == "close") { // the close box; the unload runs once however often reached
            shell->form.close();
            shell->startup->Form_Unload();
        } else if (cmd == "end") {
            shell->startup->Form_Terminate();
        } else if (cmd == "commands") { // the first three, and whether a read followed
            const QStringList c = sim->commands();
            log << "-> " + c.mid(0, 3).join(u' ') + (c.size() > 20 ? " and more than 20 after" : "");
        } else if (cmd == "state") {
            log << state(*shell, store);
        } else {
            ADD_FAILURE() << "unknown command " << line.toStdString();
        }
    }
    shell.reset();
    QLocale::setDefault(QLocale::c());
    QString text = log.join(u'\n') + u'\n';
    if (sim)
        text.replace(sim->link(), "SIM");
    text.replace(QRegularExpression(QStringLiteral("process \\d+")), QStringLiteral("process PID"));
    text.replace(QRegularExpression(QStringLiteral("http://127.0.0.1:\\d+/")), QStringLiteral("URL"));
    return text.replace(store.home(), "HOME").replace(QDir::currentPath(), "CWD").replace("\r\n", "\\r\\n");
}

} // namespace

const QString kStartupScripts = QStringLiteral(CORVANE_SOURCE_DIR "/tests/app/data/startup");

class StartupScript : public ::testing::TestWithParam<std::string> {};

TEST_P(StartupScript, LogMatchesItsGolden)
{
    const QString name = QString::fromStdString(GetParam());
    EXPECT_GOLDEN(QStringLiteral("app/data/startup/%1.log").arg(name),
        runScript(kStartupScripts + u'/' + name + QStringLiteral(".script")));
}

INSTANTIATE_TEST_SUITE_P(
    Data, StartupScript, ::testing::ValuesIn(goldenCases("app/data/startup", "*.script")), goldenCaseName);
