#include "tools/monitor_options.h"

#include "common/option_value.h"

namespace {
constexpr int kHighestDebugLevel = 5;

bool parseDebugLevel(const QString& text, int& level)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 0 || n > kHighestDebugLevel)
        return false;
    level = n;
    return true;
}
} // namespace

MonitorOptions parseMonitorOptions(const QStringList& arguments)
{
    MonitorOptions o;
    auto fail = [&o](const QString& why) {
        if (o.error.isEmpty())
            o.error = why;
    };
    QString debug;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        const auto valued = {ValuedOption{QStringLiteral("--port"), &o.port}, {QStringLiteral("--home"), &o.home},
            {QStringLiteral("--ncid"), &o.ncid}, {QStringLiteral("--hook"), &o.hook},
            {QStringLiteral("--debug"), &debug}, {QStringLiteral("--callmonitor"), &o.callMonitor},
            {QStringLiteral("--mqtt"), &o.mqtt}, {QStringLiteral("--mqtt-ca"), &o.mqttCa},
            {QStringLiteral("--mqtt-password-file"), &o.mqttPasswordFile}, {QStringLiteral("--mqtt-id"), &o.mqttId},
            {QStringLiteral("--mqtt-discovery"), &o.mqttDiscovery}};
        if (takeValuedOption(arguments, i, valued, o.error) != OptionTake::NotThis)
            continue;
        if (a == QLatin1String("--help") || a == QLatin1String("-h"))
            o.help = true;
        else if (a == QLatin1String("--version"))
            o.version = true;
        else if (a == QLatin1String("--json"))
            o.json = true;
        else
            fail(a.startsWith(u'-') ? QStringLiteral("unknown option %1").arg(a)
                                    : QStringLiteral("unexpected argument %1").arg(a));
    }
    if (!debug.isEmpty() && !parseDebugLevel(debug, o.debug))
        fail(QStringLiteral("--debug takes a level from 0 to %1, not %2").arg(kHighestDebugLevel).arg(debug));
    return o;
}

QString monitorUsage()
{
    return QStringLiteral(
        "usage: corvane-monitor [--port DEVICE|tcp://HOST:PORT] [--home DIR] [--ncid [ADDR:]PORT]\n"
        "                       [--callmonitor [ADDR:]PORT] [--mqtt URL [--mqtt-ca FILE]\n"
        "                       [--mqtt-password-file FILE] [--mqtt-id ID] [--mqtt-discovery PREFIX]]\n"
        "                       [--hook PROGRAM] [--json] [--debug N]\n"
        "       corvane-monitor --help | --version\n"
        "The DodOva call monitor without a window: decodes the adapter's calls, writes them to\n"
        "list.txt and passes each call event on.\n"
        "\n"
        "  --port DEVICE          the adapter's serial device, or tcp://HOST:PORT for one behind\n"
        "                         ser2net (default: the port the settings window uses)\n"
        "  --home DIR             the program folder (list.txt, book.txt)\n"
        "  --ncid [ADDR:]PORT     serve NCID clients (address 127.0.0.1 unless given)\n"
        "  --callmonitor [ADDR:]PORT\n"
        "                         serve call-monitor clients, port 1012's protocol (address\n"
        "                         127.0.0.1 unless given)\n"
        "  --mqtt URL             publish the calls to an MQTT broker, with Home Assistant\n"
        "                         discovery: mqtt://[user@]host[:port][/prefix], mqtts:// for TLS\n"
        "  --mqtt-ca FILE         TLS: trust the CAs in FILE (default: the system's)\n"
        "  --mqtt-password-file FILE\n"
        "                         the broker password, the first line of FILE\n"
        "  --mqtt-id ID           the device id in topics (default: host name and port)\n"
        "  --mqtt-discovery PREFIX\n"
        "                         Home Assistant's discovery prefix (default homeassistant)\n"
        "  --hook PROGRAM         run PROGRAM on each call event (NCID output-module input)\n"
        "  --json                 one JSON object per call event on standard output\n"
        "  --debug N              the trace at level N (1 ... 5) on standard error\n"
        "  -h, --help             show this help and end\n"
        "  --version              show the version and end\n"
        "SIGTERM or SIGINT takes the adapter out of trace mode, saves and ends.\n");
}
