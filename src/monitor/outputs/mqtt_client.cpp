#include "monitor/outputs/mqtt_client.h"

#include "common/regular_file.h"

#include <QHostInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <QUuid>

#include <mosquitto.h>

#include <cerrno>
#include <mutex>

#include <poll.h>
#include <sys/socket.h>

namespace {

constexpr int kMiscIntervalMs = 1000; // keep-alive pings and retries of libmosquitto
constexpr int kMaxPacketsPerStep = 1;

MqttClient* self(void* p)
{
    return static_cast<MqttClient*>(p);
}

} // namespace

MqttClient::MqttClient(
    const MqttConfig& config, const QString& willTopic, const QByteArray& willPayload, QObject* parent)
    : QObject(parent), config_(config), willTopic_(willTopic), willPayload_(willPayload), misc_(new QTimer(this)),
      retry_(new QTimer(this))
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { mosquitto_lib_init(); });
    // The broker keeps one connection per id: each run has its own.
    clientId_ = QStringLiteral("corvane-%1-%2")
                    .arg(config.deviceId, QUuid::createUuid().toString(QUuid::Id128).left(8))
                    .left(64);
    mosq_ = mosquitto_new(clientId_.toUtf8().constData(), true, this);
    misc_->setInterval(kMiscIntervalMs);
    connect(misc_, &QTimer::timeout, this, [this] {
        if (ackOverdue())
            return lost(QStringLiteral("no acknowledgement for %1 s").arg(ackTimeoutMs_ / 1000));
        run([](mosquitto* m, int) { return mosquitto_loop_misc(m); });
    });
    uptime_.start();
    retry_->setSingleShot(true);
    connect(retry_, &QTimer::timeout, this, &MqttClient::lookUp);
}

MqttClient::~MqttClient()
{
    if (lookup_ >= 0)
        QHostInfo::abortHostLookup(lookup_);
    delete reader_;
    delete writer_;
    if (mosq_)
        mosquitto_destroy(mosq_);
}

QString MqttClient::where() const
{
    return QStringLiteral("%1 port %2").arg(config_.host).arg(config_.port);
}

void MqttClient::say(const QString& problem)
{
    if (problem == problem_)
        return;
    problem_ = problem;
    emit logMessage(QStringLiteral("MQTT broker %1: %2").arg(where(), problem));
}

void MqttClient::setLink(Link link, const QString& detail)
{
    if (link == link_ && detail == linkDetail_)
        return;
    link_ = link;
    linkDetail_ = detail;
    emit linkChanged();
}

void MqttClient::start()
{
    stopped_ = false;
    lookUp();
}

void MqttClient::lookUp()
{
    if (stopped_ || lookup_ >= 0 || connected_)
        return;
    ++attempts_;
    lookup_ = QHostInfo::lookupHost(config_.host, this, SLOT(hostLookedUp(QHostInfo)));
}

void MqttClient::hostLookedUp(const QHostInfo& info)
{
    lookup_ = -1;
    if (info.error() != QHostInfo::NoError) {
        say(QStringLiteral("cannot find the host (%1); retrying").arg(info.errorString()));
        setLink(Link::UnknownHost, info.errorString());
        return retryLater();
    }
    open();
}

