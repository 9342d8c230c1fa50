#include "monitor/outputs/ncid_client.h"

#include "monitor/engine/clock.h"
#include "monitor/outputs/ncid_lines.h"
#include "monitor/outputs/tcp_client.h"
#include "monitor/outputs/tcp_listening.h"

#include <QTcpSocket>
#include <algorithm>

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
// Live lines held during a client's start-up before it counts as dead and is dropped.
constexpr qsizetype kMaxWaitingLines = 64;
// Other clients' messages a starting client may hold on top of those lines.
constexpr qsizetype kMaxWaitingMessages = 16;
constexpr int kMaxIdent = 100;

} // namespace

NcidClient::NcidClient(QTcpSocket* socket, Clock& clock, NcidStartupLog log, QObject* parent)
    : QObject(parent), clock_(clock),
      tcp_(new TcpClient(socket, clock, QStringLiteral("NCID client"), TcpClient::Lines::Buffered, this)),
      log_(std::move(log)), messageCreditAt_(clock.now().toMSecsSinceEpoch())
{
    socket->setReadBufferSize(kReadChunk * 4);
    connect(socket, &QTcpSocket::readyRead, this, &NcidClient::readInput);
    connect(tcp_, &TcpClient::written, this, &NcidClient::feedLog);
    connect(tcp_, &TcpClient::logMessage, this, &NcidClient::logMessage);
    connect(tcp_, &TcpClient::dropped, this, &NcidClient::dropped);
    helloTimer_ = clock.createTimer([this] { endHelloWindow(); }, true);
    write(ncid::bannerLine());
    write(ncid::apiLine());
    helloTimer_->start(kHelloWindowMs);
}

NcidClient::~NcidClient()
{
    disconnect(&tcp_->socket(), nullptr, this, nullptr); // a socket closed by its destructor reports nothing here
}

QString NcidClient::peer() const
{
    return tcp_->peer();
}

void NcidClient::send(const QByteArray& line)
{
    if (stage_ == Stage::Live) {
        write(line);
    } else if (stage_ != Stage::Closed) {
        if (waiting_.size() - waitingMessages_ >= kMaxWaitingLines)
            return tcp_->drop(QStringLiteral("dropped: it does not read"));
        waiting_.append(line);
    }
}

void NcidClient::relay(const QByteArray& line)
{
    if (stage_ == Stage::Live) {
        if (tcp_->unread() + line.size() <= tcp_listening::kMaxUnread / 2)
            write(line);
    } else if (stage_ != Stage::Closed && waitingMessages_ < kMaxWaitingMessages) {
        waiting_.append(line);
        ++waitingMessages_;
    }
}

void NcidClient::write(const QByteArray& line)
{
    if (stage_ != Stage::Closed)
        tcp_->send(line); // one whole line per write
}

void NcidClient::readInput()
{
    QTcpSocket& socket = tcp_->socket();
    while (stage_ != Stage::Closed && socket.bytesAvailable() > 0) {
        const QByteArray chunk = socket.read(kReadChunk);
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
        if (mayPassOnMessage())
            emit message(text);
        else if (!std::exchange(warnedMessages_, true))
            emit logMessage(
                QStringLiteral("NCID client %1 sends messages too fast; some are not passed on").arg(peer()));
    }
    // Gateway lines (CALL:, CALLINFO:, NOT:) and everything else are ignored:
    // the adapter is the only source of calls.
}

// A bucket of credit that fills with time: a burst, then one message a second.
bool NcidClient::mayPassOnMessage()
{
    const qint64 now = clock_.now().toMSecsSinceEpoch();
    const qint64 full = qint64(kMessageBurst) * kMessageIntervalMs;
    messageCreditMs_ = std::min(full, messageCreditMs_ + std::max<qint64>(0, now - messageCreditAt_));
    messageCreditAt_ = now;
    if (messageCreditMs_ < kMessageIntervalMs)
        return false;
    messageCreditMs_ -= kMessageIntervalMs;
    return true;
}

void NcidClient::endHelloWindow()
{
    if (stage_ != Stage::Hello)
        return;
    if (noLog_) {
        log_ = {nullptr, 0, ncid::kLogNotSent};
    }
    stage_ = Stage::Log;
    feedLog();
}

void NcidClient::feedLog()
{
    if (stage_ != Stage::Log)
        return;
    while (stage_ == Stage::Log && logSent_ < log_.count && tcp_->unread() < kLogChunk)
        write(log_.lines->at(logSent_++));
    if (logSent_ < log_.count || stage_ != Stage::Log)
        return;
    write(std::exchange(log_, {}).status);
    write(ncid::kStartupDone);
    if (stage_ != Stage::Log)
        return; // dropped on the way
    stage_ = Stage::Live;
    waitingMessages_ = 0;
    for (const QByteArray& line : std::exchange(waiting_, {}))
        write(line);
}

void NcidClient::close()
{
    tcp_->close();
}

void NcidClient::dropped()
{
    stage_ = Stage::Closed;
    helloTimer_->stop();
    emit closed(this);
}
