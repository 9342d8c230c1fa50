// corvane-monitor: the call monitor without a window.
#include "common/port_argument.h"
#include "common/program_folder.h"
#include "common/settings_store.h"
#include "common/unix_signals.h"
#include "tools/monitor_options.h"
#include "tools/monitor_service.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    ignoreFileSizeSignal();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvane"));
    MonitorOptions options = parseMonitorOptions(app.arguments().mid(1));
    if (const int status = commandLineExit(options, "corvane-monitor", monitorUsage()); status >= 0)
        return status;
    options.port = portFromCommandLine(options.port); // before the program folder becomes the working one
    ProgramFolder::setUp(options.home);
    MonitorService service(options, SettingsStore::user());
    TerminationSignals terminations;
    QObject::connect(&terminations, &TerminationSignals::terminationRequested, &app, [&service] {
        service.stop();
        QCoreApplication::quit();
    });
    if (const int status = service.start(); status != 0)
        return status;
    const int rc = QCoreApplication::exec();
    service.stop();
    return rc != 0 ? rc : service.exitStatus();
}
