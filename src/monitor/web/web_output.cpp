#include "monitor/web/web_output.h"

#include "common/service_address.h"
#include "monitor/engine/call_list.h"
#include "monitor/engine/trace_output.h"
#include "monitor/outputs/json_event_writer.h"
#include "monitor/outputs/tcp_listening.h"
#include "monitor/web/web_api.h"
#include "monitor/web/web_files.h"
#include "monitor/web/web_host.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>

namespace {

QByteArray firstLine(const QString& path, bool& ok)
{
    QFile f(path);
    ok = f.open(QIODevice::ReadOnly);
    return ok ? f.readLine(4096).trimmed() : QByteArray();
}

QByteArray fileBytes(const QString& path, bool& ok)
{
    QFile f(path);
    ok = f.open(QIODevice::ReadOnly) && f.size() < 1024 * 1024;
    return ok ? f.readAll() : QByteArray();
}

StartedOutput refused(const QString& text, const QString& log, bool badSettings = true)
{
    return {nullptr, text, QStringLiteral("web page: ") + log, badSettings};
}

bool changes(const QByteArray& method)
{
    return method != "GET" && method != "HEAD" && method != "OPTIONS";
}

} // namespace

StartedOutput WebOutput::start(const WebPlan& plan, WebHost& host, CallOutputs& owner)
{
    QHostAddress address(QHostAddress::LocalHost);
    quint16 port = 0; // for the front ends alone: any free one
    if (!plan.frontEndsOnly && !tcp_listening::parseEndpoint(plan.endpoint, address, port))
        return refused(CallOutputs::tr("Not a valid address and port"),
            QStringLiteral("--web wants [ADDR:]PORT, not %1").arg(plan.endpoint));
    QByteArray password;
    if (!plan.passwordFile.isEmpty()) {
        bool ok = false;
        password = firstLine(plan.passwordFile, ok);
        if (!ok || password.isEmpty())
            return refused(CallOutputs::tr("No password in the password file"),
                QStringLiteral("no password in %1 (its first line)").arg(plan.passwordFile));
    }
    if (password.isEmpty() && !address.isLoopback())
        return refused(CallOutputs::tr("A password is needed off this computer"),
            QStringLiteral("--web on %1 needs --web-password-file: anyone on the network could change the adapter")
                .arg(address.toString()));
    if (plan.certFile.isEmpty() != plan.keyFile.isEmpty())
        return refused(
            CallOutputs::tr("Certificate and key go together"), QStringLiteral("--web-cert and --web-key go together"));
    QByteArray cert, key;
    if (!plan.certFile.isEmpty()) {
        bool certOk = false, keyOk = false;
        cert = fileBytes(plan.certFile, certOk);
        key = fileBytes(plan.keyFile, keyOk);
        if (!certOk || !keyOk)
            return refused(CallOutputs::tr("Cannot read the certificate or key"),
                QStringLiteral("cannot read %1").arg(certOk ? plan.keyFile : plan.certFile));
    }
    auto web = std::make_unique<WebOutput>(host, password);
    web->auth_.setFrontEndToken(plan.token, plan.frontEndsOnly);
    QObject::connect(web.get(), &WebOutput::logMessage, &owner, &CallOutputs::logMessage);
    if (!web->server_.listen(address, port, cert, key)) {
        const QString why = web->server_.errorString();
        return refused(
            CallOutputs::tr("Cannot listen: %1").arg(why), QStringLiteral("on %1: %2").arg(plan.endpoint, why), false);
    }
    const auto urlOf = [&](const QHostAddress& host) {
        const QString name = host.protocol() == QAbstractSocket::IPv6Protocol ? u'[' + host.toString() + u']'
                                                                              : host.toString();
        return QStringLiteral("%1://%2:%3/")
            .arg(cert.isEmpty() ? u"http" : u"https", name)
            .arg(web->server_.serverPort());
    };
    const QString url = urlOf(address);
    QString log =
        QStringLiteral("web page on %1%2").arg(url, password.isEmpty() ? QString() : QStringLiteral(" with password"));
    if (!plan.addressFile.isEmpty()) {
        const bool everywhere = address == QHostAddress::Any || address == QHostAddress::AnyIPv6;
        const serviceaddress::Address a{urlOf(everywhere ? QHostAddress(QHostAddress::LocalHost) : address), plan.token,
            plan.heldPort, QCoreApplication::applicationPid()};
        if (serviceaddress::write(plan.addressFile, a, plan.groupReadable)) {
            web->addressFile_ = plan.addressFile;
            web->token_ = plan.token;
            log = plan.frontEndsOnly ? QStringLiteral("front ends find the service in %1").arg(plan.addressFile)
                                     : log + QStringLiteral("; front ends find it in %1").arg(plan.addressFile);
        } else {
            log += QStringLiteral("; cannot write %1: front ends will not find the service").arg(plan.addressFile);
        }
    }
    return {std::move(web), CallOutputs::tr("Serving %1").arg(url), log, false};
}

