#pragma once
// The push channel of a running corvane-monitor (GET /api/v1/events, a
// text/event-stream), kept open while a front end follows the service: each
// message as it comes; when the channel ends (the service ended, a network
// fault, kSilenceMs without even a ping) it says so and connects again.
#include "common/service_address.h"

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QNetworkReply;

namespace pushchannel {

// One message of a text/event-stream, and the stream cut into them. A line
// or a message beyond kMaxMessage is dropped whole: a peer that never ends
// one cannot fill the memory.
struct Message {
    QByteArray event, data;
};
class EventStream {
public:
    static constexpr qsizetype kMaxMessage = 1 << 20;
    QList<Message> feed(const QByteArray& bytes);

private:
    QByteArray line_;
    Message message_;
    bool dropping_ = false;
};

} // namespace pushchannel

class PushChannel : public QObject {
    Q_OBJECT
public:
    static constexpr int kRetryMs = 3000;
    // The service pings every 20 s: three missed, it is gone.
    static constexpr int kSilenceMs = 65000;

    explicit PushChannel(serviceaddress::Address service, QObject* parent = nullptr);
    ~PushChannel() override;

    // What the channel asks for besides the events ("trace=5"), before start().
    void setQuery(const QString& query) { query_ = query; }
    // Connects, and connects again after each end until stop().
    void start();
    void stop();

signals:
    void received(const pushchannel::Message& message);
    void ended();

private:
    void connectStream();
    void streamRead();
    void streamEnded();

    serviceaddress::Address service_;
    QNetworkAccessManager network_;
    QPointer<QNetworkReply> stream_;
    pushchannel::EventStream parser_;
    QTimer retry_, silence_;
    bool running_ = false;
    QString query_;
};
