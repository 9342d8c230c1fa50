// corvane: the DodOva settings window, its call monitor and phone book.
#include "app/app_hooks.h"
#include "app/app_options.h"
#include "app/command_line.h"
#include "common/folder_lock.h"
#include "common/port_argument.h"
#include "common/program_folder.h"
#include "common/service_address.h"
#include "common/settings_store.h"
#include "app/simulator_process.h"
#include "app/windows_on_screen.h"
#include "app/screenshot_tour.h"
#include "app/single_instance.h"
#include "app/startup.h"
#include "common/unix_signals.h"
#include "common/version.h"
#include "device/at_channel.h"
#include "device/form1.h"
#include "device/line_settings.h"
#include "monitor/window/formmonitor.h"
#include "monitor/window/monitor_launcher.h"
#include "phonebook/dialogpbook.h"
#include "ui/app_icon.h"
#include "ui/language.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
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
    hooks.openPhoneBook = [&form](QWidget* parent) {
        // Names in an open, visible call list are looked up again after a save.
        DialogpBook book(
            parent,
            [] {
                if (FormMonitor* monitor = currentMonitor())
                    monitor->reloadListNames();
            },
            phoneBookSource(form));
        book.exec();
    };
}

// The running corvane-monitor that holds the folder's lock, if that holder is one.
std::optional<serviceaddress::Address> serviceHolding(const FolderLock::Holder& holder)
{
    const std::optional<serviceaddress::Address> service = serviceaddress::find();
    return service && service->pid == holder.pid ? service : std::nullopt;
}

// Says why the program cannot start as asked, on the terminal and in a box.
int refuse(const QString& text, int status)
{
    std::fprintf(stderr, "corvane: %s\n", qPrintable(text));
    QMessageBox box(QMessageBox::Warning, QLatin1String(Version::kAppTitle), text, QMessageBox::Ok);
    box.setObjectName(QStringLiteral("StartRefused"));
    box.exec();
    return status;
}

// --simulate: the simulator's pseudo-terminal is the port unless --port names
// one. Never falls back to the real port: 0, or the exit status after saying why.
int startSimulator(SimulatorProcess& simulator, const QString& scenario, QString& device)
{
    if (const QString problem = scenarioProblem(scenario, SimulatorProcess::scenarioNames()); !problem.isEmpty())
        return refuse(problem, kUsageErrorStatus);
    const QString link = simulator.start(scenario);
    if (link.isEmpty())
        return refuse(QCoreApplication::translate("Startup", "The device simulator %1 did not start.")
                          .arg(SimulatorProcess::defaultProgram()),
            1);
    if (device.isEmpty())
        device = link;
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // --help and --version need no display: answered before Qt opens one.
    QStringList raw;
    for (int i = 1; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    if (const AppOptions early = parseAppOptions(raw); early.help || early.version) {
        const QCoreApplication core(argc, argv); // for the translation of --help
        language::installChosen();
        return commandLineExit(early, "corvane", appUsage());
    }

    ignoreFileSizeSignal();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("corvane"));
    QApplication::setDesktopFileName(QStringLiteral("corvane"));
    QApplication::setWindowIcon(corvaneIcon());
    language::installChosen(); // before the first text is translated
    const WindowsOnScreen onScreen;

    // make screenshots: style and font fixed before the first window exists.
    Startup* running = nullptr;
    const auto tour = ScreenshotTour::fromEnvironment([&running](int status) {
        if (running)
            running->closeAndQuit();
        QApplication::exit(status);
    });

    // Qt has taken its own options (-platform, -style ...) out by now.
    const AppOptions options = parseAppOptions(QApplication::arguments().mid(1));
    if (const int status = commandLineExit(options, "corvane", appUsage()); status >= 0)
        return status;
    // A scenario file and a port named relative to where the user is, before the program
    // folder becomes the working directory.
    QString scenario = options.scenario;
    if (QFileInfo(scenario).isFile())
        scenario = QFileInfo(scenario).absoluteFilePath();
    const QString port = portFromCommandLine(options.port);
    ProgramFolder::setUp(options.home);

    // A second instance must neither start a simulator nor touch the port
    // mapping; its start-up only asks the first to show itself, and ends.
    SingleInstance instance;
    SimulatorProcess simulator;
    FolderLock folderLock(ProgramFolder::path());
    // corvane-monitor on this folder: the window is its front end, asks it for
    // everything the adapter does, and leaves the folder's call list to it.
    std::optional<serviceaddress::Address> folderService;
    const bool first = instance.tryLock();
    if (first) {
        if (FolderLock::Holder holder; !folderLock.tryLock(&holder) && !(folderService = serviceHolding(holder)))
            return refuse(QCoreApplication::translate("Startup",
                              "The folder %1 is in use by %2 (process %3), which writes its call list. Start each "
                              "program with a folder of its own (--home FOLDER).")
                              .arg(ProgramFolder::path(), holder.program)
                              .arg(holder.pid),
                1);
    }
    if (first && !folderService) {
        QString device = port;
        if (options.simulate)
            if (const int status = startSimulator(simulator, scenario, device); status != 0)
                return status;
        if (!device.isEmpty())
            readLineSettings(SettingsStore::user(), device); // maps the stored port number to it
    }

    AtChannel at;
    Form1 form(at);
    form.setServiceUrl(options.service.isEmpty() && folderService ? folderService->url : options.service);
    setFolderService(folderService);
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
    running = &startup;
    if (tour)
        tour->start();
    const int rc = startup.quitting() ? 0 : QApplication::exec();
    startup.Form_Unload();
    startup.Form_Terminate();
    simulator.stop();
    return rc;
}
