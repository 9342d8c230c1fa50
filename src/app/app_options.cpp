#include "app/app_options.h"

#include "common/version.h"
#include "common/option_value.h"

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
    auto fail = [&o](const QString& why) {
        if (o.error.isEmpty())
            o.error = why;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        const auto valued = {ValuedOption{QStringLiteral("--port"), &o.port}, {QStringLiteral("--home"), &o.home}};
        if (takeValuedOption(arguments, i, valued, o.error) != OptionTake::NotThis)
            continue;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o.help = true;
        } else if (a == QLatin1String("--version")) {
            o.version = true;
        } else if (a.startsWith(QLatin1String("--simulate="))) {
            o.simulate = true;
            o.scenario = a.mid(11);
        } else if (a == QLatin1String("--simulate")) {
            o.simulate = true;
            if (i + 1 < arguments.size() && looksLikeScenario(arguments.at(i + 1)))
                o.scenario = arguments.at(++i);
        } else if (a.startsWith(u'-')) {
            fail(QCoreApplication::translate("CommandLine", "unknown option %1").arg(a));
        } else {
            o.words << a;
        }
    }
    return o;
}

QString appUsage()
{
    return QCoreApplication::translate("CommandLine",
        "usage: corvane [scan] [DEBUG1 ... DEBUG5] [--simulate [SCENARIO]] [--port PATH] [--home DIR]\n"
        "       corvane --help | --version\n"
        "The DodOva ISDN adapter's settings window and call monitor.\n"
        "\n"
        "  scan                   start straight in the call monitor; closing it ends the program\n"
        "  DEBUG1 ... DEBUG5      show the monitor's trace panes at that level (the smallest wins)\n"
        "  --simulate [SCENARIO]  start dodova-sim from beside the program and use it for this run\n"
        "                         (default scenario demo; dodova-sim --list-scenarios lists them)\n"
        "  --port PATH            the current port number means the device PATH for this run\n"
        "  --home DIR             the program folder (list.txt, book.txt, pictures)\n"
        "  -h, --help             show this help and end\n"
        "  --version              show the version and end\n"
        "The words are case-sensitive and may appear anywhere, also inside other words.\n");
}

QString appVersionLine()
{
    return QStringLiteral("corvane ") + QLatin1String(Version::kText) + u'\n';
}
