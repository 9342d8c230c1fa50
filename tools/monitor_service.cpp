#include "tools/monitor_service.h"
#include "common/settings_keys.h"

#include "common/log_text.h"
#include "common/settings_store.h"
#include "device/dodova_probe.h"
#include "device/line_settings.h"
#include "device/port_link.h"
#include "monitor/outputs/event_program_runner.h"
#include "monitor/outputs/callmonitor_server.h"
#include "monitor/outputs/json_event_writer.h"
#include "monitor/outputs/mqtt_output.h"
#include "monitor/outputs/ncid_server.h"
#include "monitor/outputs/tcp_listening.h"

#include <QHostAddress>
#include <QSysInfo>
#include <functional>

namespace {
constexpr int kUsageError = 2;
constexpr int kFailure = 1;
// sysexits' EX_IOERR, which systemd shows as "status=74/IOERR".
constexpr int kCallsNotSaved = 74;

// Puts a server on the [ADDR:]PORT its option gave. Returns 0 once it
// listens, else the exit status, the reason logged.
template <class Server>
int listenAt(Server& server, const QString& option, const QString& endpoint, const QString& what,
    const std::function<void(const QString&)>& log)
{
    QHostAddress address;
    quint16 port = 0;
    if (!tcp_listening::parseEndpoint(endpoint, address, port)) {
        log(QStringLiteral("%1 wants [ADDR:]PORT, not %2").arg(option, endpoint));
        return kUsageError;
    }
    if (!server.listen(address, port)) {
        log(QStringLiteral("%1 on %2: %3").arg(what, endpoint, server.errorString()));
        return kFailure;
    }
    log(QStringLiteral("%1 on %2 port %3").arg(what, address.toString()).arg(server.serverPort()));
    return 0;
}

} // namespace

MonitorService::MonitorService(const MonitorOptions& options, SettingsStore& settings, QObject* parent)
    : QObject(parent), options_(options), settings_(settings), at_(settings_, clock_), session_(at_, clock_),
      err_(&stderr_)
{
    sayDrops();
}

void MonitorService::sayDrops()
{
    // Queued: said after the write that dropped, never inside it.
    for (auto [stream, what] : {std::pair{&stdout_, "JSON events"}, std::pair{&stderr_, "log lines"}}) {
        const char* name = stream == &stdout_ ? "standard output" : "standard error";
        connect(
            stream, &StreamWriter::droppingStarted, this,
            [this, what, name] {
                log(QStringLiteral("%1 is not read: dropping the oldest %2")
                        .arg(QLatin1String(name), QLatin1String(what)));
            },
            Qt::QueuedConnection);
        connect(
            stream, &StreamWriter::caughtUp, this,
            [this, what, name](qint64 n) {
                log(QStringLiteral("%1 %2 were dropped while %3 was not read")
                        .arg(n)
                        .arg(QLatin1String(what), QLatin1String(name)));
            },
            Qt::QueuedConnection);
    }
}

MonitorService::~MonitorService() = default;

void MonitorService::log(const QString& text)
{
    err_ << "corvane-monitor: " << logtext::line(text) << Qt::endl;
}

void MonitorService::announceUnsavedCalls()
{
    const QString text = session_.callList().unsavedCallsText();
    log(text);
    if (ncid_)
        ncid_->announce(text);
}

void MonitorService::readSettings()
{
    at_.configure(readLineSettings(settings_, options_.port));
    session_.engine().setInputs(readMonitorInputs(settings_, options_.debug));
    const QString folder = options_.contacts.isEmpty() ? settings_.read(key::ContactsFolder) : options_.contacts;
    if (!folder.isEmpty()) {
        connect(&contacts_, &ContactFolder::changed, this, [this] {
            MonitorInputs in = session_.engine().inputs();
            in.contacts = contacts_.lookup(in.numberPlan);
            session_.engine().setInputs(in);
            const ContactFolder::Contents& c = contacts_.contents();
            log(QStringLiteral("%1 contacts from %2 (%3 unusable)")
                    .arg(c.contacts.size())
                    .arg(contacts_.folder())
                    .arg(c.unusable));
        });
        contacts_.follow(folder, ContactFolder::defaultPictureDir());
    }
}

