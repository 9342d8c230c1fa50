#pragma once
// What corvane-capture tells Wireshark in the extcap phases before a capture:
// its interface, the link type of its frames and its configuration, one
// sentence per line in extcap's {key=value} form.
#include <QList>
#include <QString>

namespace Extcap {

inline constexpr char kInterface[] = "dodova";
inline constexpr int kLinkType = 177; // LINUX_LAPD: each frame with its direction

// A port offered in the configuration's selector.
struct PortChoice {
    QString path;
    QString display;
};

QString interfaces();
QString dlts();
// The port selector lists `ports` with `defaultPort` (the settings window's
// port) first among them; a port can be typed in too, and the capture can
// only listen.
QString config(const QString& defaultPort, const QList<PortChoice>& ports);

// The serial ports this machine has.
QList<PortChoice> serialPorts();

} // namespace Extcap
