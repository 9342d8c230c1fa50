#include "tools/monitor_service.h"
#include "common/service_address.h"
#include "common/settings_keys.h"

#include "common/log_text.h"
#include "common/settings_store.h"
#include "device/dodova_probe.h"
#include "device/line_settings.h"
#include "device/port_link.h"
#include "monitor/outputs/output_plan.h"
#include "monitor/web/web_output.h"

namespace {
constexpr int kUsageError = 2;
constexpr int kFailure = 1;
// sysexits' EX_IOERR, which systemd shows as "status=74/IOERR".
constexpr int kCallsNotSaved = 74;

// The web page as the command line asks for it, else as the store has it
// (the systemd unit runs without options).
// The page where asked for; else a server on a free loopback port for the
// front ends alone. Either way the address file tells the front ends.
WebPlan webPlan(const MonitorOptions& o, const SettingsStore& store)
{
    WebPlan plan;
    plan.on = true;
    if (!o.web.isEmpty()) {
        plan.endpoint = o.web;
        plan.passwordFile = o.webPasswordFile;
        plan.certFile = o.webCert;
        plan.keyFile = o.webKey;
    } else if (store.isOne(key::WebServer)) {
        const QString address = store.read(key::WebAddress).trimmed();
        const QString host = address.contains(u':') ? u'[' + address + u']' : address;
        plan.endpoint = host + u':' + store.read(key::WebPort).trimmed();
        plan.passwordFile = store.read(key::WebPasswordFile);
        plan.certFile = store.read(key::WebCertFile);
        plan.keyFile = store.read(key::WebKeyFile);
    } else {
        plan.frontEndsOnly = true;
    }
    plan.addressFile = serviceaddress::ownFile(&plan.groupReadable);
    plan.token = serviceaddress::newToken();
    return plan;
}

// The outputs the command line asks for; the store names the MQTT device
// when the command line does not, as the window does.
OutputPlan outputPlan(const MonitorOptions& o, const SettingsStore& store, const QString& adapterPort)
{
    OutputPlan plan;
    plan.ncid = {!o.ncid.isEmpty(), o.ncid};
    plan.callMonitor = {!o.callMonitor.isEmpty(), o.callMonitor};
    plan.mqtt.on = !o.mqtt.isEmpty();
    plan.mqtt.url = o.mqtt;
    plan.mqtt.passwordFile = o.mqttPasswordFile;
    plan.mqtt.caFile = o.mqttCa;
    plan.mqtt.deviceId = o.mqttId.isEmpty() ? store.read(key::MqttDeviceId) : o.mqttId;
    plan.mqtt.discovery = o.mqttDiscovery;
    plan.web = webPlan(o, store);
    plan.program = o.hook;
    plan.json = o.json;
    plan.adapterPort = adapterPort;
    plan.web.heldPort = adapterPort;
    return plan;
}

} // namespace

MonitorService::MonitorService(const MonitorOptions& options, SettingsStore& settings, QObject* parent)
    : QObject(parent), options_(options), settings_(settings), at_(settings_, clock_), session_(at_, clock_),
      err_(&stderr_), web_(session_, settings_, contacts_, options_.debug), adapter_(session_, at_, web_, settings_),
      outputs_({clock_, &session_.callList(), &session_.missedCount(), &stdout_, {},
          [this](const WebPlan& plan, CallOutputs& owner) { return WebOutput::start(plan, web_, owner); }})
{
    sayDrops();
    web_.runOnAdapter = [this](const AdapterRequest& r, MonitorAdapter::Done done) {
        adapter_.request(r, std::move(done));
    };
    connect(&adapter_, &MonitorAdapter::logMessage, this, &MonitorService::log);
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
    log(session_.callList().unsavedCallsText()); // NCID clients hear it from their server
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

int MonitorService::startOutputs()
{
    connect(&outputs_, &CallOutputs::logMessage, this, &MonitorService::log);
    outputs_.apply(outputPlan(options_, settings_, at_.portPath()));
    int status = 0;
    for (int id = 0; id < int(OutputId::Count); ++id)
        if (const OutputState state = outputs_.state(OutputId(id)); state == OutputState::BadSettings)
            status = kUsageError;
        else if (state == OutputState::Failed && status == 0)
            status = kFailure;
    if (status == 0)
        connect(&session_, &MonitorSession::callEvent, &outputs_, &CallOutputs::callEvent);
    return status;
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
    if (options_.debug == 0)
        return; // the trace a front end asks for is its own
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
    const bool configuring = adapter_.busy(); // then trace mode is off already and stays off
    adapter_.abandon();
    if (configuring)
        session_.saveList();
    else
        session_.stop(true); // the adapter leaves trace mode whatever the save did
    outputs_.stop();
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
