#include "monitor/outputs/ncid_client.h"

#include "monitor/engine/clock.h"
#include "monitor/outputs/ncid_lines.h"

#include <QTcpSocket>

namespace {

// Clients send their HELLO: lines as soon as they read "210"; this long the
// server listens for them before it starts the call log.
constexpr int kHelloWindowMs = 500;
// A client line longer than this is no NCID line: it is skipped.
constexpr qsizetype kMaxInputLine = 1024;
constexpr qint64 kReadChunk = 4096;
// The call log goes out as the client reads it, this much at a time, so a
// long list.txt never sits in memory once per client.
constexpr qint64 kLogChunk = 16 * 1024;
// Bytes a client may leave unread, and live lines held during its start-up,
// before it counts as dead and is dropped.
constexpr qint64 kMaxUnread = 64 * 1024;
constexpr qsizetype kMaxWaitingLines = 64;
constexpr int kMaxIdent = 100;

} // namespace

NcidClient::NcidClient(QTcpSocket* socket, Clock& clock, NcidStartupLog log, QObject* parent)
    : QObject(parent), socket_(socket), log_(std::move(log))
{
    socket_->setParent(this);
    socket_->setReadBufferSize(kReadChunk * 4);
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket_->setSocketOption(QAbstractSocket::KeepAliveOption, 1); // finds peers that vanished
    connect(socket_, &QTcpSocket::readyRead, this, &NcidClient::readInput);
    connect(socket_, &QTcpSocket::bytesWritten, this, &NcidClient::feedLog);
    connect(socket_, &QTcpSocket::disconnected, this, [this] { drop(QStringLiteral("disconnected")); });
    write(ncid::bannerLine());
    write(ncid::apiLine());
    helloTimer_ = clock.createTimer([this] { endHelloWindow(); }, true);
    helloTimer_->start(kHelloWindowMs);
}

NcidClient::~NcidClient()
{
    disconnect(socket_, nullptr, this, nullptr); // a socket closed by its destructor reports nothing here
}

QString NcidClient::peer() const
{
    return socket_->peerAddress().toString() + u':' + QString::number(socket_->peerPort());
}

void NcidClient::send(const QByteArray& line)
{
    if (stage_ == Stage::Live) {
        write(line);
    } else if (stage_ != Stage::Closed) {
        if (waiting_.size() >= kMaxWaitingLines)
            return drop(QStringLiteral("dropped: it does not read"));
        waiting_.append(line);
    }
}

void NcidClient::write(const QByteArray& line)
{
    if (stage_ == Stage::Closed)
        return;
    if (socket_->bytesToWrite() + line.size() > kMaxUnread)
        return drop(QStringLiteral("dropped: it does not read"));
    socket_->write(line + "\r\n"); // one whole line per write
}

void NcidClient::readInput()
{
    while (stage_ != Stage::Closed && socket_->bytesAvailable() > 0) {
        const QByteArray chunk = socket_->read(kReadChunk);
        for (char c : chunk) {
            if (c == '\n') {
                if (!skippingLongLine_)
                    handleLine(std::exchange(input_, {}));
                skippingLongLine_ = false;
                input_.clear();
            } else if (!skippingLongLine_) {
                input_.append(c);
                if (input_.size() > kMaxInputLine) {
                    skippingLongLine_ = true;
                    input_.clear();
                    if (!std::exchange(warnedLongLine_, true))
                        emit logMessage(QStringLiteral("NCID client %1 sent an overlong line; skipped").arg(peer()));
                }
            }
            if (stage_ == Stage::Closed)
                return;
        }
    }
}

void NcidClient::handleLine(QByteArray line)
{
    if (line.endsWith('\r'))
        line.chop(1);
    const QByteArray text = line.trimmed();
    if (text.isEmpty())
        return; // a keep-alive: no answer
    if (text.startsWith("HELLO:")) {
        if (stage_ != Stage::Hello)
            return; // after the window a HELLO: line is an unknown line
        const QByteArray rest = text.mid(6).trimmed();
        if (rest.startsWith("IDENT:")) {
            ident_ = QString::fromUtf8(rest.mid(6).trimmed()).left(kMaxIdent);
            emit logMessage(QStringLiteral("NCID client %1 is \"%2\"").arg(peer(), ident_));
        } else if (rest.startsWith("CMD:") && rest.mid(4).trimmed() == "no_log") {
            noLog_ = true;
        }
    } else if (text == "REQ: YO") {
        send(ncid::kYoAnswer);
    } else if (text.startsWith("MSG:")) {
        emit message(text);
    }
    // Gateway lines (CALL:, CALLINFO:, NOT:) and everything else are ignored:
    // the adapter is the only source of calls.
}

void NcidClient::endHelloWindow()
{
    if (stage_ != Stage::Hello)
        return;
    if (noLog_) {
        log_.lines.clear();
        log_.status = ncid::kLogNotSent;
    }
    stage_ = Stage::Log;
    feedLog();
}

void NcidClient::feedLog()
{
    if (stage_ != Stage::Log)
        return;
    while (stage_ == Stage::Log && logSent_ < log_.lines.size() && socket_->bytesToWrite() < kLogChunk)
        write(log_.lines.at(logSent_++));
    if (logSent_ < log_.lines.size() || stage_ != Stage::Log)
        return;
    write(std::exchange(log_, {}).status);
    write(ncid::kStartupDone);
    if (stage_ != Stage::Log)
        return; // dropped on the way
    stage_ = Stage::Live;
    for (const QByteArray& line : std::exchange(waiting_, {}))
        write(line);
}

void NcidClient::close()
{
    drop(QStringLiteral("closed"));
}

void NcidClient::drop(const QString& why)
{
    if (stage_ == Stage::Closed)
        return;
    stage_ = Stage::Closed;
    helloTimer_->stop();
    emit logMessage(QStringLiteral("NCID client %1 %2").arg(peer(), why));
    socket_->abort();
    emit closed(this);
}
