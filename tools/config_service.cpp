#include "tools/config_service.h"

#include "common/atomic_file.h"
#include "tools/config_run.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkReply>

namespace {

constexpr int kRefused = 1;

} // namespace

ConfigThroughService::ConfigThroughService(const ConfigOptions& options, serviceaddress::Address service)
    : options_(options), service_(std::move(service)), out_(stdout), err_(stderr)
{
}

int ConfigThroughService::run()
{
    switch (options_.verb) {
    case ConfigVerb::Show: return show();
    case ConfigVerb::Set: return set();
    case ConfigVerb::Backup: return backup();
    case ConfigVerb::Restore:
        return fail(QStringLiteral("restore writes the adapter's registers itself: stop corvane-monitor (pid %1) "
                                   "first, then restore, then start it again")
                        .arg(service_.pid));
    default: return single();
    }
}

ConfigThroughService::Reply ConfigThroughService::request(
    const QByteArray& method, const QString& path, const QJsonObject& body)
{
    QNetworkRequest r(QUrl(service_.url).resolved(QUrl(path)));
    r.setRawHeader("Authorization", "Bearer " + service_.token);
    r.setTransferTimeout(kAdapterTimeoutMs);
    const QByteArray data = body.isEmpty() ? QByteArray() : QJsonDocument(body).toJson(QJsonDocument::Compact);
    if (!data.isEmpty())
        r.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    QNetworkReply* reply = network_.sendCustomRequest(r, method, data);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    Reply out{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
        QJsonDocument::fromJson(reply->readAll()).object()};
    if (out.status == 0)
        out.body = {{"message", reply->errorString()}};
    reply->deleteLater();
    return out;
}

int ConfigThroughService::fail(const QString& text)
{
    err_ << "corvane-config: " << text << Qt::endl;
    return kRefused;
}

int ConfigThroughService::fail(const Reply& reply)
{
    const QString message = reply.body.value(u"message").toString();
    if (reply.status == 0)
        return fail(QStringLiteral("corvane-monitor at %1 does not answer: %2").arg(service_.url, message));
    return fail(QStringLiteral("corvane-monitor: %1").arg(message));
}

bool ConfigThroughService::read(QJsonObject& settings)
{
    const Reply reply = request("GET", QStringLiteral("api/v1/settings"));
    if (reply.status != 200)
        return fail(reply), false;
    settings = reply.body.value(u"settings").toObject();
    return true;
}

int ConfigThroughService::show()
{
    QJsonObject settings;
    if (!read(settings))
        return kRefused;
    out_ << configtext::showText(configtext::fromShowObject(settings), options_.json);
    return 0;
}

// As on the port: the adapter's refusals and the values it kept make a failure.
int ConfigThroughService::set()
{
    QJsonObject changes;
    for (const QString& change : options_.args)
        changes.insert(change.section(u'=', 0, 0), change.section(u'=', 1));
    const Reply reply = request("PUT", QStringLiteral("api/v1/settings"), {{"settings", changes}});
    if (reply.status != 200)
        return fail(reply);
    QStringList refused;
    for (const QJsonValue& caption : reply.body.value(u"refused").toArray())
        refused << caption.toString();
    const AdapterSettings back = configtext::fromShowObject(reply.body.value(u"settings").toObject());
    if (const QString why = configtext::notTaken(options_.args, back, refused); !why.isEmpty())
        return fail(why);
    for (const QString& change : options_.args)
        out_ << change << u'\n';
    return 0;
}

int ConfigThroughService::backup()
{
    QJsonObject settings;
    if (!read(settings))
        return kRefused;
    const configtext::Backup b = configtext::backupOf(
        configtext::fromShowObject(settings), settings.value(u"UnitCost").toString());
    if (!writeFileAtomically(options_.args[0], configtext::backupText(b).toUtf8()))
        return fail(QStringLiteral("cannot write %1").arg(options_.args[0]));
    out_ << QStringLiteral("backup of %1 written to %2").arg(b.identification, options_.args[0]) << Qt::endl;
    return 0;
}

int ConfigThroughService::single()
{
    const QString n = QString::number(options_.number);
    Reply reply;
    switch (options_.verb) {
    case ConfigVerb::ProfileLoad: reply = request("POST", QStringLiteral("api/v1/profiles/%1/load").arg(n)); break;
    case ConfigVerb::ProfileSave: reply = request("POST", QStringLiteral("api/v1/profiles/%1/save").arg(n)); break;
    case ConfigVerb::Factory: reply = request("POST", QStringLiteral("api/v1/settings/factory")); break;
    case ConfigVerb::Hangup:
        reply = request("POST", QStringLiteral("api/v1/hangup"), {{"port", options_.number}});
        break;
    default: reply = request("POST", QStringLiteral("api/v1/counters/reset")); break;
    }
    if (reply.status != 204)
        return fail(reply);
    out_ << ConfigRun::doneText(options_.verb, options_.number) << Qt::endl;
    return 0;
}