int MonitorService::start()
{
    readSettings();
    const QString device = at_.portPath();
    if (!at_.portOpens()) {
        log(QStringLiteral("cannot open %1: %2").arg(device, at_.port().errorString()));
        return kFailure;
    }
    if (!answersAsDodova(at_)) {
        log(QStringLiteral("no DodOva answers on %1").arg(device));
        return kFailure;
    }
    if (const int status = startOutputs(); status != 0)
        return status;
    connectLog();
    MonitorEngine& engine = session_.engine();
    engine.reset();
    session_.start();
    engine.clearCallLabels();
    session_.loadList();
    running_ = true;
    log(QStringLiteral("monitoring %1, %2 calls in the list").arg(device).arg(session_.callList().count()));
    return 0;
}

int MonitorService::startMqtt()
{
    MqttConfig config;
    QString error;
    if (!mqtt_config::parseUrl(options_.mqtt, config, error)) {
        log(QStringLiteral("--mqtt %1").arg(error));
        return kUsageError;
    }
    if (!options_.mqttPasswordFile.isEmpty()
        && !mqtt_config::readPasswordFile(options_.mqttPasswordFile, config.password, error)) {
        log(error);
        return kUsageError;
    }
    config.caFile = options_.mqttCa;
    const QString id = options_.mqttId.isEmpty() ? settings_.read(key::MqttDeviceId) : options_.mqttId;
    config.deviceId = id.isEmpty() ? mqtt_config::defaultDeviceId(QSysInfo::machineHostName(), at_.portPath())
                                   : mqtt_config::deviceIdFrom(id);
    if (!options_.mqttDiscovery.isEmpty())
        config.discoveryPrefix = options_.mqttDiscovery;
    if (const QString problem = mqtt_config::namesProblem(config, id); !problem.isEmpty()) {
        log(problem);
        return kUsageError;
    }
    mqtt_ = std::make_unique<MqttOutput>(config);
    connect(mqtt_.get(), &MqttOutput::logMessage, this, &MonitorService::log);
    connect(&session_, &MonitorSession::callEvent, mqtt_.get(), &MqttOutput::callEvent);
    connect(&session_, &MonitorSession::callEvent, this, [this](const CallEvent& e) {
        if (e.missed())
            mqtt_->setMissedCount(++missed_);
    });
    log(QStringLiteral("MQTT to %1 port %2 as %3").arg(config.host).arg(config.port).arg(config.base()));
    mqtt_->start();
    return 0;
}

int MonitorService::startServers()
{
    const auto say = [this](const QString& text) { log(text); };
    if (!options_.callMonitor.isEmpty()) {
        callMonitor_ = std::make_unique<CallMonitorServer>(clock_);
        if (const int status = listenAt(*callMonitor_, QStringLiteral("--callmonitor"), options_.callMonitor,
                QStringLiteral("call monitor"), say))
            return status;
        connect(&session_, &MonitorSession::callEvent, callMonitor_.get(), &CallMonitorServer::callEvent);
        connect(callMonitor_.get(), &CallMonitorServer::logMessage, this, &MonitorService::log);
    }
    if (!options_.ncid.isEmpty()) {
        ncid_ = std::make_unique<NcidServer>(clock_);
        ncid_->setCallList(&session_.callList());
        if (const int status = listenAt(
                *ncid_, QStringLiteral("--ncid"), options_.ncid, QStringLiteral("NCID server"), say))
            return status;
        connect(&session_, &MonitorSession::callEvent, ncid_.get(), &NcidServer::callEvent);
        connect(ncid_.get(), &NcidServer::logMessage, this, &MonitorService::log);
    }
    return options_.mqtt.isEmpty() ? 0 : startMqtt();
}

