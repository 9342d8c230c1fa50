#pragma once
// Where the monitor publishes over MQTT and under which names:
// "mqtt://[user@]host[:port][/prefix]", or "mqtts://" for TLS, as
// --mqtt and the settings give it. Topics lie under "<prefix>/<device-id>/"
// (prefix "corvane" unless given); Home Assistant reads its discovery
// configs under "homeassistant/" unless told otherwise.
#include <QString>

struct MqttConfig {
    static constexpr quint16 kPort = 1883, kTlsPort = 8883;
    // Larger files are no password or CA file (common/regular_file.h).
    static constexpr qint64 kMaxPasswordFile = 64 * 1024, kMaxCaFile = 4 * 1024 * 1024;

    QString host;
    quint16 port = kPort;
    bool tls = false;
    QString caFile; // TLS: the CAs to trust; "" for the system's
    QString user;   // "" for none
    QString password;
    QString prefix = QStringLiteral("corvane");
    QString deviceId;
    QString discoveryPrefix = QStringLiteral("homeassistant");

    QString base() const { return prefix + u'/' + deviceId; } // the device's topics, without the trailing '/'
};

namespace mqtt_config {

// Fills host, port, tls, user and prefix from the URL; false with `error`
// set for anything else than the forms above.
bool parseUrl(const QString& url, MqttConfig& config, QString& error);
// Why `text` cannot begin or stand in a topic (`what` names it in the
// message), or "": a wildcard would make it a filter, a NUL cuts it short,
// and the broker keeps topics that start with "$" for itself ($SYS).
QString topicProblem(const QString& what, const QString& text);
// The first problem of the topic prefix, the device id as the user gave it
// (before deviceIdFrom) and the discovery prefix; "" when they all do.
QString namesProblem(const MqttConfig& config, const QString& givenId);
// A device id as a topic level and a Home Assistant identifier take it: the
// text's letters and digits, anything else as '_', lower case.
QString deviceIdFrom(const QString& text);
// The default id: this host's name and the adapter's port ("/dev/ttyUSB0",
// "tcp://host:3000"), so two monitors on one broker are two devices.
QString defaultDeviceId(const QString& hostName, const QString& adapterPort);
// The first line of a password file (a regular file of at most
// kMaxPasswordFile bytes), without its line end.
bool readPasswordFile(const QString& path, QString& password, QString& error);

} // namespace mqtt_config
