#include "tools/monitor_options.h"

MonitorOptions parseMonitorOptions(const QStringList& arguments)
{
    MonitorOptions o;
    OptionParser parser(o);
    parser.option(QStringLiteral("--port"), &o.port);
    parser.option(QStringLiteral("--home"), &o.home);
    parser.option(QStringLiteral("--ncid"), &o.ncid);
    parser.option(QStringLiteral("--hook"), &o.hook);
    parser.option(QStringLiteral("--contacts"), &o.contacts);
    parser.option(QStringLiteral("--callmonitor"), &o.callMonitor);
    parser.option(QStringLiteral("--mqtt"), &o.mqtt);
    parser.option(QStringLiteral("--mqtt-ca"), &o.mqttCa);
    parser.option(QStringLiteral("--mqtt-password-file"), &o.mqttPasswordFile);
    parser.option(QStringLiteral("--mqtt-id"), &o.mqttId);
    parser.option(QStringLiteral("--mqtt-discovery"), &o.mqttDiscovery);
    parser.option(QStringLiteral("--web"), &o.web);
    parser.option(QStringLiteral("--web-password-file"), &o.webPasswordFile);
    parser.option(QStringLiteral("--web-cert"), &o.webCert);
    parser.option(QStringLiteral("--web-key"), &o.webKey);
    parser.debugLevel(QStringLiteral("--debug"), &o.debug);
    parser.flag(QStringLiteral("--json"), &o.json);
    parser.optionsFile(QStringLiteral("--config"));
    parser.parse(arguments);
    return o;
}

QString monitorUsage()
{
    return QStringLiteral(
        "usage: corvane-monitor [--port DEVICE|tcp://HOST:PORT] [--home DIR] [--ncid [ADDR:]PORT]\n"
        "                       [--callmonitor [ADDR:]PORT] [--mqtt URL [--mqtt-ca FILE]\n"
        "                       [--mqtt-password-file FILE] [--mqtt-id ID] [--mqtt-discovery PREFIX]]\n"
        "                       [--web [ADDR:]PORT [--web-password-file FILE]\n"
        "                       [--web-cert FILE --web-key FILE]]\n"
        "                       [--hook PROGRAM] [--json] [--contacts DIR] [--debug N] [--config FILE]\n"
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
        "  --web [ADDR:]PORT      serve the web page and its API (address 127.0.0.1 unless\n"
        "                         given; any other needs a password)\n"
        "  --web-password-file FILE\n"
        "                         the web page's password, the first line of FILE\n"
        "  --web-cert FILE, --web-key FILE\n"
        "                         HTTPS with this certificate and key (PEM)\n"
        "  --hook PROGRAM         run PROGRAM on each call event (NCID output-module input)\n"
        "  --json                 one JSON object per call event on standard output\n"
        "  --contacts DIR         name callers from DIR's vCards too (a vdir, as vdirsyncer keeps\n"
        "                         one), after book.txt; followed while it changes\n"
        "  --debug N              the trace at level N (1 ... 5) on standard error\n"
        "  --config FILE          options from FILE, one \"name = value\" per line (a flag: yes or\n"
        "                         no), before those of the command line, which win\n"
        "  -h, --help             show this help and end\n"
        "  --version              show the version and end\n"
        "SIGTERM or SIGINT takes the adapter out of trace mode, saves and ends.\n");
}
