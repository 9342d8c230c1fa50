// corvane-capture: the DodOva's D-channel as a Wireshark extcap interface.
#include "common/settings_store.h"
#include "common/unix_signals.h"
#include "tools/capture_options.h"
#include "tools/extcap_sentences.h"
#include "tools/live_capture.h"

#include <QCoreApplication>
#include <QTextStream>

#include <csignal>

namespace {
// What Wireshark asks before a capture.
QString phaseAnswer(CapturePhase phase)
{
    switch (phase) {
    case CapturePhase::Interfaces: return Extcap::interfaces();
    case CapturePhase::Dlts: return Extcap::dlts();
    case CapturePhase::Config:
        return Extcap::config(LiveCapture::storedPort(SettingsStore::user()), Extcap::serialPorts());
    default: return {};
    }
}
} // namespace

int main(int argc, char** argv)
{
    // A reader that closed the fifo makes a write fail instead of ending the
    // program before the adapter has left trace mode.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication app(argc, argv);
    const CaptureOptions options = parseCaptureOptions(app.arguments().mid(1));
    if (const int status = commandLineExit(options, "corvane-capture", captureUsage()); status >= 0)
        return status;
    if (options.phase != CapturePhase::Capture) {
        QTextStream(stdout) << phaseAnswer(options.phase);
        return 0;
    }
    LiveCapture capture(options, SettingsStore::user());
    TerminationSignals terminations;
    QObject::connect(&terminations, &TerminationSignals::terminationRequested, &app, [&capture] {
        capture.requestStop();
        QCoreApplication::quit();
    });
    QObject::connect(&capture, &LiveCapture::ended, &app, [](int status) { QCoreApplication::exit(status); });
    if (const int status = capture.start(); status != 0 || !capture.running())
        return status;
    return QCoreApplication::exec();
}
