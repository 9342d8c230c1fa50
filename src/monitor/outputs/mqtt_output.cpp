#include "monitor/outputs/mqtt_output.h"

#include "monitor/outputs/mqtt_messages.h"

MqttOutput::MqttOutput(const MqttConfig& config, QObject* parent)
    : QObject(parent), config_(config),
      client_(new MqttClient(config, mqtt_messages::statusTopic(config), mqtt_messages::kOffline, this))
{
    connect(client_, &MqttClient::logMessage, this, &MqttOutput::logMessage);
    connect(client_, &MqttClient::linkChanged, this, &MqttOutput::linkChanged);
    connect(client_, &MqttClient::connected, this, &MqttOutput::publishState);
    const QString homeAssistant = config_.discoveryPrefix + QStringLiteral("/status");
    connect(client_, &MqttClient::message, this, [this, homeAssistant](const QString& topic, const QByteArray& text) {
        if (topic == homeAssistant && text.trimmed() == mqtt_messages::kOnline)
            homeAssistantBack();
    });
    rediscover_.setSingleShot(true);
    connect(&rediscover_, &QTimer::timeout, this, &MqttOutput::publishState);
    client_->subscribe(homeAssistant);
}

MqttOutput::~MqttOutput() = default;

void MqttOutput::start()
{
    client_->start();
}

void MqttOutput::stop()
{
    client_->stop(mqtt_messages::status(config_, false));
}

bool MqttOutput::isConnected() const
{
    return client_->isConnected();
}

// Home Assistant restarted: it forgot the devices. Many "online"s in a row
// are answered once now and once when the pause is over.
void MqttOutput::homeAssistantBack()
{
    if (rediscover_.isActive())
        return;
    const qint64 wait = announced_.isValid() ? kRediscoverMs - announced_.elapsed() : 0;
    if (wait <= 0)
        publishState();
    else
        rediscover_.start(int(wait));
}

void MqttOutput::publishState()
{
    rediscover_.stop();
    announced_.start();
    for (const MqttClient::Message& m : mqtt_messages::discovery(config_))
        client_->publish(m);
    for (int ch = 0; ch < int(phases_.size()); ++ch)
        client_->publish(mqtt_messages::phase(config_, ch, phases_[size_t(ch)]));
    client_->publish(mqtt_messages::missed(config_, missed_));
    if (lastCall_)
        client_->publish(*lastCall_);
    client_->publish(mqtt_messages::status(config_, true));
}

void MqttOutput::callEvent(const CallEvent& event)
{
    const int ch = event.channel == u'A' ? 0 : event.channel == u'B' ? 1 : -1;
    if (event.kind == CallEvent::Kind::Phase && ch >= 0)
        phases_[size_t(ch)] = event.phase;
    for (const MqttClient::Message& m : mqtt_messages::forEvent(config_, event)) {
        if (m.retain && event.kind == CallEvent::Kind::Ended)
            lastCall_ = m; // the broker may be away now: sent again at the next connect
        client_->publish(m);
    }
}

void MqttOutput::setMissedCount(int count)
{
    if (std::exchange(missed_, count) != count)
        client_->publish(mqtt_messages::missed(config_, count));
}
