// corvane-replay: feeds a recorded trace through the call-monitor engine.
#include "common/unix_signals.h"
#include "common/version.h"
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
    QTextStream err(stderr);
    QTextStream out(stdout);
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        out << Replay::usage();
        return 0;
    }
    if (args.contains(QLatin1String("--version"))) {
        out << "corvane-replay " CORVANE_VERSION "\n";
        return 0;
    }
    ReplayOptions options;
    QString error;
    if (!Replay::parseArguments(args, options, error)) {
        err << "corvane-replay: " << error << "\n" << Replay::usage();
        return 2;
    }
    ReplaySummary summary;
    if (!Replay::run(options, summary, error)) {
        err << "corvane-replay: " << error << "\n";
        return 1;
    }
    out << "frames decoded: " << summary.framesDecoded << "\n"
        << "calls logged:   " << summary.callsLogged << "\n"
        << "output:         " << options.outDir << "\n";
    return 0;
}
