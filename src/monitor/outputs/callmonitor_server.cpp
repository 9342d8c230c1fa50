#include "monitor/outputs/callmonitor_server.h"

#include "monitor/engine/clock.h"
#include "monitor/outputs/tcp_listening.h"

#include <QTcpSocket>

CallMonitorServer::CallMonitorServer(Clock& clock, QObject* parent)
    : ListeningServer(QStringLiteral("Call monitor"), parent), clock_(clock)
{
}

CallMonitorServer::~CallMonitorServer()
{
    stopListening();
    for (Client& c : clients_) {
        disconnect(c.socket, nullptr, this, nullptr);
        c.socket->abort();
    }
}

void CallMonitorServer::acceptClients()
{
    while (QTcpSocket* socket = nextClient(qsizetype(clients_.size()))) {
        socket->setParent(this);
        tcp_listening::prepareClient(*socket);
        Client& c = clients_.emplace_back();
        Client* client = &c;
        c.socket = socket;
        c.peer = socket->peerAddress().toString() + u':' + QString::number(socket->peerPort());
        c.stall = clock_.createTimer(
            [this, client] { drop(client, QStringLiteral("dropped: it does not read")); }, true);
        connect(socket, &QTcpSocket::readyRead, this, [socket] { socket->readAll(); }); // nothing to hear from clients
        connect(socket, &QTcpSocket::bytesWritten, this, [client] {
            if (client->socket->bytesToWrite() > 0)
                client->stall->start(tcp_listening::kStallMs); // it moved: the wait starts again
            else
                client->stall->stop();
        });
        connect(
            socket, &QTcpSocket::disconnected, this, [this, client] { drop(client, QStringLiteral("disconnected")); });
        emit logMessage(QStringLiteral("Call monitor client %1 connected").arg(c.peer));
    }
}

void CallMonitorServer::send(Client& client, const QByteArray& line)
{
    if (client.socket->bytesToWrite() + line.size() > tcp_listening::kMaxUnread)
        return drop(&client, QStringLiteral("dropped: it does not read"));
    // Timed before the write: flush() may report the line written at once,
    // which stops the wait again; started after it, it would drop a client that reads.
    if (!client.stall->isActive())
        client.stall->start(tcp_listening::kStallMs);
    client.socket->write(line + "\r\n");
    client.socket->flush(); // one line per write: some clients take each read for a line
}

void CallMonitorServer::drop(Client* client, const QString& why)
{
    emit logMessage(QStringLiteral("Call monitor client %1 %2").arg(client->peer, why));
    QTcpSocket* socket = client->socket;
    disconnect(socket, nullptr, this, nullptr);
    socket->abort();
    socket->deleteLater();
    client->stall->stop();
    // Dropped from within its own socket's or timer's signal: it goes away later.
    for (auto it = clients_.begin(); it != clients_.end(); ++it)
        if (&*it == client) {
            dropped_.splice(dropped_.end(), clients_, it);
            break;
        }
    QMetaObject::invokeMethod(
        this, [this] { dropped_.clear(); }, Qt::QueuedConnection);
}

void CallMonitorServer::callEvent(const CallEvent& event)
{
    const QList<QByteArray> lines = lines_.linesFor(event);
    for (const QByteArray& line : lines)
        for (auto it = clients_.begin(); it != clients_.end();) {
            Client& c = *it++; // a dropped client leaves the list on the way
            send(c, line);
        }
}
