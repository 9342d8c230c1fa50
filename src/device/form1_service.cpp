// Form1 on a running corvane-monitor: the window's commands as requests to
// the service's API, which leaves trace mode for them and enters it again.
// The window behaves as on the port (its change tracking, questions and
// messages); what the service cannot do is said in the status line, and when
// the service goes away the user may take the port.
#include "device/form1.h"
#include "device/form1_ui.h"

#include "device/config_values.h"
#include "device/push_channel.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QThread>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <algorithm>

namespace {

constexpr int kOk = 200;
constexpr int kDone = 204;
constexpr int kBadValue = 400;
constexpr int kRefused = 409;
constexpr int kUnavailable = 503;
constexpr int kServiceEndMs = 10000; // saving the call list, leaving trace mode
constexpr int kServiceEndPollMs = 50;

// Done, refused by the adapter, or not answered by it: what the port would have said.
bool adapterAnswered(const ServiceClient::Reply& reply)
{
    return reply.status == kDone || reply.status == kRefused || reply.status == kUnavailable;
}

// What the service is busy with, by the names of its state's "busyWith".
struct Operation {
    const char* name;
    const char* text;
};
constexpr Operation kOperations[] = {
    {"settings-read", QT_TRANSLATE_NOOP("Form1", "reading the settings")},
    {"settings-write", QT_TRANSLATE_NOOP("Form1", "writing the settings")},
    {"profile-load", QT_TRANSLATE_NOOP("Form1", "loading a profile")},
    {"profile-save", QT_TRANSLATE_NOOP("Form1", "saving a profile")},
    {"factory", QT_TRANSLATE_NOOP("Form1", "loading the factory settings")},
    {"hangup", QT_TRANSLATE_NOOP("Form1", "hanging up")},
    {"counters-reset", QT_TRANSLATE_NOOP("Form1", "resetting the charge counters")},
};

bool callOnTheLine(const QJsonObject& state)
{
    for (const QJsonValue& channel : state.value(u"channels").toArray()) {
        const QString phase = channel.toObject().value(u"phase").toString();
        if (!phase.isEmpty() && phase != u"idle")
            return true;
    }
    return false;
}

QStringList texts(const QJsonValue& list)
{
    QStringList out;
    for (const QJsonValue& v : list.toArray())
        out << v.toString();
    return out;
}

} // namespace

void Form1::attach(const serviceaddress::Address& service)
{
    service_ = std::make_shared<ServiceClient>(service);
    if (!serviceLabel_) {
        serviceLabel_ = new QLabel;
        serviceLabel_->setObjectName(QStringLiteral("ServiceText"));
        statusBar()->addPermanentWidget(serviceLabel_);
    }
    serviceLabel_->setText(service.pid > 0
                               ? tr("Through corvane-monitor (process %1) at %2").arg(service.pid).arg(service.url)
                               : tr("Through corvane-monitor at %1").arg(service.url));
    serviceLabel_->setToolTip(tr("The service holds the adapter on %1 and follows its calls; this window's "
                                 "commands go through it.")
                                  .arg(service.port));
    serviceLabel_->show();
}

void Form1::detach()
{
    service_.reset();
    if (serviceLabel_)
        serviceLabel_->hide();
}

Form1::ServiceFound Form1::detectService(serviceaddress::Address& silent, QString& why)
{
    const std::optional<serviceaddress::Address> candidate = serviceUrl_.isEmpty()
                                                                 ? serviceaddress::holding(at_.portPath())
                                                                 : serviceAt(serviceUrl_);
    if (!candidate)
        return ServiceFound::None;
    serviceaddress::Address service = *candidate;
    const ServiceClient::Reply reply = ServiceClient(service).state();
    if (reply.status != kOk) {
        silent = service;
        why = serviceProblem(reply, service.url);
        return ServiceFound::Silent;
    }
    if (service.port.isEmpty())
        service.port = reply.body.value(u"adapter").toObject().value(u"port").toString();
    attach(service);
    return ServiceFound::Attached;
}

