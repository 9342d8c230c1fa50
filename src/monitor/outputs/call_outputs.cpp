#include "monitor/outputs/call_outputs.h"

#include "monitor/engine/call_list.h"
#include "monitor/engine/missed_count.h"
#include "monitor/outputs/callmonitor_server.h"
#include "monitor/outputs/desktop_notifier.h"
#include "monitor/outputs/event_program_runner.h"
#include "monitor/outputs/json_event_writer.h"
#include "monitor/outputs/mqtt_output.h"
#include "monitor/outputs/ncid_server.h"
#include "monitor/outputs/tcp_listening.h"

#include <QStringList>

namespace {

using Running = CallOutputs::Running;

// A server on the plan's endpoint; `what` begins its log lines.
template <class Server>
Running listening(const ServerPlan& plan, const QString& what, std::unique_ptr<Server> server, CallOutputs& owner)
{
    QHostAddress address;
    quint16 port = 0;
    if (!tcp_listening::parseEndpoint(plan.endpoint, address, port))
        return {nullptr, OutputState::BadSettings, CallOutputs::tr("Not a valid address and port"),
            QStringLiteral("%1 wants [ADDR:]PORT, not %2").arg(what, plan.endpoint), {}};
    if (!server->listen(address, port)) {
        const QString why = server->errorString();
        return {nullptr, OutputState::Failed, CallOutputs::tr("Cannot listen: %1").arg(why),
            QStringLiteral("%1 on %2: %3").arg(what, plan.endpoint, why), {}};
    }
    QObject::connect(server.get(), &Server::logMessage, &owner, &CallOutputs::logMessage);
    const QString host = address.toString(), listens = QString::number(server->serverPort());
    return {std::move(server), OutputState::Running, CallOutputs::tr("Listening on %1 port %2").arg(host, listens),
        QStringLiteral("%1 on %2 port %3").arg(what, host, listens), {}};
}

Running startNcid(const OutputPlan& plan, const OutputContext& context, CallOutputs& owner)
{
    auto server = std::make_unique<NcidServer>(context.clock);
    server->setCallList(context.callList);
    if (const CallList* list = context.callList) // announced as the log says it
        QObject::connect(list, &CallList::callsNotSaved, server.get(),
            [server = server.get(), list] { server->announce(list->unsavedCallsText()); });
    return listening(plan.ncid, QStringLiteral("NCID server"), std::move(server), owner);
}

Running startCallMonitor(const OutputPlan& plan, const OutputContext& context, CallOutputs& owner)
{
    return listening(
        plan.callMonitor, QStringLiteral("call monitor"), std::make_unique<CallMonitorServer>(context.clock), owner);
}

Running startMqtt(const OutputPlan& plan, const OutputContext& context, CallOutputs& owner)
{
    if (plan.mqtt.url.trimmed().isEmpty())
        return {nullptr, OutputState::BadSettings, CallOutputs::tr("Not started: type the broker's address"),
            QStringLiteral("MQTT not started: no broker address"), {}};
    MqttConfig config;
    if (const QString problem = output_plan::mqttConfig(plan, config); !problem.isEmpty())
        return {nullptr, OutputState::BadSettings, CallOutputs::tr("Not started: %1").arg(problem),
            QStringLiteral("MQTT not started: %1").arg(problem), {}};
    auto mqtt = std::make_unique<MqttOutput>(config);
    QObject::connect(mqtt.get(), &MqttOutput::logMessage, &owner, &CallOutputs::logMessage);
    if (context.missed) {
        mqtt->setMissedCount(context.missed->count());
        QObject::connect(context.missed, &MissedCount::changed, mqtt.get(), &MqttOutput::setMissedCount);
    }
    mqtt->start();
    return {std::move(mqtt), OutputState::Running, {},
        QStringLiteral("MQTT to %1 port %2 as %3").arg(config.host).arg(config.port).arg(config.base()), {}};
}

// What the user reads of the MQTT connection as it stands.
std::pair<OutputState, QString> mqttLinkText(const MqttOutput& mqtt)
{
    const MqttConfig& c = mqtt.config();
    const QString port = QString::number(c.port), why = mqtt.linkDetail();
    using L = MqttClient::Link;
    switch (mqtt.link()) {
    case L::Connecting:
        return {OutputState::Running, CallOutputs::tr("Connecting to %1 port %2 ...").arg(c.host, port)};
    case L::Connected:
        return {OutputState::Running, CallOutputs::tr("Publishing to %1 port %2 as %3").arg(c.host, port, c.base())};
    case L::UnknownHost: return {OutputState::Failed, CallOutputs::tr("Unknown host %1; trying again").arg(c.host)};
    case L::Refused:
        return {
            OutputState::Failed, CallOutputs::tr("%1 port %2 refused the connection; trying again").arg(c.host, port)};
    case L::NotAuthorised:
        return {OutputState::Failed, CallOutputs::tr("Wrong user name or password for %1; trying again").arg(c.host)};
    case L::Lost:
        return {OutputState::Failed, CallOutputs::tr("Connection to %1 lost (%2); reconnecting").arg(c.host, why)};
    case L::Failed: break;
    }
    return {
        OutputState::Failed, CallOutputs::tr("Cannot connect to %1 port %2 (%3); trying again").arg(c.host, port, why)};
}

Running startProgram(const OutputPlan& plan, const OutputContext& context, CallOutputs& owner)
{
    auto runner = std::make_unique<EventProgramRunner>(context.clock);
    runner->setProgram(plan.program);
    QObject::connect(runner.get(), &EventProgramRunner::logMessage, &owner, &CallOutputs::logMessage);
    return {std::move(runner), OutputState::Running, CallOutputs::tr("On"), {}, {}};
}

Running startJson(const OutputPlan&, const OutputContext& context, CallOutputs&)
{
    if (!context.jsonOut)
        return {nullptr, OutputState::Failed, CallOutputs::tr("Cannot write"), QStringLiteral("JSON events: no output"),
            {}};
    return {std::make_unique<JsonEventWriter>(context.jsonOut), OutputState::Running, CallOutputs::tr("On"), {}, {}};
}

Running startDesktop(const OutputPlan&, const OutputContext& context, CallOutputs&)
{
    auto notifier = std::make_unique<DesktopNotifier>();
    notifier->setFallback(context.tray);
    if (context.showMonitor)
        QObject::connect(notifier.get(), &DesktopNotifier::activated, notifier.get(), context.showMonitor);
    return {std::move(notifier), OutputState::Running, CallOutputs::tr("On"), {}, {}};
}

Running startWeb(const OutputPlan& plan, const OutputContext& context, CallOutputs& owner)
{
    if (!context.web)
        return {nullptr, OutputState::Failed, CallOutputs::tr("Not in this program"),
            QStringLiteral("web page: only corvane-monitor serves it"), {}};
    StartedOutput started = context.web(plan.web, owner);
    const OutputState state = started.output        ? OutputState::Running
                              : started.badSettings ? OutputState::BadSettings
                                                    : OutputState::Failed;
    return {std::move(started.output), state, started.text, started.log, {}};
}

QString webSettings(const OutputPlan& plan)
{
    const WebPlan& w = plan.web;
    return w.on ? QStringList{w.endpoint, w.passwordFile, w.certFile, w.keyFile}.join(u'\n') : QString();
}

QString serverSettings(const ServerPlan& plan)
{
    return plan.on ? plan.endpoint : QString();
}

QString flag(bool on)
{
    return on ? QStringLiteral("on") : QString();
}

QString mqttSettings(const OutputPlan& plan)
{
    const MqttPlan& m = plan.mqtt;
    return m.on ? QStringList{m.url, m.password, m.passwordFile, m.caFile, m.deviceId, m.discovery, plan.adapterPort}
                      .join(u'\n')
                : QString();
}

// Every output: what it runs with ("" when it is off; a change starts it
// again) and how it starts.
struct OutputKind {
    OutputId id;
    QString (*settings)(const OutputPlan& plan);
    Running (*start)(const OutputPlan& plan, const OutputContext& context, CallOutputs& owner);
};
const OutputKind kOutputs[] = {
    {OutputId::Ncid, [](const OutputPlan& p) { return serverSettings(p.ncid); }, startNcid},
    {OutputId::CallMonitor, [](const OutputPlan& p) { return serverSettings(p.callMonitor); }, startCallMonitor},
    {OutputId::Mqtt, mqttSettings, startMqtt},
    {OutputId::Program, [](const OutputPlan& p) { return p.program; }, startProgram},
    {OutputId::Json, [](const OutputPlan& p) { return flag(p.json); }, startJson},
    {OutputId::Desktop, [](const OutputPlan& p) { return flag(p.desktop); }, startDesktop},
    {OutputId::Web, webSettings, startWeb},
};
static_assert(std::size(kOutputs) == size_t(OutputId::Count));

} // namespace

