#include "common/option_parser.h"

#include "common/regular_file.h"
#include "common/version.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>

namespace {

// An options file is a few lines written by hand.
constexpr qint64 kMaxOptionsFileBytes = 64 * 1024;

// A lone "-" is a value (standard output), not the next option.
bool looksLikeOption(const QString& arg)
{
    return arg.size() > 1 && arg.startsWith(u'-');
}

} // namespace

OptionParser::OptionParser(CommandLineStatus& status) : status_(status)
{
    flag(QStringLiteral("--help"), &status.help);
    flag(QStringLiteral("-h"), &status.help);
    flag(QStringLiteral("--version"), &status.version);
}

void OptionParser::flag(const QString& name, bool* on)
{
    flag(name, [on] { *on = true; });
}

void OptionParser::flag(const QString& name, std::function<void()> seen)
{
    Option o;
    o.name = name;
    o.seen = std::move(seen);
    options_.push_back(std::move(o));
}

void OptionParser::option(const QString& name, QString* value)
{
    option(name, [value](const QString& v, QString&) {
        *value = v;
        return true;
    });
}

void OptionParser::option(const QString& name, Take take)
{
    Option o;
    o.name = name;
    o.take = std::move(take);
    options_.push_back(std::move(o));
}

void OptionParser::debugLevel(const QString& name, int* level)
{
    option(name, [name, level](const QString& v, QString& why) {
        bool ok = false;
        const int n = v.toInt(&ok);
        if (!ok || n < 0 || n > kHighestDebugLevel) {
            why = QStringLiteral("%1 takes a level from 0 to %2, not %3").arg(name).arg(kHighestDebugLevel).arg(v);
            return false;
        }
        *level = n;
        return true;
    });
}

void OptionParser::optionalValue(
    const QString& name, bool* given, QString* value, std::function<bool(const QString&)> takesNext)
{
    Option o;
    o.name = name;
    o.take = [value](const QString& v, QString&) {
        *value = v;
        return true;
    };
    o.next = std::move(takesNext);
    o.given = given;
    options_.push_back(std::move(o));
}

void OptionParser::arguments(Take take)
{
    arguments_ = std::move(take);
}

void OptionParser::fail(const QString& why)
{
    if (status_.error.isEmpty())
        status_.error = why;
}

// Whether args[i] is option `o`; on "--opt value" i moves past the value.
bool OptionParser::takeOption(const QStringList& args, qsizetype& i, const Option& o)
{
    const QString& a = args.at(i);
    if (o.seen) {
        if (a == o.name)
            o.seen();
        return a == o.name;
    }
    const bool joined = a.startsWith(o.name + u'=');
    if (!joined && a != o.name)
        return false;
    QString value = joined ? a.mid(o.name.size() + 1) : QString();
    QString why;
    if (o.given) {
        *o.given = true;
        if (!joined && i + 1 < args.size() && o.next(args.at(i + 1)))
            value = args.at(++i);
        o.take(value, why);
        return true;
    }
    if (!joined && i + 1 < args.size() && !looksLikeOption(args.at(i + 1)))
        value = args.at(++i);
    if (value.isEmpty())
        fail(QStringLiteral("%1 needs a value").arg(o.name));
    else if (!o.take(value, why))
        fail(why.isEmpty() ? QStringLiteral("bad value for %1: %2").arg(o.name, value) : why);
    return true;
}

void OptionParser::optionsFile(const QString& name)
{
    optionsFile_ = name;
    option(name, [](const QString&, QString&) { return true; }); // read before the command line
}

QStringList OptionParser::fileArguments(const QString& path)
{
    const regularfile::Contents file = regularfile::read(path, kMaxOptionsFileBytes);
    if (!file.exists || !file.ok()) {
        fail(QStringLiteral("cannot read %1: %2")
                 .arg(path, file.exists ? file.problem : QStringLiteral("no such file")));
        return {};
    }
    QStringList args;
    const QStringList lines = QString::fromUtf8(file.bytes).split(u'\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        args += argumentOf(line.left(eq).trimmed(), eq < 0 ? QString() : line.mid(eq + 1).trimmed(),
            QStringLiteral("%1:%2").arg(path).arg(n + 1));
    }
    return args;
}

// A flag stands for itself or nothing, an option for "--name=value".
QStringList OptionParser::argumentOf(const QString& key, const QString& value, const QString& where)
{
    static const QStringList kYes{QStringLiteral("yes"), QStringLiteral("true"), QStringLiteral("1")};
    static const QStringList kNo{QStringLiteral("no"), QStringLiteral("false"), QStringLiteral("0")};
    const QString name = QStringLiteral("--") + key;
    const auto o = std::find_if(options_.begin(), options_.end(), [&](const Option& o) { return o.name == name; });
    if (o == options_.end() || key.startsWith(u'-') || name == optionsFile_ || name == QLatin1String("--help")
        || name == QLatin1String("--version")) {
        fail(QStringLiteral("%1: unknown option %2").arg(where, key));
        return {};
    }
    if (o->seen) {
        if (kYes.contains(value, Qt::CaseInsensitive))
            return {name};
        if (!kNo.contains(value, Qt::CaseInsensitive))
            fail(QStringLiteral("%1: %2 takes yes or no").arg(where, key));
        return {};
    }
    if (value.isEmpty() && !o->given)
        fail(QStringLiteral("%1: %2 needs a value").arg(where, key));
    return {value.isEmpty() ? name : name + u'=' + value};
}

// The file the command line names goes first.
void OptionParser::parse(const QStringList& args)
{
    for (qsizetype i = 0; !optionsFile_.isEmpty() && i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a.startsWith(optionsFile_ + u'='))
            return parseArguments(fileArguments(a.mid(optionsFile_.size() + 1)) + args);
        if (a == optionsFile_ && i + 1 < args.size() && !looksLikeOption(args.at(i + 1)))
            return parseArguments(fileArguments(args.at(i + 1)) + args);
    }
    parseArguments(args);
}

void OptionParser::parseArguments(const QStringList& args)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        bool known = false;
        for (const Option& o : options_)
            if ((known = takeOption(args, i, o)))
                break;
        if (known)
            continue;
        QString why;
        if (a.startsWith(u'-'))
            fail(QCoreApplication::translate("CommandLine", "unknown option %1").arg(a));
        else if (!arguments_ || !arguments_(a, why))
            fail(why.isEmpty() ? QStringLiteral("unexpected argument %1").arg(a) : why);
    }
}

int commandLineExit(const CommandLineStatus& status, const char* program, const QString& usage)
{
    if (status.help || status.version) {
        const QString text = status.help
                                 ? usage
                                 : QStringLiteral("%1 %2\n").arg(QLatin1String(program), QLatin1String(Version::kText));
        std::fputs(text.toLocal8Bit().constData(), stdout);
        std::fflush(stdout);
        return 0;
    }
    if (status.error.isEmpty())
        return -1;
    std::fprintf(stderr, "%s: %s\n%s", program, qPrintable(status.error), qPrintable(usage));
    std::fflush(stderr);
    return kUsageErrorStatus;
}
