#include "monitor/outputs/callmonitor_server.h"

#include "monitor/outputs/tcp_client.h"

#include <QTcpSocket>

CallMonitorServer::CallMonitorServer(Clock& clock, QObject* parent)
    : ListeningServer(QStringLiteral("Call monitor"), parent), clock_(clock)
{
}

CallMonitorServer::~CallMonitorServer()
{
    stopListening();
    for (TcpClient* client : std::exchange(clients_, {}))
        disconnect(client, nullptr, this, nullptr);
}

void CallMonitorServer::acceptClients()
{
    while (QTcpSocket* socket = nextClient(clients_.size())) {
        auto* client = new TcpClient(
            socket, clock_, QStringLiteral("Call monitor client"), TcpClient::Lines::OnePerWrite, this);
        clients_.append(client);
        connect(
            socket, &QTcpSocket::readyRead, client, [socket] { socket->readAll(); }); // nothing to hear from clients
        connect(client, &TcpClient::logMessage, this, &CallMonitorServer::logMessage);
        connect(client, &TcpClient::dropped, this, [this, client] {
            clients_.removeOne(client);
            client->deleteLater(); // dropped from within its own socket's or timer's signal
        });
        emit logMessage(QStringLiteral("Call monitor client %1 connected").arg(client->peer()));
    }
}

void CallMonitorServer::callEvent(const CallEvent& event)
{
    const QList<QByteArray> lines = lines_.linesFor(event);
    for (const QByteArray& line : lines) {
        const QList<TcpClient*> clients = clients_; // a dropped client leaves the list on the way
        for (TcpClient* client : clients)
            client->send(line);
    }
}
