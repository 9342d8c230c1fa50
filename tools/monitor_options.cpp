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
    parser.debugLevel(QStringLiteral("--debug"), &o.debug);
    parser.flag(QStringLiteral("--json"), &o.json);
    parser.parse(arguments);
    return o;
}

QString monitorUsage()
{
    return QStringLiteral("usage: corvane-monitor [--port DEVICE|tcp://HOST:PORT] [--home DIR] [--ncid [ADDR:]PORT]\n"
                          "                       [--hook PROGRAM] [--json] [--contacts DIR] [--debug N]\n"
                          "       corvane-monitor --help | --version\n"
                          "The DodOva call monitor without a window: decodes the adapter's calls, writes them to\n"
                          "list.txt and passes each call event on.\n"
                          "\n"
                          "  --port DEVICE          the adapter's serial device, or tcp://HOST:PORT for one behind\n"
                          "                         ser2net (default: the port the settings window uses)\n"
                          "  --home DIR             the program folder (list.txt, book.txt)\n"
                          "  --ncid [ADDR:]PORT     serve NCID clients (address 127.0.0.1 unless given)\n"
                          "  --hook PROGRAM         run PROGRAM on each call event (NCID output-module input)\n"
                          "  --json                 one JSON object per call event on standard output\n"
                          "  --contacts DIR         name callers from DIR's vCards too (a vdir, as vdirsyncer keeps\n"
                          "                         one), after book.txt; followed while it changes\n"
                          "  --debug N              the trace at level N (1 ... 5) on standard error\n"
                          "  -h, --help             show this help and end\n"
                          "  --version              show the version and end\n"
                          "SIGTERM or SIGINT takes the adapter out of trace mode, saves and ends.\n");
}
