#include "monitor/outputs/mqtt_config.h"

#include "common/regular_file.h"

#include <QRegularExpression>
#include <QUrl>

#include <utility>

namespace mqtt_config {

bool parseUrl(const QString& text, MqttConfig& config, QString& error)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme();
    if (!url.isValid() || (scheme != QLatin1String("mqtt") && scheme != QLatin1String("mqtts"))
        || url.host().isEmpty()) {
        error = QStringLiteral("wants mqtt://[user@]host[:port][/prefix] or mqtts://..., not %1").arg(text);
        return false;
    }
    if (!url.password().isEmpty()) {
        error = QStringLiteral("takes no password in the URL: give it in a file (--mqtt-password-file)");
        return false;
    }
    if (url.hasQuery() || url.hasFragment()) {
        error = QStringLiteral("takes neither a query nor a fragment: %1").arg(text);
        return false;
    }
    QString prefix = url.path();
    while (prefix.startsWith(u'/'))
        prefix.remove(0, 1);
    while (prefix.endsWith(u'/'))
        prefix.chop(1);
    if (const QString problem = topicProblem(QStringLiteral("topic prefix"), prefix); !problem.isEmpty()) {
        error = problem;
        return false;
    }
    config.tls = scheme == QLatin1String("mqtts");
    config.host = url.host();
    config.port = quint16(url.port(config.tls ? MqttConfig::kTlsPort : MqttConfig::kPort));
    config.user = url.userName();
    if (!prefix.isEmpty())
        config.prefix = prefix;
    return true;
}

QString topicProblem(const QString& what, const QString& text)
{
    if (text.contains(u'+') || text.contains(u'#'))
        return QStringLiteral("%1 %2 holds a wildcard (+ or #)").arg(what, text);
    if (text.contains(QChar(0)))
        return QStringLiteral("%1 %2 holds a NUL").arg(what, QString(text).replace(QChar(0), QLatin1String("%00")));
    if (text.startsWith(u'$'))
        return QStringLiteral("%1 %2 starts with $, which the broker keeps for itself").arg(what, text);
    return {};
}

QString namesProblem(const MqttConfig& config, const QString& givenId)
{
    const std::pair<const char*, QString> names[] = {
        {"topic prefix", config.prefix}, {"device id", givenId}, {"discovery prefix", config.discoveryPrefix}};
    for (const auto& [what, text] : names)
        if (QString problem = topicProblem(QLatin1String(what), text); !problem.isEmpty())
            return problem;
    return {};
}

QString deviceIdFrom(const QString& text)
{
    QString id = text.toLower();
    id.replace(QRegularExpression(QStringLiteral("[^a-z0-9_-]+")), QStringLiteral("_"));
    while (id.startsWith(u'_'))
        id.remove(0, 1);
    while (id.endsWith(u'_'))
        id.chop(1);
    return id;
}

QString defaultDeviceId(const QString& hostName, const QString& adapterPort)
{
    QString port = adapterPort;
    // A link outside /dev (the simulator's, in a temporary folder made anew at
    // every start) counts by its name, so the device stays the same.
    if (adapterPort.startsWith(u'/') && !adapterPort.startsWith(QLatin1String("/dev/")))
        port = adapterPort.section(u'/', -1);
    port.remove(QRegularExpression(QStringLiteral("^(/dev/|tcp://)")));
    const QString id = deviceIdFrom(hostName + u'_' + port);
    return id.isEmpty() ? QStringLiteral("corvane") : id;
}

bool readPasswordFile(const QString& path, QString& password, QString& error)
{
    const regularfile::Contents file = regularfile::read(path, MqttConfig::kMaxPasswordFile);
    if (!file.exists || !file.ok()) {
        error = QStringLiteral("cannot read the password file %1: %2")
                    .arg(path, file.exists ? file.problem : QStringLiteral("no such file"));
        return false;
    }
    QByteArray line = file.bytes.left(file.bytes.indexOf('\n'));
    while (line.endsWith('\r'))
        line.chop(1);
    password = QString::fromUtf8(line);
    return true;
}

} // namespace mqtt_config
