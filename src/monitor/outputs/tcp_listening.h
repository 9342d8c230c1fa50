#pragma once
// What the monitor's TCP servers (NCID, port-1012 call monitor) share: the
// "[ADDR:]PORT" they are given, how many clients they take, how much a client
// may leave unread and how its socket is set up. No client may slow the
// monitor down or make it hold unbounded memory.
#include <QHostAddress>
#include <QObject>
#include <QString>

class QTcpServer;
class QTcpSocket;

namespace tcp_listening {

// More clients than this at once are turned away at connect.
inline constexpr int kMaxClients = 256;
// Bytes a client may leave unread before it counts as dead and is dropped.
inline constexpr qint64 kMaxUnread = 64 * 1024;
// Output that has waited this long without moving marks a client that does
// not read (or a host that is gone): it is dropped.
inline constexpr int kStallMs = 10000;

// "[ADDR:]PORT" as the command line and the settings give it (an IPv6 ADDR in
// brackets); without ADDR the address is 127.0.0.1. False for bad text.
bool parseEndpoint(const QString& text, QHostAddress& address, quint16& port);

// A client's socket as the servers want it: small fixed system buffers, no
// delay for short lines, and vanished peers found by keep-alive probes.
void prepareClient(QTcpSocket& socket);

} // namespace tcp_listening

// What each of the servers does alike: listening, and letting clients in, at
// most kMaxClients at once; those over it are turned away at connect.
class ListeningServer : public QObject {
    Q_OBJECT
public:
    bool listen(const QHostAddress& address, quint16 port);
    bool isListening() const;
    quint16 serverPort() const;
    QString errorString() const;

signals:
    void logMessage(const QString& text); // clients coming, going, dropped

protected:
    // `name` begins the line that says clients are turned away.
    ListeningServer(const QString& name, QObject* parent);
    // Called when clients wait to be let in.
    virtual void acceptClients() = 0;
    // The next waiting client that may come in while `clients` are connected;
    // null when none waits.
    QTcpSocket* nextClient(qsizetype clients);
    void stopListening();

private:
    QTcpServer* server_;
    QString name_;
    bool refusing_ = false;
};
