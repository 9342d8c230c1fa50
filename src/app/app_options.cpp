#include "app/app_options.h"

namespace {

// The value of "--opt=value" or of "--opt value" (taking the next argument).
bool takeValue(const QStringList& args, qsizetype& i, const QString& name, QString& value)
{
    const QString& a = args.at(i);
    if (a.startsWith(name + u'=')) {
        value = a.mid(name.size() + 1);
        return true;
    }
    if (a != name)
        return false;
    if (i + 1 < args.size())
        value = args.at(++i);
    return true;
}

// A scenario name follows --simulate unless the next argument is an option
// or one of the command-line words.
bool looksLikeScenario(const QString& arg)
{
    return !arg.startsWith(u'-') && !arg.contains(QLatin1String("scan"))
           && !arg.contains(QLatin1String("DEBUG"));
}

} // namespace

AppOptions parseAppOptions(const QStringList& arguments)
{
    AppOptions o;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (takeValue(arguments, i, QStringLiteral("--port"), o.port)
            || takeValue(arguments, i, QStringLiteral("--home"), o.home))
            continue;
        if (a.startsWith(QLatin1String("--simulate="))) {
            o.simulate = true;
            o.scenario = a.mid(11);
        } else if (a == QLatin1String("--simulate")) {
            o.simulate = true;
            if (i + 1 < arguments.size() && looksLikeScenario(arguments.at(i + 1)))
                o.scenario = arguments.at(++i);
        } else {
            o.words << a;
        }
    }
    return o;
}
