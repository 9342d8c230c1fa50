#include "device/service_client.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonDocument>
#include <QUrl>

namespace {

constexpr int kUnavailable = 503;

// The API's error codes (docs/web.md, "Conventions"), each with what it means
// for the user; `detailed` where the service's message says more.
struct ErrorText {
    const char* code;
    const char* text;
    bool detailed;
};
constexpr ErrorText kErrorTexts[] = {
    {"bad-request", QT_TRANSLATE_NOOP("ServiceClient", "the request was not one it understands"), true},
    {"bad-value", QT_TRANSLATE_NOOP("ServiceClient", "a value is not allowed"), true},
    {"unauthorized", QT_TRANSLATE_NOOP("ServiceClient", "it did not accept this window's token or password"), false},
    {"forbidden-origin", QT_TRANSLATE_NOOP("ServiceClient", "the request came from another site"), false},
    {"not-found", QT_TRANSLATE_NOOP("ServiceClient", "it has no such entry (any more)"), true},
    {"method-not-allowed",
        QT_TRANSLATE_NOOP("ServiceClient", "this version of corvane-monitor does not offer the request"), false},
    {"conflict",
        QT_TRANSLATE_NOOP(
            "ServiceClient", "the file was changed meanwhile or cannot be read, so it is not written over"),
        true},
    {"refused", QT_TRANSLATE_NOOP("ServiceClient", "the DodOva refused the command"), false},
    {"too-large", QT_TRANSLATE_NOOP("ServiceClient", "it is too large for the service"), true},
    {"unsupported-type", QT_TRANSLATE_NOOP("ServiceClient", "the service does not take this kind of data"), true},
    {"too-many-attempts",
        QT_TRANSLATE_NOOP("ServiceClient", "too many wrong passwords: it waits a while before it takes the next one"),
        false},
    {"not-saved", QT_TRANSLATE_NOOP("ServiceClient", "it could not write the file; the old one is left as it was"),
        true},
    {"adapter-unavailable", QT_TRANSLATE_NOOP("ServiceClient", "the DodOva did not answer it"), true},
    {"adapter-busy",
        QT_TRANSLATE_NOOP("ServiceClient", "too many requests wait for the adapter already: try again in a moment"),
        false},
};

} // namespace

bool ServiceClient::Reply::gone() const
{
    if (status == kUnavailable && body.value(u"error").toString() == u"stopping")
        return true; // it answers what was asked of it so, and ends
    return status == 0
           && (error == QNetworkReply::ConnectionRefusedError || error == QNetworkReply::RemoteHostClosedError);
}

QString ServiceClient::Reply::message() const
{
    return body.value(u"message").toString();
}

QString ServiceClient::Reply::explained() const
{
    return serviceErrorText(body);
}

QString serviceErrorText(const QJsonObject& body)
{
    const QString code = body.value(u"error").toString(), message = body.value(u"message").toString();
    for (const ErrorText& e : kErrorTexts)
        if (code == QLatin1String(e.code)) {
            const QString text = QCoreApplication::translate("ServiceClient", e.text);
            return e.detailed && !message.isEmpty()
                       ? QCoreApplication::translate("ServiceClient", "%1 - %2").arg(text, message)
                       : text;
        }
    return message;
}

ServiceClient::ServiceClient(serviceaddress::Address service) : service_(std::move(service))
{
}

ServiceClient::Reply ServiceClient::request(
    const QByteArray& method, const QString& path, const QJsonObject& body, int timeoutMs)
{
    const QByteArray data = body.isEmpty() ? QByteArray() : QJsonDocument(body).toJson(QJsonDocument::Compact);
    return send(method, path, data, QByteArrayLiteral("application/json"), timeoutMs);
}

ServiceClient::Reply ServiceClient::send(
    const QByteArray& method, const QString& path, const QByteArray& data, const QByteArray& type, int timeoutMs)
{
    QNetworkRequest r = serviceRequest(service_, path);
    r.setTransferTimeout(timeoutMs);
    if (!data.isEmpty())
        r.setHeader(QNetworkRequest::ContentTypeHeader, type);
    QNetworkReply* reply = network_.sendCustomRequest(r, method, data);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    ++waiting_;
    loop.exec(loopFlags_);
    --waiting_;
    Reply out{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), {}, reply->readAll(), reply->error()};
    out.body = QJsonDocument::fromJson(out.data).object();
    if (out.status == 0)
        out.body = {{"message", reply->errorString()}};
    reply->deleteLater();
    return out;
}

ServiceClient::Reply ServiceClient::readSettings()
{
    return request("GET", QStringLiteral("api/v1/settings"));
}

ServiceClient::Reply ServiceClient::writeSettings(const QJsonObject& changes)
{
    return request("PUT", QStringLiteral("api/v1/settings"), {{"settings", changes}});
}

ServiceClient::Reply ServiceClient::command(Command command, int number)
{
    const QString n = QString::number(number);
    switch (command) {
    case Command::ProfileLoad: return request("POST", QStringLiteral("api/v1/profiles/%1/load").arg(n));
    case Command::ProfileSave: return request("POST", QStringLiteral("api/v1/profiles/%1/save").arg(n));
    case Command::Factory: return request("POST", QStringLiteral("api/v1/settings/factory"));
    case Command::HangUp: return request("POST", QStringLiteral("api/v1/hangup"), {{"port", number}});
    case Command::ResetCounters: break;
    }
    return request("POST", QStringLiteral("api/v1/counters/reset"));
}

QString ServiceClient::operationOf(Command command)
{
    switch (command) {
    case Command::ProfileLoad: return QStringLiteral("profile-load");
    case Command::ProfileSave: return QStringLiteral("profile-save");
    case Command::Factory: return QStringLiteral("factory");
    case Command::HangUp: return QStringLiteral("hangup");
    case Command::ResetCounters: break;
    }
    return QStringLiteral("counters-reset");
}

ServiceClient::Reply ServiceClient::state()
{
    return request("GET", QStringLiteral("api/v1/state"), {}, kStateTimeoutMs);
}

QNetworkRequest serviceRequest(const serviceaddress::Address& service, const QString& path)
{
    QNetworkRequest r(QUrl(service.url).resolved(QUrl(path)));
    if (!service.token.isEmpty())
        r.setRawHeader("Authorization", "Bearer " + service.token);
    r.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    return r;
}

serviceaddress::Address serviceAt(const QString& url)
{
    const QUrl given(url);
    serviceaddress::Address a{given.adjusted(QUrl::RemoveUserInfo).toString(), given.password().toUtf8(), {}, 0};
    if (!a.token.isEmpty())
        return a;
    if (const std::optional<serviceaddress::Address> found = serviceaddress::find();
        found && QUrl(found->url).matches(QUrl(a.url), QUrl::StripTrailingSlash))
        return *found;
    return a;
}
