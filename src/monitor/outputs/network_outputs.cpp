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
#include <functional>

namespace {

struct ServerKeys {
    QLatin1String on, address, port;
};

// A server that the settings switch on at an address and port: started, moved
// or stopped as they say. Returns its state for the user; `running` is the
// endpoint it listens on, as stored.
template <class Server>
QString applyServer(const SettingsStore& settings, const ServerKeys& keys, std::unique_ptr<Server>& server,
    QString& running, const QString& state, const std::function<std::unique_ptr<Server>()>& make)
{
    const bool on = settings.isOne(keys.on);
    const QString endpoint = settings.read(keys.address) + u':' + settings.read(keys.port);
    QHostAddress address;
    quint16 port = 0;
    if (!on || !tcp_listening::parseEndpoint(endpoint, address, port)) {
        server.reset();
        running.clear();
        return on ? NetworkOutputs::tr("Not a valid address and port") : NetworkOutputs::tr("Off");
    }
    if (server && endpoint == running)
        return state; // running as asked: its clients stay connected
    server = make();
    if (!server->listen(address, port)) {
        const QString why = server->errorString();
        server.reset();
        running.clear();
        return NetworkOutputs::tr("Cannot listen: %1").arg(why);
    }
    running = endpoint;
    return NetworkOutputs::tr("Listening on %1 port %2").arg(address.toString()).arg(server->serverPort());
}

} // namespace

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
    states_.ncid = applyServer<NcidServer>(
        settings_, {key::NcidServer, key::NcidAddress, key::NcidPort}, server_, endpoint_, states_.ncid, [this] {
            auto server = std::make_unique<NcidServer>(clock_);
            server->setCallList(callList_);
            connect(server.get(), &NcidServer::logMessage, this, &NetworkOutputs::logMessage);
            return server;
        });
    states_.callMonitor = applyServer<CallMonitorServer>(settings_,
        {key::CallMonitorServer, key::CallMonitorAddress, key::CallMonitorPort}, callMonitor_, callMonitorEndpoint_,
        states_.callMonitor, [this] {
            auto server = std::make_unique<CallMonitorServer>(clock_);
            connect(server.get(), &CallMonitorServer::logMessage, this, &NetworkOutputs::logMessage);
            return server;
        });
    states_.mqtt = applyMqtt();
    return states_;
}

QString NetworkOutputs::applyMqtt()
{
    if (!settings_.isOne(key::Mqtt)) {
        mqtt_.reset();
        mqttSettings_.clear();
        return tr("Off");
    }
    MqttConfig config;
    QString error;
    if (!mqtt_config::parseUrl(settings_.read(key::MqttUrl), config, error)) {
        mqtt_.reset();
        mqttSettings_.clear();
        return tr("The address %1").arg(error);
    }
    config.password = settings_.read(key::MqttPassword);
    config.caFile = settings_.read(key::MqttCaFile);
    const QString id = settings_.read(key::MqttDeviceId);
    config.deviceId = id.isEmpty() ? mqtt_config::defaultDeviceId(
                          QSysInfo::machineHostName(), settings_.portPath(settings_.read(key::CommPort).toInt()))
                                   : mqtt_config::deviceIdFrom(id);
    if (const QString prefix = settings_.read(key::MqttDiscovery).trimmed(); !prefix.isEmpty())
        config.discoveryPrefix = prefix;
    if (const QString problem = mqtt_config::namesProblem(config, id); !problem.isEmpty()) {
        mqtt_.reset();
        mqttSettings_.clear();
        return tr("Not started: %1").arg(problem);
    }
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
    return tr("Publishing to %1 port %2 as %3").arg(config.host).arg(config.port).arg(config.base());
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
    states_ = {tr("Off"), tr("Off"), tr("Off")};
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
