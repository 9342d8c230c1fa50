#pragma once
// What corvane-monitor gives its web page's server: the session's display,
// call list and inputs, the settings store for the own numbers' names, and
// the adapter's operations run between leaving and re-entering trace mode
// (monitor_adapter.h).
#include "monitor/web/web_host.h"

class ContactFolder;
class MissedCount;
class MonitorSession;
class SettingsStore;

class MonitorWebHost : public WebHost {
    Q_OBJECT
public:
    // `ownTraceLevel`: the level the command line asks for (--debug).
    MonitorWebHost(MonitorSession& session, SettingsStore& settings, const ContactFolder& contacts, int ownTraceLevel,
        QObject* parent = nullptr);

    MonitorDisplay display() const override;
    const MonitorInputs& inputs() const override;
    CallList& callList() override;
    int missedCount() const override;
    QString adapterPort() const override;
    bool adapterConnected() const override;
    QString busyWith() const override { return busyWith_; }
    const ContactFolder* contacts() const override;
    bool setMsnNames(const QList<QPair<QString, QString>>& names) override;
    void filesChanged() override;
    void adapter(const AdapterRequest& request, std::function<void(const AdapterReply&)> done) override;
    std::array<TracePane*, 3> tracePanes() override;
    TraceTree& traceTree() override;
    void askTraceLevel(int level) override;
    int traceLevel() const override;

    // The adapter's operations: set by the service, which owns the line.
    std::function<void(const AdapterRequest&, std::function<void(const AdapterReply&)>)> runOnAdapter;
    void setBusyWith(const QString& what);

private:
    MonitorSession& session_;
    SettingsStore& settings_;
    const ContactFolder& contacts_;
    QString busyWith_;
    const int ownTraceLevel_;
};
