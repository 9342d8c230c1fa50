#include "monitor/outputs/tcp_listening.h"

#include <QTcpServer>
#include <QTcpSocket>

#ifdef Q_OS_LINUX
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

namespace {

// The system's own buffer for a client, fixed: left to grow by itself it
// takes up to 4 MiB for each client that does not read, where a whole call
// log disappears without the client ever looking stalled. This much still
// carries the log at megabytes a second over a LAN.
constexpr int kSystemSendBuffer = 64 * 1024;

// Clients may sit idle for days, and their systems answer the keep-alive
// probes meanwhile. A host that is gone answers nothing: after a minute of
// silence it is probed every 10 s and given up after 6 probes; lines sent to
// it and never acknowledged give it up after two minutes.
void findVanishedPeers([[maybe_unused]] qintptr fd)
{
#ifdef Q_OS_LINUX
    constexpr int kIdleS = 60, kProbeIntervalS = 10, kProbes = 6;
    constexpr unsigned kUnacknowledgedMs = 120000;
    setsockopt(int(fd), IPPROTO_TCP, TCP_KEEPIDLE, &kIdleS, sizeof kIdleS);
    setsockopt(int(fd), IPPROTO_TCP, TCP_KEEPINTVL, &kProbeIntervalS, sizeof kProbeIntervalS);
    setsockopt(int(fd), IPPROTO_TCP, TCP_KEEPCNT, &kProbes, sizeof kProbes);
    setsockopt(int(fd), IPPROTO_TCP, TCP_USER_TIMEOUT, &kUnacknowledgedMs, sizeof kUnacknowledgedMs);
#endif
}

} // namespace

namespace tcp_listening {

bool parseEndpoint(const QString& text, QHostAddress& address, quint16& port)
{
    const QString t = text.trimmed();
    const qsizetype colon = t.lastIndexOf(u':');
    QString host = colon < 0 ? QString() : t.left(colon);
    if (host.startsWith(u'[') && host.endsWith(u']'))
        host = host.mid(1, host.size() - 2);
    bool ok = false;
    const uint number = t.mid(colon + 1).toUInt(&ok);
    if (!ok || number == 0 || number > 65535)
        return false;
    const QHostAddress parsed = host.isEmpty() ? QHostAddress(QHostAddress::LocalHost) : QHostAddress(host);
    if (parsed.isNull())
        return false;
    address = parsed;
    port = static_cast<quint16>(number);
    return true;
}

void prepareClient(QTcpSocket& socket)
{
    socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    socket.setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kSystemSendBuffer);
    findVanishedPeers(socket.socketDescriptor());
}

} // namespace tcp_listening

ListeningServer::ListeningServer(const QString& name, QObject* parent)
    : QObject(parent), server_(new QTcpServer(this)), name_(name)
{
    using tcp_listening::kMaxClients;
    server_->setListenBacklogSize(kMaxClients); // a burst of clients waits for accept, not for retries
    connect(server_, &QTcpServer::newConnection, this, [this] { acceptClients(); });
}

bool ListeningServer::listen(const QHostAddress& address, quint16 port)
{
    return server_->listen(address, port);
}

bool ListeningServer::isListening() const
{
    return server_->isListening();
}

quint16 ListeningServer::serverPort() const
{
    return server_->serverPort();
}

QString ListeningServer::errorString() const
{
    return server_->errorString();
}

void ListeningServer::stopListening()
{
    server_->close();
}

QTcpSocket* ListeningServer::nextClient(qsizetype clients)
{
    using tcp_listening::kMaxClients;
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        if (clients < kMaxClients) {
            refusing_ = false;
            return socket;
        }
        if (!std::exchange(refusing_, true))
            emit logMessage(QStringLiteral("%1: %2 clients; turning new ones away").arg(name_).arg(kMaxClients));
        socket->abort();
        socket->deleteLater();
    }
    return nullptr;
}
