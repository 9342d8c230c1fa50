#pragma once
// The AT command channel: every exchange with the adapter outside trace mode
// goes through SendAT. The port is opened per command and closed again (behind
// ser2net the link keeps its connection meanwhile); in trace mode the monitor
// holds it open and MSComm1_OnComm hands every serial event to the monitor's
// Scan instead of the reply buffer.
#include <QObject>
#include <QString>
#include <functional>

#include "device/at_reply.h"

class PortLink;

class AtChannel : public QObject {
    Q_OBJECT
public:
    explicit AtChannel(QObject* parent = nullptr);
    ~AtChannel() override;

    // Main-window variables of the command channel.
    int CommPort = 1;
    QString Speed = QStringLiteral("115200");
    float CommDelay = 0.01f;
    // Lamp colours, 0x00BBGGRR: red while a command runs.
    static constexpr unsigned kCommandColour = 0x0000FF;
    unsigned BusyColour = kCommandColour;

    // Sends one command and returns the answer body, "Error", "OK" (ATE1),
    // "MONITOR" (ATCD9) or "" exactly as the channel's rules say.
    QString SendAT(const QString& cmd);
    // The outcome of the last SendAT.
    AtOutcome lastOutcome() const { return lastOutcome_; }
    // Selects the port number and saves "CommPort" at once.
    void SetPort(int port);
    // Serial event handler: feeds ReplyBuffer, or Scan while ScanState is set.
    void MSComm1_OnComm();

    // Port test of the device buttons: true when the port opens (it is closed again).
    bool portOpens();
    // The device path behind CommPort (settings section "Ports" or --port).
    QString portPath() const;

    // The line to the adapter (a serial port, or tcp://HOST:PORT behind
    // ser2net); the monitor reopens and holds it in trace mode.
    PortLink& port();
    // Opens the port with the line settings for trace mode and keeps it open.
    bool openForTrace();

    // Trace mode: while set, every serial event goes to scanHandler.
    bool ScanState = false;
    std::function<void()> scanHandler;

    // Window hooks: the latch reads Label_info1, the lamp is the Led box.
    std::function<bool()> latchIsSet;                // Label_info1 reads "Error"
    std::function<void(unsigned bgr)> setLed;        // busy lamp colour, or kIdleColour
    std::function<void()> beep;                      // system beep on device errors
    std::function<void(const QString&)> commandSent; // status/progress observers

    QString ReplyBuffer;

    // The lamp at rest: the window's button face (no colour of its own).
    static constexpr unsigned kIdleColour = 0xFF000000;

    // The answer body of an echoed reply: from three characters after the
    // first CR up to the first "OK" CR; empty when there is no "OK" CR.
    static QString cutAnswerBody(const QString& reply);

private:
    void configurePort();
    void waitForAnswer(const QString& cmd, qint64& elapsedMs);
    QString answerTo(const QString& cmd) const;
    void pauseAfterCommand() const;
    void onPortError(int error);
    PortLink* port_;
    AtOutcome lastOutcome_ = AtOutcome::NotSent;
    // Set by "ATE0" (trace mode), cleared by "ATE1": while set, answers come
    // without the echo ("ATE1" itself is answered under the old setting).
    bool echoOff_ = false;
};
