#include "tools/replay_options.h"

#include <QFileInfo>
#include <QLocale>

namespace {

// A file the replay would read: a wrong name must not pass for an empty book,
// default settings or an empty list.
OptionParser::Take existingFile(const QString& option, QString* path)
{
    return [option, path](const QString& v, QString& why) {
        *path = v;
        if (!QFileInfo(v).isFile())
            why = QStringLiteral("%1: no such file %2").arg(option, v);
        return why.isEmpty();
    };
}

// An unknown name would quietly fall back to the C locale.
bool takeLocale(const QString& name, QString& locale, QString& why)
{
    locale = name;
    if (name == QLatin1String("C") || QLocale(name).language() != QLocale::C)
        return true;
    why = QStringLiteral("--locale: unknown locale %1").arg(name);
    return false;
}

} // namespace

namespace Replay {

QString usage()
{
    return QStringLiteral("usage: corvane-replay CAPTURE --out DIR [--debug N] [--start YYYY-MM-DDTHH:MM:SS]\n"
                          "                      [--unit-cost X] [--book FILE] [--settings FILE] [--list FILE]\n"
                          "                      [--locale NAME] [--pcap FILE [--pcap-linktype lapd|linux-lapd]]\n"
                          "       corvane-replay --help | --version\n");
}

ReplayOptions parseArguments(const QStringList& args)
{
    ReplayOptions o;
    OptionParser parser(o);
    parser.option(QStringLiteral("--out"), &o.outDir);
    parser.debugLevel(QStringLiteral("--debug"), &o.debugLevel);
    parser.option(QStringLiteral("--start"), [&o](const QString& v, QString&) {
        o.start = QDateTime::fromString(v, QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
        return o.start.isValid();
    });
    parser.option(QStringLiteral("--unit-cost"), [&o](const QString& v, QString&) {
        bool ok = false;
        o.unitCost = QLocale::c().toFloat(v, &ok);
        return ok && *o.unitCost >= 0;
    });
    parser.option(QStringLiteral("--book"), existingFile(QStringLiteral("--book"), &o.bookFile));
    parser.option(QStringLiteral("--settings"), existingFile(QStringLiteral("--settings"), &o.settingsFile));
    parser.option(QStringLiteral("--list"), existingFile(QStringLiteral("--list"), &o.listFile));
    parser.option(
        QStringLiteral("--locale"), [&o](const QString& v, QString& why) { return takeLocale(v, o.locale, why); });
    parser.option(QStringLiteral("--pcap"), &o.pcapFile);
    parser.option(QStringLiteral("--pcap-linktype"), [&o](const QString& v, QString&) {
        o.pcapLinkType = v == QLatin1String("lapd") ? PcapLinkType::Lapd : PcapLinkType::LinuxLapd;
        return v == QLatin1String("lapd") || v == QLatin1String("linux-lapd");
    });
    parser.arguments([&o](const QString& capture, QString& why) {
        if (!o.capture.isEmpty())
            why = QStringLiteral("more than one capture given: %1").arg(capture);
        else
            o.capture = capture;
        return why.isEmpty();
    });
    parser.parse(args);
    if (o.error.isEmpty() && (o.capture.isEmpty() || o.outDir.isEmpty()))
        o.error = QStringLiteral("a capture and --out DIR are required");
    return o;
}

} // namespace Replay
