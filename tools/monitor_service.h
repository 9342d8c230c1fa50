#pragma once
// corvane-monitor's running part: the adapter found, a monitor session on it,
// and the outputs the command line asked for (list.txt always; NCID and
// call-monitor clients, MQTT, an event program, JSON on stdout), each call
// event also as one line on stderr.
#include "common/stream_writer.h"
#include "device/at_channel.h"
#include "monitor/engine/system_clock.h"
#include "monitor/outputs/call_outputs.h"
#include "monitor/session/monitor_session.h"
#include "phonebook/contact_folder.h"
#include "tools/monitor_adapter.h"
#include "tools/monitor_options.h"
#include "tools/monitor_web_host.h"

#include <QObject>
#include <QTextStream>
#include <memory>
#include <unistd.h>

class SettingsStore;

class MonitorService : public QObject {
    Q_OBJECT
public:
    MonitorService(const MonitorOptions& options, SettingsStore& settings, QObject* parent = nullptr);
    ~MonitorService() override;

    // Finds the adapter, starts the outputs and trace mode. 0 when running,
    // else the exit status after saying why on stderr.
    int start();
    // Trace mode off, the list saved.
    void stop();
    // 0, or 74 when the monitor ends with calls it could not save.
    int exitStatus() const { return exitStatus_; }

    // The line on stderr for a call event.
    static QString eventLine(const CallEvent& event);

private:
    void readSettings();
    int startOutputs();
    void connectLog();
    void log(const QString& text);
    void sayDrops();
    // On stderr at each failed save.
    void announceUnsavedCalls();

    MonitorOptions options_;
    SettingsStore& settings_;
    SystemClock clock_;
    AtChannel at_;
    MonitorSession session_;
    // Neither a JSON reader nor a log reader that stops reading stops the monitor.
    StreamWriter stdout_{STDOUT_FILENO};
    StreamWriter stderr_{STDERR_FILENO};
    QTextStream err_;
    ContactFolder contacts_;
    MonitorWebHost web_;
    MonitorAdapter adapter_; // the web API's requests on the adapter
    CallOutputs outputs_;    // the ones the command line asks for
    bool running_ = false;
    int exitStatus_ = 0;
};
