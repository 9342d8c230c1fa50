// corvane: the DodOva settings window, its call monitor and phone book.
#include "app/app_hooks.h"
#include "app/app_options.h"
#include "app/command_line.h"
#include "app/home_folder.h"
#include "common/settings_store.h"
#include "app/simulator_process.h"
#include "app/single_instance.h"
#include "app/startup.h"
#include "app/unix_signals.h"
#include "device/at_channel.h"
#include "device/form1.h"
#include "monitor/window/formmonitor.h"
#include "monitor/window/monitor_launcher.h"
#include "phonebook/dialogpbook.h"
#include "ui/app_icon.h"

#include <QApplication>
#include <QSessionManager>

#include <cstdio>

namespace {

// The menu entries reach the call monitor and the phone book through the hooks.
void wireWindows(Form1& form, const Startup& startup)
{
    AppHooks& hooks = appHooks();
    hooks.openCallMonitor = [&form, &startup] { Monitor_Click(form, startupDebugLevel(), startup.scanMode()); };
    hooks.closeCallMonitor = [] { closeCallMonitor(); };
    hooks.callMonitorOpen = [] { return callMonitorOpen(); };
    hooks.openPhoneBook = [](QWidget* parent) {
        // Names in an open, visible call list are looked up again after a save.
        DialogpBook book(parent, [] {
            if (FormMonitor* monitor = currentMonitor())
                monitor->reloadListNames();
        });
        book.exec();
    };
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("corvane"));
    QApplication::setDesktopFileName(QStringLiteral("corvane"));
    QApplication::setWindowIcon(corvaneIcon());

    const AppOptions options = parseAppOptions(QApplication::arguments().mid(1));
    setUpProgramFolder(options.home);

    // A second instance must neither start a simulator nor touch the port
    // mapping; its start-up only says so and ends.
    SingleInstance instance;
    SimulatorProcess simulator;
    if (instance.tryLock()) {
        QString device = options.port;
        if (options.simulate) {
            const QString link = simulator.start(options.scenario);
            if (link.isEmpty())
                std::fprintf(stderr, "corvane: the device simulator did not start\n");
            else if (device.isEmpty())
                device = link;
        }
        if (!device.isEmpty())
            SettingsStore::user().overridePortPath(storedCommPort(), device);
    }

    AtChannel at;
    Form1 form(at);
    Startup startup(form, instance, options.words);
    wireWindows(form, startup);

    TerminationSignals terminations;
    QObject::connect(&terminations, &TerminationSignals::terminationRequested, &startup, &Startup::closeAndQuit);
    // Desktop logout: close and save as on a normal end, the session may end us next.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &startup, [&startup](QSessionManager&) {
        startup.Form_Unload();
        startup.Form_Terminate();
    });

    if (!startup.Form_Load())
        return 0; // another instance runs: nothing is saved
    startup.showMainWindow();
    const int rc = startup.quitting() ? 0 : QApplication::exec();
    startup.Form_Unload();
    startup.Form_Terminate();
    simulator.stop();
    return rc;
}
