#include "monitor/outputs/ncid_server.h"

#include "monitor/engine/call_list.h"
#include "monitor/engine/clock.h"
#include "monitor/outputs/tcp_listening.h"

#include <QFile>
#include <QTcpSocket>

NcidServer::NcidServer(Clock& clock, QObject* parent)
    : ListeningServer(QStringLiteral("NCID server"), parent), clock_(clock)
{
}

NcidServer::~NcidServer()
{
    close();
}

void NcidServer::close()
{
    stopListening();
    for (NcidClient* client : std::exchange(clients_, {})) {
        disconnect(client, nullptr, this, nullptr);
        client->close();
        client->deleteLater();
    }
}

int NcidServer::clientCount() const
{
    return int(clients_.size());
}

void NcidServer::setCallList(const CallList* callList)
{
    if (callList_)
        disconnect(callList_, nullptr, this, nullptr);
    callList_ = callList;
    logLines_.reset();
    if (!callList)
        return;
    // New calls grow the log in place; any other change starts a new one.
    const auto changed = [this] { logLines_.reset(); };
    connect(callList, &CallList::recordsInserted, this, &NcidServer::callsAdded);
    connect(callList, &CallList::recordsRemoved, this, changed);
    connect(callList, &CallList::recordsReset, this, changed);
}

void NcidServer::setSendCallLog(bool send)
{
    sendCallLog_ = send;
}

void NcidServer::callsAdded(int first, int last)
{
    // Calls come in at the top of the list and are the newest; the log holds the oldest first.
    if (!logLines_ || first != 0) {
        logLines_.reset();
        return;
    }
    const QList<CallRecord>& records = callList_->records();
    for (int row = last; row >= first; --row)
        if (QByteArray line = ncid::logLine(records.at(row)); !line.isEmpty())
            logLines_->append(std::move(line)); // clients that read meanwhile stop at their own count
}

NcidStartupLog NcidServer::startupLog()
{
    if (!sendCallLog_)
        return {nullptr, 0, ncid::kLogNotSent};
    if (!callList_)
        return {nullptr, 0, ncid::kNoLog};
    if (!logLines_)
        logLines_ = std::make_shared<QList<QByteArray>>(ncid::logLines(callList_->records()));
    if (logLines_->isEmpty())
        return {nullptr, 0, QFile::exists(callList_->listPath()) ? ncid::kLogEmpty : ncid::kNoLog};
    return {logLines_, logLines_->size(), ncid::kLogSent};
}

void NcidServer::acceptClients()
{
    while (QTcpSocket* socket = nextClient(clients_.size())) {
        auto* client = new NcidClient(socket, clock_, startupLog(), this);
        clients_.append(client);
        connect(client, &NcidClient::logMessage, this, &NcidServer::logMessage);
        connect(client, &NcidClient::closed, this, &NcidServer::forget);
        connect(client, &NcidClient::message, this, &NcidServer::relay);
        emit logMessage(QStringLiteral("NCID client %1 connected").arg(client->peer()));
    }
}

void NcidServer::forget(NcidClient* client)
{
    clients_.removeOne(client);
    client->deleteLater();
}

void NcidServer::broadcast(const QByteArray& line)
{
    const QList<NcidClient*> clients = clients_; // a dropped client leaves the list on the way
    for (NcidClient* client : clients)
        client->send(line);
}

void NcidServer::relay(const QByteArray& line)
{
    const QByteArray message = ncid::relayedMessage(line, clock_.now());
    const QList<NcidClient*> clients = clients_;
    for (NcidClient* client : clients)
        client->relay(message);
}

void NcidServer::announce(const QString& warning)
{
    broadcast(ncid::serverMessage(warning, clock_.now()));
}

void NcidServer::callEvent(const CallEvent& event)
{
    if (const QByteArray line = ncid::eventLine(event); !line.isEmpty())
        broadcast(line);
}
