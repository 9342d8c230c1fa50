#include "common/settings_store.h"

#include "common/program_folder.h"
#include "common/regular_file.h"
#include "common/settings_keys.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <optional>

#include "common/regional.h"

namespace {

constexpr auto kApplication = "Corvane Controller";
constexpr auto kSection = "Startup";

struct KeyDefault {
    QLatin1String key;
    const char* value;
};

// The call grid's column widths, "GridWidth" and the column.
constexpr QLatin1String kGridWidth[] = {QLatin1String("GridWidth0"), QLatin1String("GridWidth1"),
    QLatin1String("GridWidth2"), QLatin1String("GridWidth3"), QLatin1String("GridWidth4"), QLatin1String("GridWidth5"),
    QLatin1String("GridWidth6"), QLatin1String("GridWidth7")};

// Every key of section "Startup" with the default its readers supply.
// key::WavFile depends on the program folder and is handled in defaultFor;
// key::msnNumber(i) and key::msnName(i), the own numbers' names, default to "".
constexpr KeyDefault kDefaults[] = {
    {key::CommPort, "1"},
    {key::Speed, "115200"},
    {key::CommDelay, "0.01"},
    {key::Language, ""},
    {key::UnitCost, "0,026"},
    {key::LastReset, ""},
    {key::Ring, "0"},
    {key::Popup, "0"},
    {key::IDSound, "0"},
    {key::WavFile, ""},
    {key::LogCID, "1"},
    {key::LogAns, "1"},
    {key::LogDial, "1"},
    {key::LogRing, "1"},
    {key::LogTry, "1"},
    {key::DialPrefixNumber, ""},
    {key::ScanLeft, "100"},
    {key::ScanTop, "100"},
    {key::ScanHeight, "6660"},
    {key::ScanHide, "0"},
    {kGridWidth[0], "800"},
    {kGridWidth[1], "620"},
    {kGridWidth[2], "790"},
    {kGridWidth[3], "790"},
    {kGridWidth[4], "1340"},
    {kGridWidth[5], "2000"},
    {kGridWidth[6], "750"},
    {kGridWidth[7], "900"},
    {key::ScanLeftBook, "10"},
    {key::ScanTopBook, "10"},
    {key::BookHeight, "5590"},
    // The desktop notification and the number forms of the call history.
    {key::Notify, "1"},
    {key::CountryCode, "49"},
    {key::AreaCode, ""},
    {key::ContactsFolder, ""},
    // The network outputs of the window: NCID server and the program run on calls.
    {key::NcidServer, "0"},
    {key::NcidAddress, "127.0.0.1"},
    {key::NcidPort, "3333"},
    {key::EventProgram, ""},
    {key::CallMonitorServer, "0"},
    {key::CallMonitorAddress, "127.0.0.1"},
    {key::CallMonitorPort, "1012"},
    {key::Mqtt, "0"},
    {key::MqttUrl, ""}, // typed by the user: nothing is tried before
    {key::MqttPassword, ""},
    {key::MqttCaFile, ""},
    {key::MqttDeviceId, ""}, // "": from the host name and the port
    {key::MqttDiscovery, "homeassistant"},
    {key::WebServer, "0"},
    {key::WebAddress, "127.0.0.1"},
    {key::WebPort, "8080"},
    {key::WebPasswordFile, ""},
    {key::WebCertFile, ""},
    {key::WebKeyFile, ""},
};

QString& userFileOverride()
{
    static QString path;
    return path;
}

// Larger files are no settings a person keeps.
constexpr qint64 kMaxSettingsFile = 1024 * 1024;

// QSettings blocks in its constructor on a FIFO and reads /dev/zero for ever:
// a settings file that is there but no regular file of a sane size is left
// alone (said on the log); the defaults hold and nothing is saved over it.
bool usable(const QString& path)
{
    return !QFileInfo::exists(path) || regularfile::check(path, kMaxSettingsFile).isEmpty();
}

std::unique_ptr<QSettings> openIni(const QString& path)
{
    return std::make_unique<QSettings>(usable(path) ? path : QString(), QSettings::IniFormat);
}

std::unique_ptr<QSettings> openUserSettings()
{
    if (!userFileOverride().isEmpty())
        return openIni(userFileOverride());
    // Where QSettings keeps the user scope's INI file on Linux.
    const QString own = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/'
                        + QLatin1String(kApplication) + QLatin1String(".ini");
    if (!usable(own))
        return openIni({});
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, kApplication);
}

} // namespace

SettingsStore::SettingsStore() : settings_(openUserSettings())
{
}

SettingsStore::SettingsStore(const QString& iniPath) : settings_(openIni(iniPath))
{
}

SettingsStore::~SettingsStore() = default;

SettingsStore& SettingsStore::user()
{
    static SettingsStore store;
    return store;
}

void SettingsStore::useFileForUser(const QString& iniPath)
{
    userFileOverride() = iniPath;
    user().settings_ = openUserSettings();
}

QString SettingsStore::defaultFor(const QString& key)
{
    if (key == key::WavFile)
        return ProgramFolder::filePath(QStringLiteral("ring.wav"));
    for (const auto& d : kDefaults)
        if (key == d.key)
            return QString::fromLatin1(d.value);
    return {};
}

QString SettingsStore::read(const QString& key) const
{
    return read(key, defaultFor(key));
}

QString SettingsStore::read(const QString& key, const QString& fallback) const
{
    const QString full = QString::fromLatin1(kSection) + u'/' + key;
    if (!settings_->contains(full))
        return fallback;
    return settings_->value(full).toString();
}

bool SettingsStore::contains(const QString& key) const
{
    return settings_->contains(QString::fromLatin1(kSection) + u'/' + key);
}

void SettingsStore::write(const QString& key, const QString& value)
{
    settings_->setValue(QString::fromLatin1(kSection) + u'/' + key, value);
    settings_->sync();
}

bool SettingsStore::isOne(const QString& key) const
{
    const std::optional<double> v = regional::toNumber(read(key));
    return v && *v == 1.0;
}

QString SettingsStore::portPath(int n) const
{
    if (n == overridePort_ && !overridePath_.isEmpty())
        return overridePath_;
    const QString fallback = QStringLiteral("/dev/ttyS%1").arg(n - 1 < 0 ? 0 : n - 1);
    return settings_->value(QStringLiteral("Ports/COM%1").arg(n), fallback).toString();
}

void SettingsStore::setPortPath(int n, const QString& path)
{
    settings_->setValue(QStringLiteral("Ports/COM%1").arg(n), path);
    settings_->sync();
}

void SettingsStore::overridePortPath(int n, const QString& path)
{
    overridePort_ = n;
    overridePath_ = path;
}
