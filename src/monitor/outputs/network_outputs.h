#pragma once
// The outputs the monitor window switches in its settings ("Network"): the
// NCID server, the port-1012 call-monitor server, MQTT and the program run
// on each call. apply() reads the settings store and starts, moves or stops
// them; call events reach all of them.
#include "monitor/engine/call_event.h"

#include <QObject>
#include <QString>
#include <memory>

class CallList;
class CallMonitorServer;
class Clock;
class EventProgramRunner;
class MqttOutput;
class NcidServer;
class SettingsStore;

class NetworkOutputs : public QObject {
    Q_OBJECT
public:
    // Each output's state for the user: "Off", "Listening on ADDR port N",
    // "Publishing to ..." or why it cannot run.
    struct States {
        QString ncid, callMonitor, mqtt;
    };

    NetworkOutputs(Clock& clock, SettingsStore& settings, const CallList* callList, QObject* parent = nullptr);
    ~NetworkOutputs() override;

    // Takes the stored settings on.
    States apply();
    States states() const { return states_; }
    // Everything off until the next apply() (the monitor closed).
    void stop();

public slots:
    void callEvent(const CallEvent& event);
    // The window's count of missed calls since the user last looked, for MQTT.
    void setMissedCount(int count);

signals:
    void logMessage(const QString& text);

private:
    QString applyMqtt();

    Clock& clock_;
    SettingsStore& settings_;
    const CallList* callList_;
    std::unique_ptr<NcidServer> server_;
    std::unique_ptr<CallMonitorServer> callMonitor_;
    std::unique_ptr<MqttOutput> mqtt_;
    std::unique_ptr<EventProgramRunner> runner_;
    QString endpoint_, callMonitorEndpoint_; // what the running servers listen on, as stored
    QString mqttSettings_;                   // what the running MQTT output was started with
    States states_;
    int missed_ = 0;
};
