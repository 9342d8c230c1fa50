#include "monitor/outputs/network_outputs.h"
#include "common/settings_keys.h"

#include "common/settings_store.h"
#include "monitor/engine/call_list.h"
#include "monitor/outputs/callmonitor_server.h"
#include "monitor/outputs/event_program_runner.h"
#include "monitor/outputs/mqtt_output.h"
#include "monitor/outputs/ncid_server.h"
#include "monitor/outputs/tcp_listening.h"

#include <QHostAddress>
#include <QSysInfo>

NetworkOutputs::NetworkOutputs(Clock& clock, SettingsStore& settings, const CallList* callList, QObject* parent)
    : QObject(parent), clock_(clock), settings_(settings), callList_(callList),
      runner_(std::make_unique<EventProgramRunner>(clock))
{
    connect(runner_.get(), &EventProgramRunner::logMessage, this, &NetworkOutputs::logMessage);
    if (callList_) // calls the window could not save are announced as by corvane-monitor
        connect(callList_, &CallList::callsNotSaved, this, [this] {
            if (server_)
                server_->announce(callList_->unsavedCallsText());
        });
}

NetworkOutputs::~NetworkOutputs() = default;

NetworkOutputs::States NetworkOutputs::apply()
{
    runner_->setProgram(settings_.read(key::EventProgram));
    states_.ncid = applyServer();
    states_.callMonitor = applyCallMonitor();
    states_.mqtt = applyMqtt();
    return states_;
}

QString NetworkOutputs::applyCallMonitor()
{
    const QString endpoint = settings_.read(key::CallMonitorAddress) + u':' + settings_.read(key::CallMonitorPort);
    QHostAddress address;
    quint16 port = 0;
    const bool on = settings_.isOne(key::CallMonitorServer);
    if (!on || !tcp_listening::parseEndpoint(endpoint, address, port)) {
        callMonitor_.reset();
        callMonitorEndpoint_.clear();
        return on ? QStringLiteral("Not a valid address and port") : QStringLiteral("Off");
    }
    if (callMonitor_ && endpoint == callMonitorEndpoint_)
        return states_.callMonitor;
    callMonitor_ = std::make_unique<CallMonitorServer>(clock_);
    connect(callMonitor_.get(), &CallMonitorServer::logMessage, this, &NetworkOutputs::logMessage);
    if (!callMonitor_->listen(address, port)) {
        const QString why = callMonitor_->errorString();
        callMonitor_.reset();
        callMonitorEndpoint_.clear();
        return QStringLiteral("Cannot listen: %1").arg(why);
    }
    callMonitorEndpoint_ = endpoint;
    return QStringLiteral("Listening on %1 port %2").arg(address.toString()).arg(callMonitor_->serverPort());
}

QString NetworkOutputs::applyMqtt()
{
    if (!settings_.isOne(key::Mqtt)) {
        mqtt_.reset();
        mqttSettings_.clear();
        return QStringLiteral("Off");
    }
    MqttConfig config;
    QString error;
    if (!mqtt_config::parseUrl(settings_.read(key::MqttUrl), config, error)) {
        mqtt_.reset();
        mqttSettings_.clear();
        return QStringLiteral("The address %1").arg(error);
    }
    config.password = settings_.read(key::MqttPassword);
    config.caFile = settings_.read(key::MqttCaFile);
    const QString id = settings_.read(key::MqttDeviceId);
    config.deviceId = id.isEmpty() ? mqtt_config::defaultDeviceId(
                          QSysInfo::machineHostName(), settings_.portPath(settings_.read(key::CommPort).toInt()))
                                   : mqtt_config::deviceIdFrom(id);
    if (const QString prefix = settings_.read(key::MqttDiscovery).trimmed(); !prefix.isEmpty())
        config.discoveryPrefix = prefix;
    const QString started = QStringList{config.host, QString::number(config.port), config.tls ? "s" : "", config.user,
        config.password, config.caFile, config.prefix, config.deviceId, config.discoveryPrefix}
                                .join(u'\n');
    if (mqtt_ && started == mqttSettings_)
        return states_.mqtt; // running as asked: it stays connected
    if (mqtt_)
        mqtt_->stop();
    mqtt_ = std::make_unique<MqttOutput>(config);
    connect(mqtt_.get(), &MqttOutput::logMessage, this, &NetworkOutputs::logMessage);
    mqtt_->setMissedCount(missed_);
    mqtt_->start();
    mqttSettings_ = started;
    return QStringLiteral("Publishing to %1 port %2 as %3").arg(config.host).arg(config.port).arg(config.base());
}

QString NetworkOutputs::applyServer()
{
    if (!settings_.isOne(key::NcidServer)) {
        server_.reset();
        endpoint_.clear();
        return QStringLiteral("Off");
    }
    const QString endpoint = settings_.read(key::NcidAddress) + u':' + settings_.read(key::NcidPort);
    QHostAddress address;
    quint16 port = 0;
    if (!tcp_listening::parseEndpoint(endpoint, address, port)) {
        server_.reset();
        endpoint_.clear();
        return QStringLiteral("Not a valid address and port");
    }
    if (server_ && endpoint == endpoint_)
        return states_.ncid; // running as asked: its clients stay connected
    server_ = std::make_unique<NcidServer>(clock_);
    server_->setCallList(callList_);
    connect(server_.get(), &NcidServer::logMessage, this, &NetworkOutputs::logMessage);
    if (!server_->listen(address, port)) {
        const QString why = server_->errorString();
        server_.reset();
        endpoint_.clear();
        return QStringLiteral("Cannot listen: %1").arg(why);
    }
    endpoint_ = endpoint;
    return QStringLiteral("Listening on %1 port %2").arg(address.toString()).arg(server_->serverPort());
}

void NetworkOutputs::stop()
{
    server_.reset();
    endpoint_.clear();
    callMonitor_.reset();
    callMonitorEndpoint_.clear();
    if (mqtt_)
        mqtt_->stop();
    mqtt_.reset();
    mqttSettings_.clear();
    runner_->setProgram({});
    states_ = {QStringLiteral("Off"), QStringLiteral("Off"), QStringLiteral("Off")};
}

void NetworkOutputs::setMissedCount(int count)
{
    missed_ = count;
    if (mqtt_)
        mqtt_->setMissedCount(count);
}

void NetworkOutputs::callEvent(const CallEvent& event)
{
    if (server_)
        server_->callEvent(event);
    if (callMonitor_)
        callMonitor_->callEvent(event);
    if (mqtt_)
        mqtt_->callEvent(event);
    runner_->callEvent(event);
}
