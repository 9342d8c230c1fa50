#pragma once
// The monitor's calls over MQTT (mqtt_messages.h has the topics): each call
// event as it happens, the retained state (availability, each channel's phase,
// the last call, the missed calls) and Home Assistant's discovery configs,
// published at every connect and whenever Home Assistant says it is back
// ("online" on "<discovery>/status"), at most once per kRediscoverMs: any
// client may publish that as often as it likes.
#include "monitor/outputs/call_output.h"
#include "monitor/outputs/mqtt_client.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <array>
#include <optional>

class MqttOutput : public QObject, public CallOutput {
    Q_OBJECT
public:
    static constexpr int kRediscoverMs = 5000;

    explicit MqttOutput(const MqttConfig& config, QObject* parent = nullptr);
    ~MqttOutput() override;

    void start();
    // "offline" and goodbye, without waiting.
    void stop() override;
    const MqttConfig& config() const { return config_; }
    bool isConnected() const;
    MqttClient::Link link() const { return client_->link(); }
    QString linkDetail() const { return client_->linkDetail(); }

public slots:
    void callEvent(const CallEvent& event) override;
    // The missed calls since the start or since someone last looked (MissedCount).
    void setMissedCount(int count);

signals:
    void logMessage(const QString& text);
    void linkChanged();

private:
    void publishState();
    void homeAssistantBack();

    MqttConfig config_;
    MqttClient* client_;
    std::array<CallPhase, 2> phases_{};
    std::optional<MqttClient::Message> lastCall_;
    int missed_ = 0;
    QElapsedTimer announced_; // since the last publishState (steady)
    QTimer rediscover_;       // the "online" that came too soon, answered later
};
