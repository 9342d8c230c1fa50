#include "device/push_channel.h"

#include "device/service_client.h"

#include <QNetworkReply>

namespace pushchannel {

QList<Message> EventStream::feed(const QByteArray& bytes)
{
    QList<Message> out;
    for (const char ch : bytes) {
        if (ch != '\n') {
            if (ch != '\r' && !dropping_ && (line_.size() < kMaxMessage || (dropping_ = true, false)))
                line_ += ch;
            continue;
        }
        if (line_.isEmpty()) { // a blank line ends the message
            if (!dropping_ && !message_.data.isEmpty())
                out << message_;
            message_ = {};
            dropping_ = false;
        } else if (line_.startsWith("event:")) {
            message_.event = line_.mid(6).trimmed();
        } else if (line_.startsWith("data:")) {
            if (message_.data.size() + line_.size() > kMaxMessage)
                dropping_ = true;
            else
                message_.data += (message_.data.isEmpty() ? QByteArray() : "\n") + line_.mid(5).trimmed();
        }
        line_.clear();
    }
    return out;
}

} // namespace pushchannel

PushChannel::PushChannel(serviceaddress::Address service, QObject* parent)
    : QObject(parent), service_(std::move(service))
{
    retry_.setSingleShot(true);
    connect(&retry_, &QTimer::timeout, this, &PushChannel::connectStream);
    silence_.setSingleShot(true);
    connect(&silence_, &QTimer::timeout, this, [this] {
        if (stream_)
            stream_->abort(); // ends it: streamEnded() retries
    });
}

PushChannel::~PushChannel()
{
    stop();
}

void PushChannel::start()
{
    running_ = true;
    connectStream();
}

void PushChannel::stop()
{
    running_ = false;
    retry_.stop();
    silence_.stop();
    if (stream_)
        stream_->abort();
}

void PushChannel::connectStream()
{
    if (!running_ || stream_)
        return;
    QNetworkRequest r = serviceRequest(
        service_, query_.isEmpty() ? QStringLiteral("/api/v1/events") : QStringLiteral("/api/v1/events?") + query_);
    r.setRawHeader("Accept", "text/event-stream");
    parser_ = {};
    stream_ = network_.get(r);
    connect(stream_, &QNetworkReply::readyRead, this, &PushChannel::streamRead);
    connect(stream_, &QNetworkReply::finished, this, &PushChannel::streamEnded);
    silence_.start(kSilenceMs);
}

void PushChannel::streamRead()
{
    if (!stream_)
        return;
    silence_.start(kSilenceMs);
    for (const pushchannel::Message& m : parser_.feed(stream_->readAll()))
        emit received(m);
}

void PushChannel::streamEnded()
{
    if (QNetworkReply* r = stream_.data()) {
        stream_ = nullptr;
        r->deleteLater();
    }
    silence_.stop();
    emit ended();
    if (running_)
        retry_.start(kRetryMs);
}