ServiceClient::Reply Form1::onService(
    const QString& doing, const QString& operation, const std::function<ServiceClient::Reply(ServiceClient&)>& request)
{
    const std::shared_ptr<ServiceClient> service = service_; // kept while events run
    showStatus(doing);
    paintLamp(AtChannel::kCommandColour);
    PushChannel channel(service->address()); // its state says what the request waits for
    connect(&channel, &PushChannel::received, this, [&](const pushchannel::Message& m) {
        if (m.event == "state")
            showStatus(waitingText(QJsonDocument::fromJson(m.data).object(), operation, doing));
    });
    channel.start();
    const ServiceClient::Reply reply = request(*service);
    paintLamp(AtChannel::kIdleColour);
    return reply;
}

// A request waits while the service configures the adapter for another front
// end, and while a call is on the line (at most ten minutes: the trace must not
// miss the call's end), except a hang-up, which ends the call.
QString Form1::waitingText(const QJsonObject& state, const QString& operation, const QString& doing) const
{
    const QJsonObject adapter = state.value(u"adapter").toObject();
    const QString busyWith = adapter.value(u"busyWith").toString();
    if (adapter.value(u"busy").toBool()) {
        if (busyWith == operation)
            return doing;
        const auto* const known = std::find_if(std::begin(kOperations), std::end(kOperations),
            [&busyWith](const Operation& o) { return busyWith == QLatin1String(o.name); });
        return tr("Waiting while corvane-monitor is %1 for another window or the web page ...")
            .arg(known != std::end(kOperations) ? tr(known->text) : busyWith);
    }
    if (operation != u"hangup" && callOnTheLine(state))
        return tr("Waiting for the call on the line to end: corvane-monitor changes the adapter only between "
                  "calls (10 minutes at most) ...");
    return doing;
}

std::optional<serviceaddress::Address> Form1::attachedService() const
{
    return service_ ? std::optional(service_->address()) : std::nullopt;
}

QString Form1::attachedUrl() const
{
    return service_ ? service_->address().url : QString();
}

QString Form1::serviceProblem(const ServiceClient::Reply& reply, const QString& url) const
{
    if (reply.status == 0)
        return tr("corvane-monitor at %1 did not answer: %2").arg(url, reply.message());
    return tr("corvane-monitor refused the request: %1").arg(reply.explained());
}

bool Form1::serviceFailed(const ServiceClient::Reply& reply)
{
    if (reply.gone())
        return serviceGone(reply.error != QNetworkReply::ConnectionRefusedError);
    showStatus(serviceProblem(reply, attachedUrl()));
    return false;
}

// The service ended (or crashed): the port may be free. A new service on the
// port takes over; else the user chooses.
bool Form1::serviceGone(bool ending)
{
    if (!service_)
        return true; // left meanwhile (while this request waited): the command runs on the port
    const serviceaddress::Address was = service_->address();
    const QString port = was.port.isEmpty() ? at_.portPath() : was.port;
    if (const std::optional<serviceaddress::Address> now = serviceaddress::holding(port);
        now && now->token != was.token) {
        attach(*now);
        return true;
    }
    showStatus(tr("corvane-monitor at %1 has gone away.").arg(was.url));
    const QString question = tr("corvane-monitor at %1 has gone away: this window can no longer work through it, "
                                "and nobody follows the calls.\n\nUse the port %2 from this window instead?")
                                 .arg(was.url, port);
    if (!ask
        || ask(question, tr("Service Gone"), QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) != QMessageBox::Yes)
        return false;
    leftToken_ = was.token;
    detach();
    if (ending) // it said so, or closed the connection: it may still hold the port for a moment
        waitForEnd(was);
    showStatus(tr("The window uses the port %1 itself.").arg(port));
    return true;
}

// A service that is ending holds the port until its process is gone (it
// finishes the adapter's command, saves its list); a remote one is not waited for.
void Form1::waitForEnd(const serviceaddress::Address& service)
{
    const QDeadlineTimer deadline(kServiceEndMs);
    while (serviceaddress::running(service.pid) && !deadline.hasExpired()) {
        QThread::msleep(kServiceEndPollMs);
        QCoreApplication::processEvents();
    }
}