WebOutput::WebOutput(WebHost& host, QByteArray password)
    : host_(host), auth_(std::move(password)), api_(std::make_unique<WebApi>(host, *this, auth_)), trace_(host, server_)
{
    server_.onRequest = [this](const HttpRequest& r) { handle(r); };
    server_.bodyLimit = [](const QByteArray& method, const QByteArray& path) -> qint64 {
        if (!changes(method))
            return 0;
        return path.endsWith("/picture") ? kMaxPicture : kMaxJsonBody;
    };
    connect(&server_, &HttpServer::logMessage, this, &WebOutput::logMessage);
    connect(&host_, &WebHost::changed, this, &WebOutput::sendState);
    connect(&host_, &WebHost::displayChanged, this, &WebOutput::sendStateIfChanged);
    connect(&host_.callList(), &CallList::changed, this, [this] {
        broadcast(
            "calls", QJsonDocument(QJsonObject{{"total", host_.callList().count()}}).toJson(QJsonDocument::Compact));
    });
    ping_.setInterval(kPingMs);
    connect(&ping_, &QTimer::timeout, this, [this] {
        for (quint64 id : server_.streams())
            server_.push(id, ": ping\n\n");
    });
    ping_.start();
}

WebOutput::~WebOutput()
{
    stop();
}

void WebOutput::stop()
{
    ping_.stop();
    server_.stop();
    if (!addressFile_.isEmpty())
        serviceaddress::remove(std::exchange(addressFile_, QString()), token_);
}

QJsonObject WebOutput::state() const
{
    return webjson::state(host_.display(), live_, host_.inputs(),
        {host_.adapterPort(), host_.adapterConnected(), host_.busyWith()}, host_.missedCount());
}

void WebOutput::callEvent(const CallEvent& e)
{
    const int channel = e.channel == u'A' ? 0 : e.channel == u'B' ? 1 : -1;
    if (channel >= 0) {
        webjson::ChannelLive& live = live_[size_t(channel)];
        if (e.kind == CallEvent::Kind::Phase) {
            live.phase = e.phase;
            if (e.phase == CallPhase::Idle)
                live.start = {};
            else if (!live.start.isValid())
                live.start = e.time;
        } else if (e.kind == CallEvent::Kind::Connected) {
            live.start = e.start;
        }
    }
    broadcast("call", JsonEventWriter::toJson(e));
    sendState();
}

void WebOutput::sendState()
{
    if (const QString busy = host_.busyWith(); busy != busyWith_) {
        busyWith_ = busy;
        broadcast("busy",
            QJsonDocument(QJsonObject{{"busy", !busy.isEmpty()}, {"busyWith", busy}}).toJson(QJsonDocument::Compact));
    }
    lastState_ = state();
    broadcast("state", QJsonDocument(lastState_).toJson(QJsonDocument::Compact));
}

