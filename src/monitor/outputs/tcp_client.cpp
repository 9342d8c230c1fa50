#include "monitor/outputs/tcp_client.h"

#include "monitor/engine/clock.h"
#include "monitor/outputs/tcp_listening.h"

#include <QTcpSocket>

namespace {
const QString kNotReading = QStringLiteral("dropped: it does not read");
}

TcpClient::TcpClient(QTcpSocket* socket, Clock& clock, const QString& name, Lines lines, QObject* parent)
    : QObject(parent), socket_(socket), stall_(clock.createTimer([this] { drop(kNotReading); }, true)), name_(name),
      lines_(lines)
{
    socket_->setParent(this);
    tcp_listening::prepareClient(*socket_);
    connect(socket_, &QTcpSocket::bytesWritten, this, &TcpClient::moved);
    connect(socket_, &QTcpSocket::disconnected, this, [this] { drop(QStringLiteral("disconnected")); });
}

TcpClient::~TcpClient()
{
    disconnect(socket_, nullptr, this, nullptr); // a socket closed by its destructor reports nothing here
}

QString TcpClient::peer() const
{
    return socket_->peerAddress().toString() + u':' + QString::number(socket_->peerPort());
}

qint64 TcpClient::unread() const
{
    return socket_->bytesToWrite();
}

bool TcpClient::send(const QByteArray& line)
{
    if (dropped_)
        return false;
    if (unread() + line.size() > tcp_listening::kMaxUnread) {
        drop(kNotReading);
        return false;
    }
    // Timed before the write: flush() may report the line written at once,
    // which stops the wait again; started after it, it would drop a client that reads.
    if (!stall_->isActive())
        stall_->start(tcp_listening::kStallMs);
    socket_->write(line + "\r\n");
    if (lines_ == Lines::OnePerWrite)
        socket_->flush();
    return !dropped_;
}

void TcpClient::moved()
{
    if (unread() > 0)
        stall_->start(tcp_listening::kStallMs); // it moved: the wait starts again
    else
        stall_->stop();
    emit written();
}

void TcpClient::close()
{
    socket_->flush(); // a last warning still reaches the client
    drop(QStringLiteral("closed"));
}

void TcpClient::drop(const QString& why)
{
    if (std::exchange(dropped_, true))
        return;
    stall_->stop();
    emit logMessage(QStringLiteral("%1 %2 %3").arg(name_, peer(), why));
    disconnect(socket_, nullptr, this, nullptr);
    socket_->abort();
    emit dropped();
}
