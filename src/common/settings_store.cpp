#include "common/settings_store.h"

#include "common/program_folder.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <optional>

#include "common/regional.h"

namespace {

constexpr auto kApplication = "Corvane Controller";
constexpr auto kSection = "Startup";

struct KeyDefault {
    const char* key;
    const char* value;
};

// Every key of section "Startup" with the default its readers supply.
// "WavFile" depends on the program folder and is handled in defaultFor.
constexpr KeyDefault kDefaults[] = {
    {"CommPort", "1"},       {"Speed", "115200"},     {"CommDelay", "0.01"},
    {"UnitCost", "0,026"},   {"LastReset", ""},       {"Ring", "0"},
    {"Popup", "0"},          {"IDSound", "0"},        {"WavFile", ""},
    {"LogCID", "1"},         {"LogAns", "1"},         {"LogDial", "1"},
    {"LogRing", "1"},        {"LogTry", "1"},         {"DialPrefixNumber", ""},
    {"ScanLeft", "100"},     {"ScanTop", "100"},      {"ScanHeight", "6660"},
    {"ScanHide", "0"},       {"GridWidth0", "800"},   {"GridWidth1", "620"},
    {"GridWidth2", "790"},   {"GridWidth3", "790"},   {"GridWidth4", "1340"},
    {"GridWidth5", "2000"},  {"GridWidth6", "750"},   {"GridWidth7", "900"},
    {"ScanLeftBook", "10"},  {"ScanTopBook", "10"},   {"BookHeight", "5590"},
    // The desktop notification and the number forms of the call history.
    {"Notify", "1"},         {"CountryCode", "49"},   {"AreaCode", ""},
    // The network outputs of the window: NCID server and the program run on calls.
    {"NcidServer", "0"},     {"NcidAddress", "127.0.0.1"}, {"NcidPort", "3333"},
    {"EventProgram", ""},
};

QString& userFileOverride()
{
    static QString path;
    return path;
}

std::unique_ptr<QSettings> openUserSettings()
{
    if (!userFileOverride().isEmpty())
        return std::make_unique<QSettings>(userFileOverride(), QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, kApplication);
}

} // namespace

SettingsStore::SettingsStore() : settings_(openUserSettings()) {}

SettingsStore::SettingsStore(const QString& iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
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
    if (key == QLatin1String("WavFile"))
        return ProgramFolder::filePath(QStringLiteral("ring.wav"));
    for (const auto& d : kDefaults)
        if (key == QLatin1String(d.key))
            return QString::fromLatin1(d.value);
    return {};
}

QStringList SettingsStore::knownKeys()
{
    QStringList keys;
    for (const auto& d : kDefaults)
        keys << QString::fromLatin1(d.key);
    return keys;
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
