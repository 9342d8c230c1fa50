#include "tools/capture_options.h"

#include "common/option_value.h"
#include "tools/extcap_sentences.h"

namespace {

struct PhaseFlag {
    const char* flag;
    CapturePhase phase;
};
constexpr PhaseFlag kPhases[] = {{"--extcap-interfaces", CapturePhase::Interfaces},
    {"--extcap-dlts", CapturePhase::Dlts}, {"--extcap-config", CapturePhase::Config},
    {"--capture", CapturePhase::Capture}};

CapturePhase phaseOf(const QString& arg)
{
    for (const PhaseFlag& p : kPhases)
        if (arg == QLatin1String(p.flag))
            return p.phase;
    return CapturePhase::None;
}

// Wireshark's own arguments that change nothing here: its version (with or
// without a value) and a capture filter, which the adapter's trace cannot apply.
bool ignoredWiresharkArgument(const QStringList& args, qsizetype& i)
{
    const QString& a = args.at(i);
    if (a == QLatin1String("--extcap-version") || a.startsWith(QLatin1String("--extcap-version=")))
        return true;
    QString filter;
    return takeOptionValue(args, i, QStringLiteral("--extcap-capture-filter"), filter) != OptionTake::NotThis;
}

} // namespace

CaptureOptions parseCaptureOptions(const QStringList& arguments)
{
    CaptureOptions o;
    auto fail = [&o](const QString& why) {
        if (o.error.isEmpty())
            o.error = why;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        const auto valued = {ValuedOption{QStringLiteral("--extcap-interface"), &o.iface},
            {QStringLiteral("--fifo"), &o.fifo}, {QStringLiteral("--port"), &o.port},
            {QStringLiteral("--other-port"), &o.otherPort}};
        if (takeValuedOption(arguments, i, valued, o.error) != OptionTake::NotThis
            || ignoredWiresharkArgument(arguments, i))
            continue;
        if (const CapturePhase phase = phaseOf(a); phase != CapturePhase::None) {
            if (o.phase != CapturePhase::None && o.phase != phase)
                fail(QStringLiteral("%1 and another phase at once").arg(a));
            o.phase = phase;
        } else if (a == QLatin1String("--listen-only")) {
            o.listenOnly = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o.help = true;
        } else if (a == QLatin1String("--version")) {
            o.version = true;
        } else {
            fail(a.startsWith(u'-') ? QStringLiteral("unknown option %1").arg(a)
                                    : QStringLiteral("unexpected argument %1").arg(a));
        }
    }
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