void Form1::readThroughService()
{
    setTransferButtonsEnabled(false);
    const ServiceClient::Reply reply = onService(tr("Reading the settings through corvane-monitor"),
        QStringLiteral("settings-read"), [](ServiceClient& s) { return s.readSettings(); });
    if (reply.status != kOk) {
        const bool again = serviceFailed(reply);
        lastReadFailed_ = haveReading_ = true; // nothing is written over settings not known
        setTransferButtonsEnabled(true);
        if (again)
            CommandRead_Click();
        return;
    }
    AdapterSettings value = edited(); // what the service does not name keeps what the window shows
    configtext::applyShowObject(value, reply.body.value(u"settings").toObject());
    read_ = value;
    showValue(read_);
    lastReadFailed_ = false;
    haveReading_ = true;
    setTransferButtonsEnabled(true);
    showStatus(tr("Settings received."));
}

// The service reads the adapter, applies what was changed here, transmits as
// this window does and reads back.
void Form1::transmitThroughService()
{
    setTransferButtonsEnabled(false);
    const QJsonObject changes = configtext::changedSettings(read_, edited());
    const ServiceClient::Reply reply = onService(tr("Writing the settings through corvane-monitor"),
        QStringLiteral("settings-write"), [&changes](ServiceClient& s) { return s.writeSettings(changes); });
    setTransferButtonsEnabled(true);
    if (reply.status != kOk) {
        setSaveButtonsEnabled(false); // the window still holds edits the adapter has not got
        if (serviceFailed(reply))
            return CommandSend_Click();
        if (reply.status == kBadValue && messageBox) // a value the service will not send: nothing was written
            messageBox(serviceProblem(reply, attachedUrl()), tr("Warning!"));
        return;
    }
    for (const QString& warning : texts(reply.body.value(u"warnings")))
        if (messageBox)
            messageBox(warning, tr("Warning!"));
    AdapterSettings value = edited();
    configtext::applyShowObject(value, reply.body.value(u"settings").toObject());
    read_ = value;
    showValue(read_);
    lastReadFailed_ = false;
    setTransferButtonsEnabled(true);
    showStatus(tr("Settings written to the adapter."));
    reportRefused(texts(reply.body.value(u"refused")));
}

void Form1::commandThroughService(const DeviceCommand& d)
{
    const ServiceClient::Reply reply = onService(tr("Sending %1 through corvane-monitor").arg(d.command),
        ServiceClient::operationOf(d.service), [&d](ServiceClient& s) { return s.command(d.service, d.number); });
    if (reply.gone() || !adapterAnswered(reply)) {
        if (serviceFailed(reply))
            sendDeviceCommand(d);
        return;
    }
    const QString said = reply.status == kDone      ? d.done
                         : reply.status == kRefused ? tr("The DodOva refused %1.").arg(d.command)
                                                    : tr("The DodOva did not answer %1.").arg(d.command);
    showStatus(said);
    if (reply.status != kDone || !d.reread)
        return;
    readThroughService();
    if (!lastReadFailed_)
        showStatus(said);
}

void Form1::resetThroughService()
{
    const ServiceClient::Reply reply = onService(tr("Resetting the charge counters through corvane-monitor"),
        ServiceClient::operationOf(ServiceClient::Command::ResetCounters),
        [](ServiceClient& s) { return s.command(ServiceClient::Command::ResetCounters); });
    if (reply.gone() || !adapterAnswered(reply)) {
        if (serviceFailed(reply))
            Command2_Click();
        return;
    }
    if (reply.status == kDone)
        return countersReset();
    showStatus(tr("The DodOva did not reset its charge counters."));
}

// The service has no command for the PPP mode alone: the bundle box the mode
// stands for is changed here, and Transmit Settings takes it to the adapter.
void Form1::pppThroughService(int mode)
{
    ui_->elements.setCheck(FormElement::CheckBUN, mode == 2 ? 1 : 0);
    showStatus(tr("Through corvane-monitor the PPP mode goes to the adapter with Transmit Settings."));
}
