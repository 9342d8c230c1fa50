#include "device/service_client.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QUrl>

namespace {

constexpr int kUnavailable = 503;

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
