#pragma once
// The outputs the monitor window switches in its settings ("Network"): the
// NCID server and the program run on each call. apply() reads the settings
// store and starts, moves or stops them; call events reach both.
#include "monitor/engine/call_event.h"

#include <QObject>
#include <QString>
#include <memory>

class CallList;
class Clock;
class EventProgramRunner;
class NcidServer;
class SettingsStore;

class NetworkOutputs : public QObject {
    Q_OBJECT
public:
    NetworkOutputs(Clock& clock, SettingsStore& settings, const CallList* callList, QObject* parent = nullptr);
    ~NetworkOutputs() override;

    // Takes the stored settings on. Returns the NCID server's state for the
    // user: "Off", "Listening on ADDR port N" or why it cannot listen.
    QString apply();
    QString state() const { return state_; }
    // Everything off until the next apply() (the monitor closed).
    void stop();

public slots:
    void callEvent(const CallEvent& event);

signals:
    void logMessage(const QString& text);

private:
    QString applyServer();

    Clock& clock_;
    SettingsStore& settings_;
    const CallList* callList_;
    std::unique_ptr<NcidServer> server_;
    std::unique_ptr<EventProgramRunner> runner_;
    QString endpoint_; // what the running server listens on, as stored
    QString state_;
};