int MonitorService::startOutputs()
{
    if (const int status = startServers(); status != 0)
        return status;
    if (!options_.hook.isEmpty()) {
        hook_ = std::make_unique<EventProgramRunner>(clock_);
        hook_->setProgram(options_.hook);
        connect(&session_, &MonitorSession::callEvent, hook_.get(), &EventProgramRunner::callEvent);
        connect(hook_.get(), &EventProgramRunner::logMessage, this, &MonitorService::log);
    }
    if (options_.json) {
        json_ = std::make_unique<JsonEventWriter>(&stdout_);
        connect(&session_, &MonitorSession::callEvent, json_.get(), &JsonEventWriter::callEvent);
    }
    return 0;
}

void MonitorService::connectLog()
{
    connect(&session_, &MonitorSession::callEvent, this, [this](const CallEvent& e) { log(eventLine(e)); });
    connect(&session_, &MonitorSession::connectionChanged, this, [this](bool lost) {
        log(lost ? QStringLiteral("adapter lost - reconnecting ...") : QStringLiteral("adapter back, monitoring"));
    });
    // A failed save is announced by callsNotSaved each time, with the calls it keeps.
    const CallList& list = session_.callList();
    connect(&list, &CallList::fileProblemChanged, this, [this, &list] {
        if (list.fileProblem() != CallList::FileProblem::NotSaved)
            log(list.fileProblem() == CallList::FileProblem::None ? QStringLiteral("call list saved")
                                                                  : list.fileProblemText());
    });
    connect(&list, &CallList::callsNotSaved, this, &MonitorService::announceUnsavedCalls);
    connect(&session_, &MonitorSession::traceModeFailed, this,
        [this] { log(QStringLiteral("the adapter did not confirm trace mode")); });
    MonitorEngine& engine = session_.engine();
    for (TracePane* pane : {&engine.Text1(), &engine.Text2(), &engine.Text3()})
        connect(pane, &TracePane::appended, this, [this](const QString& text) {
            err_ << logtext::trace(text);
            err_.flush();
        });
}

void MonitorService::stop()
{
    if (!running_)
        return;
    running_ = false;
    session_.stop(true); // the adapter leaves trace mode whatever the save did
    if (mqtt_)
        mqtt_->stop();
    const bool saved = session_.callList().unsavedCalls() == 0;
    log(saved ? QStringLiteral("trace mode off, list saved") : QStringLiteral("trace mode off, calls NOT saved"));
    if (!saved)
        exitStatus_ = kCallsNotSaved;
}

QString MonitorService::eventLine(const CallEvent& e)
{
    QString line = callEventName(e.kind);
    if (!e.channel.isNull())
        line += QStringLiteral(" channel %1").arg(e.channel);
    if (e.kind == CallEvent::Kind::Phase)
        return line + u' ' + callPhaseName(e.phase);
    if (!e.msn.isEmpty())
        line += QStringLiteral(" msn %1").arg(e.msn);
    line += QStringLiteral(" number %1").arg(e.number.isEmpty() ? QStringLiteral("-") : e.number);
    if (!e.name.isEmpty())
        line += QStringLiteral(" (%1)").arg(e.name);
    if (e.kind == CallEvent::Kind::RingEnded || e.kind == CallEvent::Kind::Ended)
        line += e.answered ? QStringLiteral(" answered") : QStringLiteral(" unanswered");
    if (e.kind == CallEvent::Kind::Logged)
        line += QStringLiteral(" %1 %2 cost %3")
                    .arg(e.type ? call_type::text(*e.type) : QStringLiteral("-"), e.duration, e.cost);
    if (e.kind == CallEvent::Kind::Ended)
        line += QStringLiteral(" %1, %2 s talked")
                    .arg(e.type ? call_type::text(*e.type) : QStringLiteral("-"))
                    .arg(e.seconds);
    return line;
}
