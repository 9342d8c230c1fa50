#pragma once
// The AT command channel: every exchange with the adapter outside trace mode
// goes through SendAT. The port is opened per command and closed again (behind
// ser2net the link keeps its connection meanwhile); in trace mode the trace
// hold keeps it open and MSComm1_OnComm hands every serial event to the
// hold's taker instead of the reply buffer.
//
// The channel owns its state: the line settings, the busy colour, the reply,
// the device-absent latch and the trace hold. What a window shows of it (the
// busy lamp, the beep) it learns from the signals.
#include <QObject>
#include <QString>
#include <memory>

#include "device/at_reply.h"
#include "device/line_settings.h"
#include "device/trace_hold.h"

class Clock;
class PortLink;
class SettingsStore;

class AtChannel : public QObject {
    Q_OBJECT
public:
    // Over the user's settings store and the system clock.
    explicit AtChannel(QObject* parent = nullptr);
    // Over an injected store (port paths, SetPort) and clock (time-outs).
    AtChannel(SettingsStore& settings, Clock& clock, QObject* parent = nullptr);
    ~AtChannel() override;

    // Lamp colours, 0x00BBGGRR: red while a command runs.
    static constexpr unsigned kCommandColour = 0x0000FF;
    // The lamp at rest: the window's button face (no colour of its own).
    static constexpr unsigned kIdleColour = 0xFF000000;

    // Sends one command and returns the answer body, "Error", "OK" (ATE1),
    // "MONITOR" (ATCD9) or "" exactly as the channel's rules say.
    QString SendAT(const QString& cmd);
    // The outcome of the last SendAT.
    AtOutcome lastOutcome() const { return lastOutcome_; }
    // SendAT with its outcome.
    AtReply send(const QString& cmd);

    const LineSettings& line() const { return line_; }
    void configure(const LineSettings& line) { line_ = line; }
    // Selects the port number and saves "CommPort" at once.
    void SetPort(int port);
    // The device path behind the port number (settings section "Ports" or --port).
    QString portPath() const;

    // The lamp colour while a command runs (a transmission shows its own).
    unsigned busyColour() const { return busyColour_; }
    void setBusyColour(unsigned bgr) { busyColour_ = bgr; }
    // Paints the lamp outside a command (the pause after a transmission).
    void showLamp(unsigned bgr) { emit lampChanged(bgr); }

    // The device-absent latch: set when the identification was refused; while
    // set, SendAT sends nothing. The next identification clears it.
    bool deviceAbsent() const { return deviceAbsent_; }
    void setDeviceAbsent(bool absent);

    // Serial event handler: feeds the reply, or the trace hold's taker.
    void MSComm1_OnComm();
    // What came back for the command in flight (bounded).
    const QString& reply() const { return reply_; }

    // Port test of the device buttons: true when the port opens (it is closed again).
    bool portOpens();

    // The line to the adapter (a serial port, or tcp://HOST:PORT behind ser2net).
    PortLink& port();
    // The line held for the trace.
    TraceHold& trace() { return trace_; }
    const TraceHold& trace() const { return trace_; }

    const Clock& clock() const { return *clock_; }
    // Waits `ms` on the channel's clock with events running (the device
    // applying written settings).
    void pauseWithEvents(int ms);

    // The answer body of an echoed reply: from three characters after the
    // first CR up to the first "OK" CR; empty when there is no "OK" CR.
    static QString cutAnswerBody(const QString& reply);

signals:
    // The busy lamp: busyColour() when a command starts, kIdleColour when it ends.
    void lampChanged(unsigned bgr);
    // A command that failed (refused, too slow, the latch set meanwhile); none for "ATE1".
    void commandFailed(const QString& cmd);
    // A command has just been written (status and progress observers).
    void commandSent(const QString& cmd);
    void deviceAbsentChanged(bool absent);

private:
    friend class TraceHold;
    // Opens the port with the line settings for trace mode and keeps it open.
    bool openForTrace();
    void configurePort();
    void waitForAnswer(const QString& cmd, qint64& elapsedMs);
    QString answerTo(const QString& cmd) const;
    void pauseAfterCommand() const;
    void onPortError(int error);

    std::unique_ptr<Clock> ownClock_; // the system clock, unless one was injected
    SettingsStore& settings_;
    Clock* clock_;
    PortLink* port_;
    TraceHold trace_{*this};
    LineSettings line_;
    unsigned busyColour_ = kCommandColour;
    bool deviceAbsent_ = false;
    QString reply_;
    AtOutcome lastOutcome_ = AtOutcome::NotSent;
    // Set by "ATE0" (trace mode), cleared by "ATE1": while set, answers come
    // without the echo ("ATE1" itself is answered under the old setting).
    bool echoOff_ = false;
};
