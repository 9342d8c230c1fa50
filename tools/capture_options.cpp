#include "tools/capture_options.h"

#include "tools/extcap_sentences.h"

namespace {

struct PhaseFlag {
    const char* flag;
    CapturePhase phase;
};
constexpr PhaseFlag kPhases[] = {{"--extcap-interfaces", CapturePhase::Interfaces},
    {"--extcap-dlts", CapturePhase::Dlts}, {"--extcap-config", CapturePhase::Config},
    {"--capture", CapturePhase::Capture}};

bool looksLikeValue(const QString& arg)
{
    return !arg.startsWith(u'-');
}

} // namespace

CaptureOptions parseCaptureOptions(const QStringList& arguments)
{
    CaptureOptions o;
    OptionParser parser(o);
    for (const PhaseFlag& p : kPhases)
        parser.flag(QLatin1String(p.flag), [&o, p] {
            if (o.phase != CapturePhase::None && o.phase != p.phase && o.error.isEmpty())
                o.error = QStringLiteral("%1 and another phase at once").arg(QLatin1String(p.flag));
            o.phase = p.phase;
        });
    parser.option(QStringLiteral("--extcap-interface"), &o.iface);
    parser.option(QStringLiteral("--fifo"), &o.fifo);
    parser.option(QStringLiteral("--port"), &o.port);
    parser.option(QStringLiteral("--other-port"), &o.otherPort);
    parser.flag(QStringLiteral("--listen-only"), &o.listenOnly);
    // Wireshark's own arguments that change nothing here: its version (with or
    // without a value) and a capture filter, which the adapter's trace cannot apply.
    bool ignored = false;
    QString ignoredValue;
    parser.optionalValue(
        QStringLiteral("--extcap-version"), &ignored, &ignoredValue, [](const QString&) { return false; });
    parser.optionalValue(QStringLiteral("--extcap-capture-filter"), &ignored, &ignoredValue, looksLikeValue);
    parser.parse(arguments);
    auto fail = [&o](const QString& why) {
        if (o.error.isEmpty())
            o.error = why;
    };
    if (o.phase == CapturePhase::None)
        fail(QStringLiteral("no phase given (--extcap-interfaces, --extcap-dlts, --extcap-config or --capture)"));
    else if (o.phase != CapturePhase::Interfaces && o.iface != QLatin1String(Extcap::kInterface))
        fail(o.iface.isEmpty() ? QStringLiteral("--extcap-interface %1 is missing").arg(Extcap::kInterface)
                               : QStringLiteral("no interface %1, only %2").arg(o.iface, Extcap::kInterface));
    if (o.phase == CapturePhase::Capture && o.fifo.isEmpty())
        fail(QStringLiteral("--capture needs --fifo PATH"));
    return o;
}

QString captureUsage()
{
    return QStringLiteral(
        "usage: corvane-capture --extcap-interfaces\n"
        "       corvane-capture --extcap-dlts | --extcap-config --extcap-interface dodova\n"
        "       corvane-capture --capture --extcap-interface dodova --fifo PATH\n"
        "                       [--port DEVICE|tcp://HOST:PORT] [--other-port DEVICE|tcp://HOST:PORT] [--listen-only]\n"
        "       corvane-capture --help | --version\n"
        "The DodOva's D-channel as a Wireshark capture interface (extcap): Wireshark runs it from\n"
        "its extcap folder. In a capture each frame of the adapter's trace becomes one pcap record\n"
        "(LINUX_LAPD) that says whether the network or the user side sent it.\n"
        "\n"
        "  --port DEVICE          the adapter's serial device, or tcp://HOST:PORT for one behind\n"
        "                         ser2net (default: the port the settings window uses)\n"
        "  --other-port DEVICE    a port typed in; used instead of --port\n"
        "  --listen-only          send the adapter no commands: read the trace another program\n"
        "                         keeps switched on (corvane-monitor, through ser2net)\n"
        "  --fifo PATH            where the pcap goes\n"
        "  -h, --help             show this help and end\n"
        "  --version              show the version and end\n"
        "SIGTERM, SIGINT or a closed fifo takes the adapter out of trace mode and ends the capture.\n");
}
