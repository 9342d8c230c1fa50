#include "tools/config_service.h"

#include "common/atomic_file.h"
#include "tools/config_run.h"

#include <QJsonArray>

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
                        .arg(service_.address().pid));
    default: return single();
    }
}

int ConfigThroughService::fail(const QString& text)
{
    err_ << "corvane-config: " << text << Qt::endl;
    return kRefused;
}

int ConfigThroughService::fail(const Reply& reply)
{
    if (reply.status == 0)
        return fail(
            QStringLiteral("corvane-monitor at %1 does not answer: %2").arg(service_.address().url, reply.message()));
    return fail(QStringLiteral("corvane-monitor: %1").arg(reply.message()));
}

bool ConfigThroughService::read(QJsonObject& settings)
{
    const Reply reply = service_.readSettings();
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
    const Reply reply = service_.writeSettings(changes);
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
    using C = ServiceClient::Command;
    const C command = options_.verb == ConfigVerb::ProfileLoad   ? C::ProfileLoad
                      : options_.verb == ConfigVerb::ProfileSave ? C::ProfileSave
                      : options_.verb == ConfigVerb::Factory     ? C::Factory
                      : options_.verb == ConfigVerb::Hangup      ? C::HangUp
                                                                 : C::ResetCounters;
    const Reply reply = service_.command(command, options_.number);
    if (reply.status != 204)
        return fail(reply);
    out_ << ConfigRun::doneText(options_.verb, options_.number) << Qt::endl;
    return 0;
}
