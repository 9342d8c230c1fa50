#include "monitor/window/settings_automation_page.h"
#include "common/settings_keys.h"

#include "monitor/window/twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

AutomationSettingsPage::AutomationSettingsPage(SettingsStore& settings, std::function<void()> changed, QWidget* parent)
    : SettingsPage(settings, std::move(changed), "PageAutomation", parent)
{
    constexpr int kServerHeight = 270 + 3 * kRow, kMqtt = kServerHeight + kLowerFrameGap, kMqttHeight = 270 + 4 * kRow;
    const int indent = twips::toPx(kFieldIndent, dpi());
    QGroupBox* server = addLowerFrame("FrameCallMonitor", tr("Call monitor (port 1012 protocol)"), 0, kServerHeight);
    const char* const monitorNames[] = {
        "CheckCallMonitor", "TextCallMonitorAddress", "TextCallMonitorPort", "LabelCallMonitorState"};
    const ServerRows monitor = addServerRows(server, 270, monitorNames, tr("Call monitor server"),
        tr("For home-automation systems and apps that read a router's call monitor; see "
           "docs/callmonitor.md"));
    LabelCallMonitorState = monitor.state;

    QGroupBox* mqtt = addLowerFrame("FrameMqtt", QStringLiteral("MQTT"), kMqtt, kMqttHeight);
    QCheckBox* publish = addSwitch(
        mqtt, "CheckMqtt", tr("Publish the calls to a broker"), tr("With Home Assistant discovery; see docs/mqtt.md"));
    QLineEdit* url = addWideField(mqtt, "TextMqttUrl", tr("Broker:"), QPoint(indent, twips::toPx(270 + kRow, dpi())));
    url->setToolTip(tr("mqtt://[user@]host[:port][/prefix], or mqtts:// for TLS"));
    url->setPlaceholderText(QStringLiteral("mqtt://localhost"));
    QLineEdit* password = addField(
        mqtt, "TextMqttPassword", tr("Password:"), QPoint(indent, twips::toPx(270 + 2 * kRow, dpi())), 1000);
    password->setEchoMode(QLineEdit::Password);
    QLineEdit* deviceId = addWideField(mqtt, "TextMqttDeviceId", tr("Device id:"),
        QPoint(password->geometry().right() + 3 * twips::toPx(kFieldSpace, dpi()), twips::toPx(270 + 2 * kRow, dpi())));
    deviceId->setPlaceholderText(tr("host and port"));
    deviceId->setToolTip(tr("Names this adapter in topics and in Home Assistant"));
    LabelMqttState = addStateLabel(mqtt, "LabelMqttState", 270 + 3 * kRow - 30);

    addNetworkSwitch(monitor.enable, key::CallMonitorServer,
        {{monitor.address, key::CallMonitorAddress}, {monitor.port, key::CallMonitorPort}});
    addNetworkSwitch(
        publish, key::Mqtt, {{url, key::MqttUrl}, {password, key::MqttPassword}, {deviceId, key::MqttDeviceId}});
}

void AutomationSettingsPage::showStates(const QString& callMonitor, const QString& mqtt)
{
    LabelCallMonitorState->setText(callMonitor);
    LabelMqttState->setText(mqtt);
}
