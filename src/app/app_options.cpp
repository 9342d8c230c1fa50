#include "app/app_options.h"

#include <QCoreApplication>

namespace {

// A scenario name follows --simulate unless the next argument is an option
// or one of the command-line words.
bool looksLikeScenario(const QString& arg)
{
    return !arg.startsWith(u'-') && !arg.contains(QLatin1String("scan")) && !arg.contains(QLatin1String("DEBUG"));
}

} // namespace

AppOptions parseAppOptions(const QStringList& arguments)
{
    AppOptions o;
    OptionParser parser(o);
    parser.option(QStringLiteral("--port"), &o.port);
    parser.option(QStringLiteral("--home"), &o.home);
    parser.option(QStringLiteral("--service"), &o.service);
    parser.optionalValue(QStringLiteral("--simulate"), &o.simulate, &o.scenario, looksLikeScenario);
    parser.arguments([&o](const QString& word, QString&) {
        o.words << word;
        return true;
    });
    parser.parse(arguments);
    return o;
}

QString appUsage()
{
    return QCoreApplication::translate("CommandLine",
        "usage: corvane [scan] [DEBUG1 ... DEBUG5] [--simulate [SCENARIO]] [--port PATH] [--home DIR]\n"
        "               [--service URL]\n"
        "       corvane --help | --version\n"
        "The DodOva ISDN adapter's settings window and call monitor.\n"
        "\n"
        "  scan                   start straight in the call monitor; closing it ends the program\n"
        "  DEBUG1 ... DEBUG5      show the monitor's trace panes at that level (the smallest wins)\n"
        "  --simulate [SCENARIO]  start dodova-sim from beside the program and use it for this run\n"
        "                         (default scenario demo; dodova-sim --list-scenarios lists them)\n"
        "  --port PATH            the current port number means the device PATH for this run\n"
        "  --home DIR             the program folder (list.txt, book.txt, pictures)\n"
        "  --service URL          the settings window works through the corvane-monitor whose API is\n"
        "                         at URL (http://:TOKEN@HOST:PORT/; the token of a local one is found);\n"
        "                         without it, one that holds the port is found by itself\n"
        "  -h, --help             show this help and end\n"
        "  --version              show the version and end\n"
        "The words are case-sensitive and may appear anywhere, also inside other words.\n");
}
