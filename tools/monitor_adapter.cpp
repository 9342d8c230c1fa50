#include "tools/monitor_adapter.h"

#include "common/settings_keys.h"
#include "common/settings_store.h"
#include "device/adapter_control.h"
#include "device/charge_counters.h"
#include "monitor/session/monitor_session.h"
#include "device/config_values.h"
#include "tools/monitor_web_host.h"

#include <QDateTime>
#include <QJsonArray>
#include <QTimer>

namespace {

AdapterReply failure(int status, const char* code, const QString& message)
{
    return {status, QJsonObject{{"error", QLatin1String(code)}, {"message", message}}};
}

AdapterReply unanswered(const AdapterControl::Tally& tally)
{
    return failure(503, "adapter-unavailable",
        QStringLiteral("the adapter did not answer %1 of %2 commands").arg(tally.missing).arg(tally.sent));
}

// The PUT body's changes as "NAME=VALUE", or why they are refused.
std::optional<QStringList> assignments(const QJsonValue& settings, QString& why)
{
    if (!settings.isObject()) {
        why = QStringLiteral("send {\"settings\": {\"NAME\": \"VALUE\", ...}}");
        return std::nullopt;
    }
    QStringList out;
    AdapterSettings check;
    const QJsonObject object = settings.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!it.value().isString()) {
            why = QStringLiteral("the value of %1 is not a string").arg(it.key().left(40));
            return std::nullopt;
        }
        out << it.key() + u'=' + it.value().toString();
        if (const std::optional<QString> refused = configtext::applyChange(check, out.last())) {
            why = *refused;
            return std::nullopt;
        }
    }
    return out;
}

// The commands that act at once, under the API's names for them; a name not
// here is refused before anything is sent.
struct SingleCommand {
    const char* operation;
    AtReply (*run)(AdapterControl& control, int number);
};
constexpr SingleCommand kSingleCommands[] = {
    {"profile-load", [](AdapterControl& c, int n) { return c.loadProfile(n); }},
    {"profile-save", [](AdapterControl& c, int n) { return c.saveProfile(n); }},
    {"factory", [](AdapterControl& c, int) { return c.loadFactory(); }},
    {"hangup", [](AdapterControl& c, int n) { return c.hangUp(n); }},
    {"counters-reset", [](AdapterControl& c, int) { return c.resetCounters(); }},
};

const SingleCommand* singleCommand(const QString& operation)
{
    for (const SingleCommand& command : kSingleCommands)
        if (operation == QLatin1String(command.operation))
            return &command;
    return nullptr;
}

bool known(const QString& operation)
{
    return operation == u"settings-read" || operation == u"settings-write" || singleCommand(operation);
}

} // namespace

MonitorAdapter::MonitorAdapter(
    MonitorSession& session, AtChannel& at, MonitorWebHost& host, SettingsStore& settings, QObject* parent)
    : QObject(parent), session_(session), at_(at), host_(host), settings_(settings)
{
    callCheck_.setSingleShot(true);
    callCheck_.setInterval(kCallCheckMs);
    connect(&callCheck_, &QTimer::timeout, this, &MonitorAdapter::next);
}

void MonitorAdapter::request(const AdapterRequest& request, Done done)
{
    QString why;
    if (!known(request.operation)) {
        done(failure(400, "bad-request", QStringLiteral("no such operation on the adapter")));
    } else if (request.operation == u"settings-write" && !assignments(request.body.value(u"settings"), why)) {
        done(failure(400, "bad-value", why));
    } else if (abandoned_) {
        done(failure(503, "adapter-unavailable", QStringLiteral("the service is ending")));
    } else if (session_.connectionLost()) {
        done(failure(503, "adapter-unavailable", QStringLiteral("the adapter is lost; the service reconnects")));
    } else if (int(waiting_.size()) >= kMaxWaiting) {
        done(failure(503, "adapter-busy", QStringLiteral("%1 requests wait for the adapter already").arg(kMaxWaiting)));
    } else {
        waiting_.push_back({request, std::move(done)});
        QTimer::singleShot(0, this, &MonitorAdapter::next);
    }
}

void MonitorAdapter::abandon()
{
    abandoned_ = true;
    for (Waiting& w : std::exchange(waiting_, {}))
        w.done(failure(503, "adapter-unavailable", QStringLiteral("the service is ending")));
}

