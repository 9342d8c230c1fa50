#pragma once
// The adapter's configuration while the service holds the line for the trace:
// each request of the web API (and of the front ends) waits its turn, then
// runs between leaving trace mode with the closing sequence and re-entering it
// with the opening one, with the same commands the settings window sends.
// Meanwhile the host says what the service is busy with and the log says
// when the trace is off and on again. While a call is on a channel, requests
// wait for its end, at most ten minutes (a call's end in the gap would never
// be seen), except a hang-up, which ends it.
#include "device/adapter_settings.h"
#include "monitor/web/web_host.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <deque>
#include <functional>

class AtChannel;
class MonitorSession;
class MonitorWebHost;
class SettingsStore;

class MonitorAdapter : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxWaiting = 8;
    static constexpr int kCallCheckMs = 500;
    static constexpr qint64 kMaxCallWaitMs = 10 * 60 * 1000; // then run anyway: the channel may be stuck
    using Done = std::function<void(const AdapterReply&)>;

    MonitorAdapter(MonitorSession& session, AtChannel& at, MonitorWebHost& host, SettingsStore& settings,
        QObject* parent = nullptr);

    // Checks the request at once (a bad one changes nothing), then queues it.
    void request(const AdapterRequest& request, Done done);
    // An operation is running: trace mode is off.
    bool busy() const { return running_; }
    // The service ends: the running operation finishes without re-entering
    // trace mode, the waiting ones are refused.
    void abandon();

signals:
    void logMessage(const QString& text);

private:
    struct Waiting {
        AdapterRequest request;
        Done done;
    };
    void next();
    AdapterReply perform(const AdapterRequest& request);
    AdapterReply readSettings();
    AdapterReply writeSettings(const QJsonObject& changes);
    AdapterReply single(const AdapterRequest& request);
    QJsonObject settingsObject(const AdapterSettings& value) const;

    MonitorSession& session_;
    AtChannel& at_;
    MonitorWebHost& host_;
    SettingsStore& settings_;
    std::deque<Waiting> waiting_;
    QTimer callCheck_;
    QElapsedTimer callWait_; // since the first request waited for a call's end
    bool running_ = false;
    bool abandoned_ = false;
};
