#pragma once
// The port-1012 call-monitor server: every client gets each call as the lines
// of CallMonitorLines, each line in one write, ended by CR LF. It listens on
// 127.0.0.1 unless given another address. A client that stops reading is
// dropped, never waited for; what clients send is read and thrown away.
#include "monitor/outputs/call_output.h"
#include "monitor/outputs/callmonitor_lines.h"
#include "monitor/outputs/tcp_listening.h"

#include <QList>

class Clock;
class TcpClient;

class CallMonitorServer : public ListeningServer, public CallOutput {
    Q_OBJECT
public:
    static constexpr quint16 kDefaultPort = 1012;

    // The clock times how long a client's output may wait.
    explicit CallMonitorServer(Clock& clock, QObject* parent = nullptr);
    ~CallMonitorServer() override;

    int clientCount() const { return int(clients_.size()); }

public slots:
    void callEvent(const CallEvent& event) override;

private:
    void acceptClients() override;

    Clock& clock_;
    CallMonitorLines lines_;
    QList<TcpClient*> clients_;
};
