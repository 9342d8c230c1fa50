#include "tools/config_options.h"

namespace {

struct VerbWord {
    const char* word;
    ConfigVerb verb;
    int arguments; // after the verb; -1: one or more
};
constexpr VerbWord kVerbs[] = {
    {"show", ConfigVerb::Show, 0},
    {"set", ConfigVerb::Set, -1},
    {"backup", ConfigVerb::Backup, 1},
    {"restore", ConfigVerb::Restore, 1},
    {"factory", ConfigVerb::Factory, 0},
    {"hangup", ConfigVerb::Hangup, 1},
    {"reset-counters", ConfigVerb::ResetCounters, 0},
};

// "profile load N" and "profile save N" become verbs of their own.
QString checkProfile(ConfigOptions& o, const QStringList& words)
{
    if (words.size() != 3 || (words[1] != u"load" && words[1] != u"save"))
        return QStringLiteral("profile takes load|save and a number 1-4");
    o.verb = words[1] == u"load" ? ConfigVerb::ProfileLoad : ConfigVerb::ProfileSave;
    o.number = words[2].toInt();
    return o.number >= 1 && o.number <= 4 ? QString() : QStringLiteral("no profile %1, only 1-4").arg(words[2]);
}

QString checkVerb(ConfigOptions& o, QStringList words)
{
    if (words.isEmpty())
        return QStringLiteral("no command given");
    if (words[0] == u"profile")
        return checkProfile(o, words);
    for (const VerbWord& v : kVerbs) {
        if (words[0] != QLatin1String(v.word))
            continue;
        o.verb = v.verb;
        o.args = words.mid(1);
        const bool fits = v.arguments < 0 ? !o.args.isEmpty() : o.args.size() == v.arguments;
        if (!fits)
            return QStringLiteral("%1 takes %2")
                .arg(words[0],
                    v.arguments < 0 ? QStringLiteral("NAME=VALUE ...") : QString::number(v.arguments) + " argument(s)");
        if (v.verb == ConfigVerb::Hangup) {
            o.number = o.args[0].toInt();
            if (o.number != 1 && o.number != 2)
                return QStringLiteral("no phone %1, only 1 or 2").arg(o.args[0]);
        }
        return {};
    }
    return QStringLiteral("unknown command: %1").arg(words[0]);
}

} // namespace

ConfigOptions parseConfigOptions(const QStringList& arguments)
{
    ConfigOptions o;
    OptionParser parser(o);
    parser.option(QStringLiteral("--port"), &o.port);
    parser.option(QStringLiteral("--home"), &o.home);
    parser.flag(QStringLiteral("--json"), &o.json);
    parser.flag(QStringLiteral("--dry-run"), &o.dryRun);
    QStringList words;
    parser.arguments([&words](const QString& word, QString&) { return words << word, true; });
    parser.parse(arguments);
    const QString why = checkVerb(o, words);
    auto fail = [&o](const QString& text) {
        if (o.error.isEmpty() && !text.isEmpty())
            o.error = text;
    };
    fail(why);
    if (o.json && o.verb != ConfigVerb::Show)
        fail(QStringLiteral("--json goes with show only"));
    if (o.dryRun && o.verb != ConfigVerb::Restore)
        fail(QStringLiteral("--dry-run goes with restore only"));
    return o;
}

QString configUsage()
{
    return QStringLiteral("usage: corvane-config [--port DEVICE|tcp://HOST:PORT] [--home DIR] COMMAND\n"
                          "       corvane-config --help | --version\n"
                          "The DodOva's configuration from the command line, as the settings window reads and\n"
                          "writes it.\n"
                          "\n"
                          "  show [--json]              every setting as Name=value lines (or one JSON object)\n"
                          "  set NAME=VALUE ...         change settings: read, change, transmit, read back\n"
                          "  backup FILE                save the whole configuration (no counter values)\n"
                          "  restore FILE [--dry-run]   write what differs from FILE, read back and compare\n"
                          "  profile load|save N        load or save profile N (1-4)\n"
                          "  factory                    load the factory settings\n"
                          "  hangup 1|2                 hang up phone 1 or 2\n"
                          "  reset-counters             reset the charge counters\n"
                          "\n"
                          "  --port DEVICE          the adapter's serial device, or tcp://HOST:PORT for one behind\n"
                          "                         ser2net (default: the port the settings window uses)\n"
                          "  --home DIR             the program folder\n"
                          "  -h, --help             show this help and end\n"
                          "  --version              show the version and end\n"
                          "Exit status: 0 done, 1 the adapter refused or did not answer, 2 a wrong command line.\n");
}
