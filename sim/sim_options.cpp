#include "sim/sim_options.h"

#include <algorithm>

namespace {

// A text option of the simulator, kept as the std::string the device model uses.
OptionParser::Take text(std::string& target)
{
    return [&target](const QString& v, QString&) {
        target = v.toStdString();
        return true;
    };
}

bool takeReplyDelay(const QString& v, int& delayMs, QString& why)
{
    if (v.size() > 6 || !std::all_of(v.begin(), v.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        why = QStringLiteral("--reply-delay needs milliseconds (0..999999)");
        return false;
    }
    delayMs = v.toInt();
    return true;
}

} // namespace

namespace sim {

QString usageText()
{
    return QStringLiteral("usage: dodova-sim [--link PATH] [--log FILE] [--state FILE] [--silent]\n"
                          "                  [--reply-delay MS] [--identity TEXT]\n"
                          "                  [--scenario NAME|FILE] [--record FILE] [--play FILE]\n"
                          "       dodova-sim [--scenario NAME|FILE] [--state FILE] --render-capture FILE\n"
                          "       dodova-sim --list-scenarios | --help | --version\n"
                          "A DodOva terminal adapter on a pseudo-terminal; see man dodova-sim and docs/simulator.md\n"
                          "(installed in /usr/share/doc/corvane/docs).\n");
}

SimOptions parseOptions(const QStringList& args)
{
    SimOptions o;
    OptionParser parser(o);
    parser.flag(QStringLiteral("--silent"), &o.silent);
    parser.flag(QStringLiteral("--list-scenarios"), &o.listScenarios);
    parser.option(QStringLiteral("--link"), text(o.link));
    parser.option(QStringLiteral("--log"), text(o.log));
    parser.option(QStringLiteral("--state"), text(o.state));
    parser.option(QStringLiteral("--scenario"), text(o.scenario));
    parser.option(QStringLiteral("--record"), text(o.record));
    parser.option(QStringLiteral("--play"), text(o.play));
    parser.option(QStringLiteral("--render-capture"), text(o.renderCapture));
    parser.option(QStringLiteral("--identity"), [&o](const QString& v, QString&) {
        o.identity = v.toStdString();
        return true;
    });
    parser.option(QStringLiteral("--reply-delay"),
        [&o](const QString& v, QString& why) { return takeReplyDelay(v, o.replyDelayMs, why); });
    parser.parse(args);
    return o;
}

} // namespace sim
