// corvane-replay: feeds a recorded trace through the call-monitor engine.
#include "common/unix_signals.h"
#include "tools/replay_run.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    // Without TZ, glibc checks the zone file on disk at every local-time
    // conversion, and the replay converts at every tick and every frame. The
    // zone is the same one; only the file is not looked at again.
    if (!qEnvironmentVariableIsSet("TZ"))
        qputenv("TZ", ":/etc/localtime");
    ignoreFileSizeSignal(); // past a file-size limit the output file "cannot be written", as on a full disk
    QCoreApplication app(argc, argv);
    const ReplayOptions options = Replay::parseArguments(app.arguments().mid(1));
    if (const int status = commandLineExit(options, "corvane-replay", Replay::usage()); status >= 0)
        return status;
    QTextStream err(stderr);
    QTextStream out(stdout);
    ReplaySummary summary;
    QString error;
    if (!Replay::run(options, summary, error)) {
        err << "corvane-replay: " << error << "\n";
        return 1;
    }
    out << "frames decoded: " << summary.framesDecoded << "\n"
        << "calls logged:   " << summary.callsLogged << "\n"
        << "output:         " << options.outDir << "\n";
    return 0;
}
