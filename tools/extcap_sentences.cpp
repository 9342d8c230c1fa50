#include "tools/extcap_sentences.h"

#include "common/version.h"

#include <QSerialPortInfo>

namespace Extcap {

namespace {

// A value may not hold the braces that delimit it.
QString plain(QString text)
{
    return text.remove(u'{').remove(u'}');
}

} // namespace

QString interfaces()
{
    return QStringLiteral("extcap {version=" CORVANE_VERSION "}\n"
                          "interface {value=%1}{display=DodOva ISDN D-channel}\n")
        .arg(QLatin1String(kInterface));
}

QString dlts()
{
    return QStringLiteral("dlt {number=%1}{name=LINUX_LAPD}{display=LAPD with direction}\n").arg(kLinkType);
}

QString config(const QString& defaultPort, const QList<PortChoice>& ports)
{
    QString text = QStringLiteral(
        "arg {number=0}{call=--port}{display=Port}{type=selector}{default=%1}"
        "{tooltip=The adapter's serial port; the default is the port the settings window uses}\n"
        "arg {number=1}{call=--other-port}{display=Other port}{type=string}"
        "{tooltip=A device path, or tcp://HOST:PORT for an adapter behind ser2net; used instead of Port}\n"
        "arg {number=2}{call=--listen-only}{display=Only listen}{type=boolflag}{default=false}"
        "{tooltip=Send the adapter no commands: read the trace another program (corvane-monitor "
        "through ser2net) keeps switched on}\n")
                       .arg(plain(defaultPort));
    const QString line = QStringLiteral("value {arg=0}{value=%1}{display=%2}%3\n");
    text += line.arg(plain(defaultPort), plain(defaultPort) + QStringLiteral(" (the settings window's port)"),
        QStringLiteral("{default=true}"));
    for (const PortChoice& p : ports)
        if (p.path != defaultPort)
            text += line.arg(plain(p.path), plain(p.display), QString());
    return text;
}

QList<PortChoice> serialPorts()
{
    QList<PortChoice> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const QString what = info.description().isEmpty() ? info.manufacturer() : info.description();
        ports.append({info.systemLocation(),
            what.isEmpty() ? info.systemLocation() : QStringLiteral("%1 (%2)").arg(info.systemLocation(), what)});
    }
    return ports;
}

} // namespace Extcap
