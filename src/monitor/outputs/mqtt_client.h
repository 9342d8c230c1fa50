#pragma once
// An MQTT connection for the monitor, run by the Qt event loop: libmosquitto
// without its own thread, its socket watched by QSocketNotifiers and its
// keep-alive by a timer, the broker's name looked up by QHostInfo first. So
// the monitor never waits for the network, and every callback comes on the
// monitor's thread. The broker gone, it reconnects with a growing pause;
// messages that are not retained wait meanwhile in a bounded queue (the
// oldest dropped, said once) and go out in order. A message counts as
// delivered when the broker acknowledges it: one that was on its way when
// the connection broke goes again, and a broker that leaves one
// unacknowledged for kAckTimeoutMs counts as gone. A connection that fails
// before the broker answered (refused, unreachable) is a failed attempt at
// once, also over TLS, whose library would retry its hello on the dead
// socket for ever.
#include "monitor/outputs/mqtt_config.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHostInfo>
#include <QObject>
#include <QStringList>
#include <deque>

struct mosquitto;
struct mosquitto_message;
class QSocketNotifier;
class QTimer;

class MqttClient : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxQueued = 1000; // messages kept while the broker is away
    static constexpr int kKeepAliveS = 30;
    static constexpr int kFirstRetryMs = 1000, kLastRetryMs = 30000;
    static constexpr int kAckTimeoutMs = 30000;

    struct Message {
        QString topic;
        QByteArray payload;
        int qos = 1;
        bool retain = false;
    };

    // The will: `willPayload` retained on `willTopic` when the connection
    // breaks without a goodbye.
    MqttClient(
        const MqttConfig& config, const QString& willTopic, const QByteArray& willPayload, QObject* parent = nullptr);
    ~MqttClient() override;

    // How the connection stands, for the user: the state and, for a failure,
    // the system's or the broker's words.
    enum class Link { Connecting, Connected, UnknownHost, Refused, NotAuthorised, Failed, Lost };
    Link link() const { return link_; }
    QString linkDetail() const { return linkDetail_; }

    void start();
    // Publishes now, or queues it while the broker is away. A retained message is
    // the latest state, which connected() publishes anew: it is not queued.
    void publish(const Message& message);
    // Kept over reconnects.
    void subscribe(const QString& topic);
    // Sends `last` and says goodbye, without waiting.
    void stop(const Message& last);
    bool isConnected() const { return connected_; }
    int queued() const { return int(queue_.size() + inflight_.size()); }
    int attempts() const { return attempts_; }         // to connect, since start()
    void setAckTimeout(int ms) { ackTimeoutMs_ = ms; } // tests

signals:
    void connected(); // (re)connected, the queue sent: publish the retained state now
    void message(const QString& topic, const QByteArray& payload);
    void logMessage(const QString& text);
    void linkChanged();

private slots:
    // By name, not a functor: Qt keeps a functor of a lookup aborted by the
    // destructor for ever.
    void hostLookedUp(const QHostInfo& info);

private:
    static void onConnect(mosquitto*, void* self, int rc);
    static void onDisconnect(mosquitto*, void* self, int rc);
    static void onPublish(mosquitto*, void* self, int mid);
    static void onMessage(mosquitto*, void* self, const mosquitto_message* m);

    void lookUp();
    void open();
    void configure();
    void watch();
    void run(int (*step)(mosquitto*, int));
    QString failedConnect() const;
    bool ackOverdue() const;
    void lost(const QString& why);
    void retryLater();
    void flush();
    void send(const Message& m);
    void enqueue(const Message& m);
    void say(const QString& problem); // once until the problem changes or the link is up
    QString where() const;
    void setLink(Link link, const QString& detail = {});

    MqttConfig config_;
    QString willTopic_;
    QByteArray willPayload_;
    QString clientId_;
    mosquitto* mosq_ = nullptr;
    QSocketNotifier* reader_ = nullptr;
    QSocketNotifier* writer_ = nullptr;
    QTimer* misc_;
    QTimer* retry_;
    int retryMs_ = kFirstRetryMs;
    int lookup_ = -1; // QHostInfo's id while looking the broker up
    int attempts_ = 0;
    int connectErrno_ = 0; // as the connect call left it: a TLS hello may have met the refusal
    int ackTimeoutMs_ = kAckTimeoutMs;
    bool connected_ = false;
    bool stopped_ = false;
    QString problem_; // the last problem said
    Link link_ = Link::Connecting;
    bool brokerSaidNo_ = false; // this attempt's CONNACK refused
    QString linkDetail_;
    std::deque<Message> queue_;
    struct Inflight {
        int mid;
        Message message;
        qint64 sentMs;
    };
    std::deque<Inflight> inflight_; // in order: handed over, not yet acknowledged
    qint64 droppedSinceUp_ = 0;
    QStringList subscriptions_;
    QElapsedTimer uptime_; // the inflight messages' send times
};
