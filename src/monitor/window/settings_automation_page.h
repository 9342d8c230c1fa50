#pragma once
// The "Home automation" page of the monitor settings: the port-1012
// call-monitor server and MQTT for Home Assistant and other brokers' readers.
#include "monitor/window/settings_page.h"

class AutomationSettingsPage : public SettingsPage {
    Q_OBJECT
public:
    AutomationSettingsPage(SettingsStore& settings, std::function<void()> changed, QWidget* parent);

    void showStates(const QString& callMonitor, const QString& mqtt);

private:
    void loadBoxes() override {}

    QLabel* LabelCallMonitorState = nullptr;
    QLabel* LabelMqttState = nullptr;
};
