#include "tools/config_run.h"

#include "tools/config_service.h"

#include "common/atomic_file.h"
#include "common/settings_keys.h"
#include "common/settings_store.h"
#include "device/charge_counters.h"
#include "device/dodova_probe.h"
#include "device/line_settings.h"
#include "device/port_link.h"

#include <QDateTime>
#include <QFile>

namespace {

constexpr int kRefused = 1;
// The device applies written settings before the read-back; more than 0.5 s.
constexpr int kApplyPauseMs = 501;
// A backup is a few hundred bytes; anything much larger is not one.
constexpr qint64 kLargestBackup = 64 * 1024;

int registerOf(const QString& name)
{
    return name.startsWith(u'S') ? name.mid(1).toInt() : -1;
}

} // namespace

ConfigRun::ConfigRun(const ConfigOptions& options, SettingsStore& settings)
    : options_(options), settings_(settings), at_(settings_, clock_), control_(at_), out_(stdout), err_(stderr)
{
    at_.configure(readLineSettings(settings_, options_.port));
    control_.warn = [this](const QString& text, const QString&) { err_ << "corvane-config: " << text << Qt::endl; };
}

int ConfigRun::fail(const QString& text)
{
    err_ << "corvane-config: " << text << Qt::endl;
    return kRefused;
}

bool ConfigRun::portTest()
{
    if (at_.portOpens())
        return true;
    fail(QStringLiteral("cannot open %1: %2").arg(at_.portPath(), at_.port().errorString()));
    return false;
}

// As the window's start-up: the port opens, and a DodOva answers on it.
bool ConfigRun::detect()
{
    if (!portTest())
        return false;
    if (answersAsDodova(at_))
        return true;
    fail(QStringLiteral("no DodOva answers on %1").arg(at_.portPath()));
    return false;
}

// "Receive Settings" with its port test; false unless every command was answered.
bool ConfigRun::read(AdapterSettings& value)
{
    if (!portTest())
        return false;
    const AdapterControl::Tally tally = control_.read(value);
    if (control_.deviceAbsent() || tally.missing > 0) {
        fail(QStringLiteral("%1 of %2 commands got no answer or were refused").arg(tally.missing).arg(tally.sent));
        return false;
    }
    return true;
}

int ConfigRun::run()
{
    if (options_.verb == ConfigVerb::Set) { // every change checked before anything is sent
        AdapterSettings check;
        for (const QString& change : options_.args)
            if (const std::optional<QString> why = configtext::applyChange(check, change))
                return err_ << "corvane-config: " << *why << Qt::endl, kUsageErrorStatus;
    }
    if (const std::optional<serviceaddress::Address> service = serviceaddress::holding(at_.portPath()))
        return ConfigThroughService(options_, *service).run();
    if (options_.verb == ConfigVerb::Restore)
        return restore(); // the file is checked before the adapter is asked
    if (!detect())
        return kRefused;
    switch (options_.verb) {
    case ConfigVerb::Show: return show();
    case ConfigVerb::Set: return set();
    case ConfigVerb::Backup: return backup();
    default: return single();
    }
}

int ConfigRun::show()
{
    AdapterSettings value;
    if (!read(value))
        return kRefused;
    out_ << configtext::showText(value, options_.json);
    return 0;
}

int ConfigRun::set()
{
    AdapterSettings value;
    if (!read(value))
        return kRefused;
    for (const QString& change : options_.args)
        configtext::applyChange(value, change);
    const QStringList refused = control_.transmit(value);
    AdapterSettings back;
    if (!read(back))
        return kRefused;
    if (const QString why = configtext::notTaken(options_.args, back, refused); !why.isEmpty())
        return fail(why);
    for (const QString& change : options_.args)
        out_ << change << u'\n';
    return 0;
}

int ConfigRun::backup()
{
    AdapterSettings value;
    if (!read(value))
        return kRefused;
    const configtext::Backup b = configtext::backupOf(value, settings_.read(key::UnitCost));
    if (!writeFileAtomically(options_.args[0], configtext::backupText(b).toUtf8()))
        return fail(QStringLiteral("cannot write %1").arg(options_.args[0]));
    out_ << QStringLiteral("backup of %1 written to %2").arg(b.identification, options_.args[0]) << Qt::endl;
    return 0;
}