// The engine redraws at each frame and each tick; a page hears of it when
// what it shows moved (a lamp, a number, a call's duration once a second).
void WebOutput::sendStateIfChanged()
{
    if (server_.streams().isEmpty())
        return;
    if (QJsonObject now = state(); now != lastState_) {
        lastState_ = std::move(now);
        broadcast("state", QJsonDocument(lastState_).toJson(QJsonDocument::Compact));
    }
}

void WebOutput::broadcast(const char* name, const QByteArray& data)
{
    const QByteArray message = "event: " + QByteArray(name) + "\ndata: " + data + "\n\n";
    for (quint64 id : server_.streams())
        server_.push(id, message);
}

void WebOutput::listsChanged()
{
    broadcast("book", "{}");
}

bool WebOutput::gate(const HttpRequest& r)
{
    using webjson::error;
    const bool open = r.path == "/api/v1/session" || r.path == "/api/v1/login";
    // Reading the settings leaves trace mode, so a foreign page's <img> must not do it either:
    // browsers say where such a request comes from (Sec-Fetch-Site) though they send no Origin.
    const bool foreign = r.header("sec-fetch-site") == "cross-site" && r.path.startsWith("/api/");
    if (foreign || ((changes(r.method) || r.path == "/api/v1/events") && !WebAuth::sameOrigin(r, server_.tls()))) {
        server_.respond(
            r.id, error(403, "forbidden-origin", QStringLiteral("this server takes changes only from its own page")));
        return false;
    }
    if (!open && !auth_.allows(r)) {
        if (const int wait = auth_.waitSeconds(r.peer); wait > 0) {
            HttpResponse e = error(
                429, "too-many-attempts", QStringLiteral("too many wrong passwords; wait %1 s").arg(wait));
            e.addHeader("Retry-After", QByteArray::number(wait));
            server_.respond(r.id, e);
        } else {
            HttpResponse e = error(
                401, "unauthorized", QStringLiteral("log in, or send Authorization: Bearer <password>"));
            e.addHeader("WWW-Authenticate", "Bearer realm=\"corvane\"");
            server_.respond(r.id, e);
        }
        return false;
    }
    if (r.bodyTooLarge) {
        server_.respond(r.id, error(413, "too-large", QStringLiteral("the body is larger than this path takes")));
        return false;
    }
    return true;
}

void WebOutput::handle(const HttpRequest& r)
{
    if (!r.path.startsWith("/api/")) {
        std::optional<HttpResponse> f = r.method == "GET" || r.method == "HEAD" ? webfiles::file(r.path) : std::nullopt;
        if (!f && r.bodyTooLarge)
            f = webjson::error(413, "too-large", QStringLiteral("the body is larger than this path takes"));
        server_.respond(r.id, f ? *f : webjson::error(404, "not-found", QStringLiteral("no such page")));
        return;
    }
    if (!gate(r))
        return;
    if (r.path == "/api/v1/events") {
        if (r.method != "GET") {
            HttpResponse e = webjson::error(405, "method-not-allowed", QStringLiteral("GET only"));
            e.addHeader("Allow", "GET");
            server_.respond(r.id, e);
            return;
        }
        openEvents(r);
        return;
    }
    api_->handle(r);
}

void WebOutput::openEvents(const HttpRequest& r)
{
    const std::optional<int> traceLevel = webjson::queryNumber(r, "trace", 0, 0, TraceOutput::kEverything);
    if (!traceLevel) {
        server_.respond(r.id, webjson::error(400, "bad-value", QStringLiteral("trace is a level from 0 to 5")));
        return;
    }
    server_.startStream(r.id,
        {200, "text/event-stream; charset=utf-8", {}, {{"Cache-Control", "no-store"}, {"X-Accel-Buffering", "no"}}});
    server_.push(
        r.id, "retry: 3000\n\nevent: state\ndata: " + QJsonDocument(state()).toJson(QJsonDocument::Compact) + "\n\n");
    trace_.open(r.id, *traceLevel);
}