void MqttClient::configure()
{
    mosquitto_connect_callback_set(mosq_, &MqttClient::onConnect);
    mosquitto_disconnect_callback_set(mosq_, &MqttClient::onDisconnect);
    mosquitto_publish_callback_set(mosq_, &MqttClient::onPublish);
    mosquitto_message_callback_set(mosq_, &MqttClient::onMessage);
    mosquitto_int_option(mosq_, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    const QByteArray will = willTopic_.toUtf8();
    mosquitto_will_set(mosq_, will.constData(), int(willPayload_.size()), willPayload_.constData(), 1, true);
    if (!config_.user.isEmpty())
        mosquitto_username_pw_set(mosq_, config_.user.toUtf8().constData(),
            config_.password.isEmpty() ? nullptr : config_.password.toUtf8().constData());
    if (config_.tls) {
        if (config_.caFile.isEmpty())
            mosquitto_int_option(mosq_, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
        else
            mosquitto_tls_set(mosq_, config_.caFile.toLocal8Bit().constData(), nullptr, nullptr, nullptr, nullptr);
    }
}

void MqttClient::open()
{
    // A fresh state each time: what libmosquitto kept of the last connection
    // would go again beside the queue's own copy.
    mosquitto_reinitialise(mosq_, clientId_.toUtf8().constData(), true, this);
    // OpenSSL would block on a FIFO and read /dev/zero for ever.
    if (const QString bad = config_.tls && !config_.caFile.isEmpty()
                                ? regularfile::check(config_.caFile, MqttConfig::kMaxCaFile)
                                : QString();
        !bad.isEmpty()) {
        say(QStringLiteral("cannot use the CA file %1: %2; retrying").arg(config_.caFile, bad));
        setLink(Link::Failed, bad);
        return retryLater();
    }
    configure();
    brokerSaidNo_ = false;
    errno = 0;
    const int rc = mosquitto_connect_async(mosq_, config_.host.toUtf8().constData(), config_.port, kKeepAliveS);
    connectErrno_ = errno;
    if (rc != MOSQ_ERR_SUCCESS) {
        const QString why = QString::fromLocal8Bit(rc == MOSQ_ERR_ERRNO ? strerror(errno) : mosquitto_strerror(rc));
        say(QStringLiteral("cannot connect (%1); retrying").arg(why));
        setLink(rc == MOSQ_ERR_ERRNO && connectErrno_ == ECONNREFUSED ? Link::Refused : Link::Failed, why);
        return retryLater();
    }
    watch();
}

void MqttClient::watch()
{
    const int fd = mosquitto_socket(mosq_);
    if (fd < 0)
        return lost(QStringLiteral("no socket"));
    reader_ = new QSocketNotifier(fd, QSocketNotifier::Read);
    writer_ = new QSocketNotifier(fd, QSocketNotifier::Write);
    connect(reader_, &QSocketNotifier::activated, this, [this] { run(mosquitto_loop_read); });
    connect(writer_, &QSocketNotifier::activated, this, [this] { run(mosquitto_loop_write); });
    writer_->setEnabled(mosquitto_want_write(mosq_));
    misc_->start();
}

void MqttClient::run(int (*step)(mosquitto*, int))
{
    if (!reader_)
        return;
    if (!connected_)
        if (const QString why = failedConnect(); !why.isEmpty())
            return lost(why);
    const int rc = step(mosq_, kMaxPacketsPerStep);
    if (!reader_)
        return; // the step's callbacks ended the connection
    if (rc != MOSQ_ERR_SUCCESS) {
        const QString why = rc == MOSQ_ERR_ERRNO ? QString::fromLocal8Bit(strerror(errno))
                                                 : QString::fromUtf8(mosquitto_strerror(rc));
        return lost(why);
    }
    writer_->setEnabled(mosquitto_want_write(mosq_));
}

// Before the broker's answer a hung-up socket is a connection that failed:
// its error, or (when the TLS hello took it already) the connect call's.
QString MqttClient::failedConnect() const
{
    pollfd p{mosquitto_socket(mosq_), POLLOUT, 0};
    if (p.fd < 0 || ::poll(&p, 1, 0) != 1 || !(p.revents & (POLLERR | POLLHUP)))
        return {};
    int error = 0;
    socklen_t size = sizeof error;
    ::getsockopt(p.fd, SOL_SOCKET, SO_ERROR, &error, &size);
    if (error == 0)
        error = connectErrno_;
    return error == 0 || error == EINPROGRESS ? QStringLiteral("closed before the broker answered")
                                              : QString::fromLocal8Bit(strerror(error));
}

bool MqttClient::ackOverdue() const
{
    return !inflight_.empty() && uptime_.elapsed() - inflight_.front().sentMs >= ackTimeoutMs_;
}

void MqttClient::lost(const QString& why)
{
    const bool wasUp = std::exchange(connected_, false);
    misc_->stop();
    // Inside a notifier's own signal: deleted when the loop comes back.
    for (QSocketNotifier* n : {std::exchange(reader_, nullptr), std::exchange(writer_, nullptr)})
        if (n) {
            n->setEnabled(false);
            n->deleteLater();
        }
    mosquitto_disconnect(mosq_);
    // What was on its way goes again, first.
    for (auto it = inflight_.rbegin(); it != inflight_.rend(); ++it)
        queue_.push_front(std::move(it->message));
    inflight_.clear();
    if (stopped_)
        return;
    if (wasUp) {
        say(QStringLiteral("connection lost (%1); reconnecting").arg(why));
        setLink(Link::Lost, why);
    } else {
        if (problem_.isEmpty())
            say(QStringLiteral("cannot connect (%1); retrying").arg(why));
        if (!brokerSaidNo_) // else the broker's own answer is the news
            setLink(why == QString::fromLocal8Bit(strerror(ECONNREFUSED)) ? Link::Refused : Link::Failed, why);
    }
    retryLater();
}

void MqttClient::retryLater()
{
    if (stopped_)
        return;
    retry_->start(retryMs_);
    retryMs_ = std::min(retryMs_ * 2, kLastRetryMs);
}

void MqttClient::onConnect(mosquitto*, void* p, int rc)
{
    MqttClient* c = self(p);
    if (rc != 0) { // the broker said no: the connection ends after this
        const QString why = QString::fromUtf8(mosquitto_connack_string(rc));
        c->say(QStringLiteral("refused the connection (%1); retrying").arg(why));
        // 4: bad user name or password, 5: not authorised
        c->brokerSaidNo_ = true;
        c->setLink(rc == 4 || rc == 5 ? Link::NotAuthorised : Link::Refused, why);
        return;
    }
    c->connected_ = true;
    c->setLink(Link::Connected);
    c->retryMs_ = kFirstRetryMs;
    c->problem_.clear();
    emit c->logMessage(QStringLiteral("MQTT broker %1: connected").arg(c->where()));
    if (c->droppedSinceUp_ > 0)
        emit c->logMessage(QStringLiteral("MQTT: %1 events were dropped while the broker was away")
                               .arg(std::exchange(c->droppedSinceUp_, 0)));
    for (const QString& topic : c->subscriptions_)
        mosquitto_subscribe(c->mosq_, nullptr, topic.toUtf8().constData(), 1);
    c->flush();
    emit c->connected();
}

void MqttClient::onDisconnect(mosquitto*, void* p, int rc)
{
    MqttClient* c = self(p);
    if (c->reader_) // not a goodbye of ours
        c->lost(rc == 0 ? QStringLiteral("closed") : QString::fromUtf8(mosquitto_strerror(rc)));
}

void MqttClient::onPublish(mosquitto*, void* p, int mid)
{
    auto& inflight = self(p)->inflight_;
    for (auto it = inflight.begin(); it != inflight.end(); ++it)
        if (it->mid == mid) {
            inflight.erase(it);
            return;
        }
}

void MqttClient::onMessage(mosquitto*, void* p, const mosquitto_message* m)
{
    const QByteArray payload(static_cast<const char*>(m->payload), m->payloadlen);
    emit self(p)->message(QString::fromUtf8(m->topic), payload);
}

void MqttClient::publish(const Message& m)
{
    if (connected_)
        send(m);
    else if (!m.retain)
        enqueue(m);
}

void MqttClient::enqueue(const Message& m)
{
    if (queued() >= kMaxQueued && !queue_.empty()) {
        queue_.pop_front();
        if (droppedSinceUp_++ == 0)
            emit logMessage(
                QStringLiteral("MQTT: the broker is away and %1 events wait; dropping the oldest").arg(kMaxQueued));
    }
    queue_.push_back(m);
}

void MqttClient::flush()
{
    while (connected_ && !queue_.empty()) {
        Message m = std::move(queue_.front());
        queue_.pop_front();
        send(m);
    }
}

void MqttClient::send(const Message& m)
{
    int mid = 0;
    const QByteArray topic = m.topic.toUtf8();
    const int rc = mosquitto_publish(
        mosq_, &mid, topic.constData(), int(m.payload.size()), m.payload.constData(), m.qos, m.retain);
    if (rc != MOSQ_ERR_SUCCESS) {
        if (!m.retain)
            enqueue(m);
        return;
    }
    if (m.qos > 0)
        inflight_.push_back({mid, m, uptime_.elapsed()});
    if (writer_)
        writer_->setEnabled(mosquitto_want_write(mosq_));
}

void MqttClient::subscribe(const QString& topic)
{
    subscriptions_.append(topic);
    if (connected_)
        mosquitto_subscribe(mosq_, nullptr, topic.toUtf8().constData(), 1);
}

void MqttClient::stop(const Message& last)
{
    stopped_ = true; // the goodbye's own disconnect callback is no loss
    retry_->stop();
    if (connected_) {
        send(last);
        mosquitto_disconnect(mosq_); // written at once: this client has no thread of its own
    } else if (!queue_.empty()) {    // waiting for a broker that is away: lost with this run
        emit logMessage(QStringLiteral("MQTT: stopping, %1 events waiting for the broker are dropped")
                            .arg(queue_.size() + inflight_.size()));
    }
    lost(QStringLiteral("stopped"));
}