CallOutputs::CallOutputs(OutputContext context, QObject* parent) : QObject(parent), context_(std::move(context))
{
    for (Running& r : outputs_)
        r.text = tr("Off");
}

CallOutputs::~CallOutputs()
{
    stop();
}

void CallOutputs::apply(const OutputPlan& plan)
{
    for (const OutputKind& kind : kOutputs) {
        Running& r = outputs_[size_t(kind.id)];
        const QString settings = kind.settings(plan);
        if (r.output && settings == r.settings)
            continue; // running as asked
        if (r.output)
            r.output->stop();
        r = {nullptr, OutputState::Off, tr("Off"), {}, {}};
        if (settings.isEmpty())
            continue;
        r = kind.start(plan, context_, *this);
        r.settings = settings;
        if (auto* mqtt = dynamic_cast<MqttOutput*>(r.output.get())) {
            connect(mqtt, &MqttOutput::linkChanged, this, &CallOutputs::showMqttLink);
            showMqttLink();
        }
        if (!r.log.isEmpty())
            emit logMessage(r.log);
    }
}

void CallOutputs::stop()
{
    for (Running& r : outputs_) {
        if (r.output)
            r.output->stop();
        r = {nullptr, OutputState::Off, tr("Off"), {}, {}};
    }
}

void CallOutputs::showMqttLink()
{
    Running& r = outputs_[size_t(OutputId::Mqtt)];
    if (const auto* mqtt = dynamic_cast<const MqttOutput*>(r.output.get())) {
        std::tie(r.state, r.text) = mqttLinkText(*mqtt);
        emit stateChanged();
    }
}

OutputState CallOutputs::state(OutputId id) const
{
    return outputs_[size_t(id)].state;
}

QString CallOutputs::stateText(OutputId id) const
{
    return outputs_[size_t(id)].text;
}

void CallOutputs::callEvent(const CallEvent& event)
{
    for (Running& r : outputs_)
        if (r.output)
            r.output->callEvent(event);
}
