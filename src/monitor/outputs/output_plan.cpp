#include "monitor/outputs/output_plan.h"

#include "common/settings_keys.h"
#include "common/settings_store.h"
#include "monitor/outputs/mqtt_config.h"

#include <QSysInfo>

namespace {

ServerPlan serverPlan(const SettingsStore& store, QLatin1String on, QLatin1String address, QLatin1String port)
{
    return {store.isOne(on), store.read(address) + u':' + store.read(port)};
}

} // namespace

OutputPlan readOutputPlan(const SettingsStore& store, const QString& adapterPort)
{
    OutputPlan plan;
    plan.ncid = serverPlan(store, key::NcidServer, key::NcidAddress, key::NcidPort);
    plan.callMonitor = serverPlan(store, key::CallMonitorServer, key::CallMonitorAddress, key::CallMonitorPort);
    plan.mqtt.on = store.isOne(key::Mqtt);
    plan.mqtt.url = store.read(key::MqttUrl);
    plan.mqtt.password = store.read(key::MqttPassword);
    plan.mqtt.caFile = store.read(key::MqttCaFile);
    plan.mqtt.deviceId = store.read(key::MqttDeviceId);
    plan.mqtt.discovery = store.read(key::MqttDiscovery).trimmed();
    plan.program = store.read(key::EventProgram);
    plan.desktop = store.isOne(key::Notify);
    plan.adapterPort = adapterPort;
    return plan;
}

namespace output_plan {

QString mqttDeviceId(const QString& given, const QString& adapterPort)
{
    return given.isEmpty() ? mqtt_config::defaultDeviceId(QSysInfo::machineHostName(), adapterPort)
                           : mqtt_config::deviceIdFrom(given);
}

QString mqttConfig(const OutputPlan& plan, MqttConfig& config)
{
    const MqttPlan& m = plan.mqtt;
    QString error;
    if (!mqtt_config::parseUrl(m.url, config, error))
        return QStringLiteral("the address %1").arg(error);
    config.password = m.password;
    if (!m.passwordFile.isEmpty() && !mqtt_config::readPasswordFile(m.passwordFile, config.password, error))
        return error;
    config.caFile = m.caFile;
    config.deviceId = mqttDeviceId(m.deviceId, plan.adapterPort);
    if (!m.discovery.isEmpty())
        config.discoveryPrefix = m.discovery;
    return mqtt_config::namesProblem(config, m.deviceId);
}

} // namespace output_plan