QStringList ConfigRun::differences(const AdapterSettings& now, const configtext::Backup& backup) const
{
    const configtext::Backup current = configtext::backupOf(now, settings_.read(key::UnitCost));
    QStringList out;
    for (const auto& [name, value] : backup.entries)
        if (current.entries.at(name) != value)
            out << QStringLiteral("%1: %2 -> %3").arg(name, current.entries.at(name), value);
    return out;
}

int ConfigRun::restore()
{
    const QString& path = options_.args[0];
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    if (file.size() > kLargestBackup)
        return fail(QStringLiteral("%1 is not a backup: too large").arg(path));
    QString why;
    const std::optional<configtext::Backup> backup = configtext::parseBackup(QString::fromUtf8(file.readAll()), why);
    if (!backup)
        return fail(QStringLiteral("%1: %2; nothing was sent").arg(path, why));
    if (!detect())
        return kRefused;
    AdapterSettings now;
    if (!read(now))
        return kRefused;
    const QString identity = configtext::backupOf(now, {}).identification;
    if (identity != backup->identification)
        return fail(QStringLiteral("%1 was made on \"%2\", this adapter is \"%3\"; nothing was sent")
                        .arg(path, backup->identification, identity));
    const QStringList changes = differences(now, *backup);
    for (const QString& change : changes)
        out_ << change << u'\n';
    if (changes.isEmpty())
        return out_ << "the adapter already matches " << path << Qt::endl, 0;
    if (options_.dryRun)
        return 0;
    if (!writeDifferences(now, *backup))
        return kRefused;
    at_.pauseWithEvents(kApplyPauseMs);
    AdapterSettings back;
    if (!read(back))
        return kRefused;
    const QStringList still = differences(back, *backup);
    if (!still.isEmpty())
        return fail(QStringLiteral("the adapter does not match %1: %2").arg(path, still.join(QStringLiteral("; "))));
    out_ << "the adapter now matches " << path << Qt::endl;
    return 0;
}

bool ConfigRun::writeDifferences(const AdapterSettings& now, const configtext::Backup& backup)
{
    const configtext::Backup current = configtext::backupOf(now, settings_.read(key::UnitCost));
    QStringList refused;
    bool numbers = false;
    for (const auto& [name, value] : backup.entries) {
        if (current.entries.at(name) == value)
            continue;
        if (name == u"UnitCost") {
            settings_.write(key::UnitCost, value);
        } else if (registerOf(name) >= 0) {
            if (control_.writeRegister(registerOf(name), value.toInt()).outcome != AtOutcome::Answered)
                refused << name;
        } else {
            if (!std::exchange(numbers, true)) { // the number writers need the trace off and the echo on
                control_.command(QStringLiteral("ATCD8"));
                control_.command(QStringLiteral("ATE1"));
            }
            if (control_.writeNumber(*elementNamed(name), value).outcome != AtOutcome::Answered)
                refused << name;
        }
    }
    if (refused.isEmpty())
        return true;
    fail(QStringLiteral("the adapter refused or did not answer: %1").arg(refused.join(u' ')));
    return false;
}

QString ConfigRun::doneText(ConfigVerb verb, int number)
{
    switch (verb) {
    case ConfigVerb::ProfileLoad: return QStringLiteral("profile %1 loaded").arg(number);
    case ConfigVerb::ProfileSave: return QStringLiteral("settings saved to profile %1").arg(number);
    case ConfigVerb::Factory: return QStringLiteral("factory settings loaded");
    case ConfigVerb::Hangup: return QStringLiteral("phone %1 hung up").arg(number);
    default: return QStringLiteral("charge counters reset");
    }
}

// The commands that act at once: profiles, factory settings, hang-up, counters.
int ConfigRun::single()
{
    AtReply reply;
    switch (options_.verb) {
    case ConfigVerb::ProfileLoad: reply = control_.loadProfile(options_.number); break;
    case ConfigVerb::ProfileSave: reply = control_.saveProfile(options_.number); break;
    case ConfigVerb::Factory: reply = control_.loadFactory(); break;
    case ConfigVerb::Hangup: reply = control_.hangUp(options_.number); break;
    default: reply = control_.resetCounters(); break;
    }
    if (reply.outcome == AtOutcome::Refused)
        return fail(QStringLiteral("the adapter refused the command"));
    if (reply.outcome != AtOutcome::Answered)
        return fail(QStringLiteral("the adapter did not answer"));
    if (options_.verb == ConfigVerb::ResetCounters) // the settings window shows when
        settings_.write(key::LastReset, resetStamp(QDateTime::currentDateTime()));
    out_ << doneText(options_.verb, options_.number) << Qt::endl;
    return 0;
}
