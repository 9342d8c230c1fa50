// corvane-monitor: the call monitor without a window.
#include "common/folder_lock.h"
#include "common/port_argument.h"
#include "common/program_folder.h"
#include "common/settings_store.h"
#include "common/unix_signals.h"
#include "tools/monitor_options.h"
#include "tools/monitor_service.h"

#include <QCoreApplication>
#include <cstdio>

namespace {
constexpr int kFailure = 1;
}

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
    FolderLock folderLock(ProgramFolder::path());
    if (FolderLock::Holder holder; !folderLock.tryLock(&holder)) {
        std::fprintf(stderr,
            "corvane-monitor: the folder %s is in use by %s (pid %lld), which writes its list.txt; "
            "give each adapter a folder of its own with --home DIR\n",
            qPrintable(ProgramFolder::path()), qPrintable(holder.program), holder.pid);
        return kFailure;
    }
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
