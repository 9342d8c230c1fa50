#pragma once
// The NCID server (API 1.5, Feature Sets 1 and 2): NCID clients on desktops,
// phones and home-automation systems show the monitor's calls. Each client
// gets the start-up lines with the call log from list.txt, then one line per
// call event. It listens on 127.0.0.1 unless given another address. No
// client can slow the monitor down: see NcidClient.
#include "monitor/outputs/call_output.h"
#include "monitor/outputs/ncid_client.h"
#include "monitor/outputs/ncid_lines.h"
#include "monitor/outputs/tcp_listening.h"

#include <QList>
#include <QPointer>
#include <memory>

class CallList;
class Clock;

class NcidServer : public ListeningServer, public CallOutput {
    Q_OBJECT
public:
    // More clients than this at once are turned away at connect.
    static constexpr int kMaxClients = tcp_listening::kMaxClients;

    // The clock times each client's HELLO: window.
    explicit NcidServer(Clock& clock, QObject* parent = nullptr);
    ~NcidServer() override;

    void close(); // stops listening and drops every client
    void stop() override { close(); }
    int clientCount() const;

    // The call list whose records clients get as the call log at connect;
    // without one they get "253 No Call log".
    void setCallList(const CallList* callList);
    // Off: clients get "251 Call log not sent" instead of the log.
    void setSendCallLog(bool send);

public slots:
    void callEvent(const CallEvent& event) override;
    // A warning of the monitor's own ("2 calls not saved ...") as a MSG: line to every client.
    void announce(const QString& warning);

private:
    void acceptClients() override;
    NcidStartupLog startupLog();
    void callsAdded(int first, int last);
    void broadcast(const QByteArray& line);
    void relay(const QByteArray& line); // one client's MSG: line to every client
    void forget(NcidClient* client);

    Clock& clock_;
    QList<NcidClient*> clients_;
    QPointer<const CallList> callList_;
    // Formatted once, grown in place by each new call and shared by every
    // client; any other change of the list starts a new one.
    std::shared_ptr<QList<QByteArray>> logLines_;
    bool sendCallLog_ = true;
};