void MonitorAdapter::next()
{
    if (running_ || waiting_.empty() || abandoned_)
        return;
    const bool hangUp = waiting_.front().request.operation == u"hangup";
    if (!hangUp && session_.engine().callOnChannel()) {
        if (!callWait_.isValid())
            callWait_.start();
        if (callWait_.elapsed() < kMaxCallWaitMs) {
            callCheck_.start();
            return;
        } // a channel that long busy may be stuck: the settings need not wait for it
    }
    callWait_.invalidate();
    const Waiting w = std::move(waiting_.front());
    waiting_.pop_front();
    running_ = true;
    const QString& what = w.request.operation;
    host_.setBusyWith(what);
    emit logMessage(QStringLiteral("configuring the adapter (%1): trace mode off").arg(what));
    if (hangUp)
        session_.stopEndingCalls();
    else
        session_.stop(false);
    const AdapterReply reply = perform(w.request); // events run meanwhile: requests queue up
    if (!abandoned_) {
        session_.start();
        emit logMessage(QStringLiteral("configuring the adapter (%1): trace mode on again").arg(what));
    }
    running_ = false;
    host_.setBusyWith({});
    w.done(reply);
    if (!waiting_.empty())
        QTimer::singleShot(0, this, &MonitorAdapter::next);
}

AdapterReply MonitorAdapter::perform(const AdapterRequest& r)
{
    if (r.operation == u"settings-read")
        return readSettings();
    if (r.operation == u"settings-write")
        return writeSettings(r.body.value(u"settings").toObject());
    return single(r);
}

QJsonObject MonitorAdapter::settingsObject(const AdapterSettings& value) const
{
    QJsonObject settings = configtext::showObject(value);
    settings.insert(u"UnitCost", settings_.read(key::UnitCost));
    settings.insert(u"LastReset", settings_.read(key::LastReset));
    return {{"settings", settings}, {"settable", QJsonArray::fromStringList(configtext::settableNames())}};
}

AdapterReply MonitorAdapter::readSettings()
{
    AdapterControl control(at_);
    AdapterSettings value;
    const AdapterControl::Tally tally = control.read(value);
    if (control.deviceAbsent() || tally.missing > 0)
        return unanswered(tally);
    return {200, settingsObject(value)};
}

// As the settings window's Transmit Settings on what was just read and
// changed, then read back; the device's range warnings and refusals are told.
AdapterReply MonitorAdapter::writeSettings(const QJsonObject& changes)
{
    AdapterControl control(at_);
    AdapterSettings value;
    if (const AdapterControl::Tally tally = control.read(value); control.deviceAbsent() || tally.missing > 0)
        return unanswered(tally); // nothing is written over settings not known
    QString why;
    const QStringList wanted = assignments(changes, why).value_or(QStringList()); // checked on arrival
    for (const QString& change : wanted)
        configtext::applyChange(value, change);
    QStringList warnings;
    control.warn = [&warnings](const QString& text, const QString&) { warnings << text; };
    const QStringList refused = control.transmit(value);
    AdapterSettings back;
    if (const AdapterControl::Tally tally = control.read(back); control.deviceAbsent() || tally.missing > 0)
        return unanswered(tally);
    QJsonObject answer = settingsObject(back);
    answer.insert(u"warnings", QJsonArray::fromStringList(warnings));
    answer.insert(u"refused", QJsonArray::fromStringList(refused));
    return {200, answer};
}

// The commands that act at once: profiles, factory settings, hang-up, counters.
AdapterReply MonitorAdapter::single(const AdapterRequest& r)
{
    AdapterControl control(at_);
    const QString& op = r.operation;
    const AtReply reply = singleCommand(op)->run(control, r.number); // known: checked on arrival
    if (reply.outcome == AtOutcome::Refused)
        return failure(409, "refused", QStringLiteral("the adapter refused the command"));
    if (reply.outcome != AtOutcome::Answered)
        return failure(503, "adapter-unavailable", QStringLiteral("the adapter did not answer"));
    if (op == u"counters-reset") // the settings window shows when
        settings_.write(key::LastReset, resetStamp(QDateTime::currentDateTime()));
    return {204, {}};
}
