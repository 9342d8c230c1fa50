#pragma once
// The monitor session: everything the call monitor does between the serial
// line and its views, without a widget. It switches the adapter into trace
// mode and out again, holds the port while monitoring, feeds every received
// character to the engine, reconnects when the adapter goes away, and keeps
// the call list. The window and the headless monitor are views on it: popups,
// sounds and call events leave it as signals.
#include "monitor/engine/call_event.h"
#include "monitor/engine/monitor_engine.h"
#include "monitor/engine/monitor_host.h"
#include "monitor/engine/missed_count.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class AtChannel;
class Clock;
class ClockTimer;

class MonitorSession : public QObject {
    Q_OBJECT
public:
    static constexpr int kReconnectMs = 3000;
    // Between two reads of the trace: a few lines. Each rest costs two wake-ups
    // (its end, and the byte that starts the next), a hundred a second at most.
    static constexpr int kReadRestMs = 20;

    MonitorSession(AtChannel& at, Clock& clock, QObject* parent = nullptr);
    ~MonitorSession() override;

    // The engine, for views that draw its display model and trace panes.
    MonitorEngine& engine() { return engine_; }
    const MonitorEngine& engine() const { return engine_; }
    CallList& callList() { return engine_.callList(); }
    // The missed calls since the start or since someone last looked, for every front end.
    MissedCount& missedCount() { return missed_; }
    // The adapter's port as the command channel opens it ("/dev/ttyUSB0", "tcp://host:3000").
    QString portPath() const;

    // Trace mode on: "ATE0", "ATCD1", "ATCD9", then the port reopened and held.
    // When the adapter did not answer "MONITOR", traceModeFailed() comes
    // before the port opens; the session monitors anyway and reconnects.
    void start();
    // Trace mode off: "ATCD8" straight to the port, then the closing commands,
    // the first on the port still open; with `saveList` the call list is saved first.
    void stop(bool saveList);
    bool stopping() const { return stopping_; }
    // Trace mode off for a command that ends the calls in progress (a hang-up):
    // they are ended and logged now, as at a line loss, since their end falls
    // into the gap. start() comes after the command.
    void stopEndingCalls();
    // The port failed while monitoring; reconnect attempts run until it is back.
    bool connectionLost() const { return connectionLost_; }

    // The call list: read from list.txt, saved, or saved and read again
    // (after the phone book changed, so the names follow it). A list that
    // could not be saved is not read again: its new calls are only in memory.
    void loadList();
    bool saveList();
    void reloadList();

    // "Stop Trace" and "Resume Trace": the trace output of the adapter.
    void pauseTrace();
    void resumeTrace();

    // Seams for the device; tests put doubles here.
    std::function<QString(const QString& cmd)> sendAT;        // SendAT of the command channel
    std::function<void(const QByteArray& bytes)> writeToPort; // straight to the open port

signals:
    void traceModeFailed();
    void connectionChanged(bool lost);
    void popupRequested(bool wasVisible);
    void callerIdSoundRequested(const QString& wavFile);
    void keepOnTopRequested(bool on);
    void callEvent(const CallEvent& event);

private:
    // What the engine wants done, turned into the signals above.
    class EngineHost : public MonitorHost {
    public:
        explicit EngineHost(MonitorSession& s) : s_(s) {}
        void popupRequested(bool wasVisible) override { emit s_.popupRequested(wasVisible); }
        void playCallerIdSound(const QString& wavFile) override { emit s_.callerIdSoundRequested(wavFile); }
        void keepOnTop(bool on) override { emit s_.keepOnTopRequested(on); }
        void callEvent(const CallEvent& event) override { emit s_.callEvent(event); }

    private:
        MonitorSession& s_;
    };

    void received();
    void portFailed();
    void tryReconnect();
    void setConnectionLost(bool lost);

    AtChannel& at_;
    EngineHost host_{*this};
    MonitorEngine engine_;
    MissedCount missed_;
    std::unique_ptr<ClockTimer> timerReconnect_;
    bool stopping_ = false;
    bool connectionLost_ = false;
    bool lineUp_ = false; // the port was opened for trace mode and has not failed since
    bool reconnecting_ = false;
};
