#pragma once
// The per-user settings store: application "Corvane Controller", section
// "Startup", every value a text. All keys and their defaults live in one table
// (settings_store.cpp); readers never invent their own defaults.
#include <QString>
#include <QStringList>
#include <memory>

class QSettings;

class SettingsStore {
public:
    // The user's store (an INI file in the user's config folder on Linux).
    static SettingsStore& user();
    // Points the user store at another file, for tests and headless tools.
    static void useFileForUser(const QString& iniPath);

    // A store over a given INI file (corvane-replay's --settings).
    explicit SettingsStore(const QString& iniPath);
    ~SettingsStore();

    // The stored text, else the table's default for the key, else "".
    QString read(const QString& key) const;
    // The stored text, else the given default.
    QString read(const QString& key, const QString& fallback) const;
    bool contains(const QString& key) const;
    void write(const QString& key, const QString& value);

    // A flag setting counts as on only when its text reads as the number 1;
    // a text that is not a number counts as off.
    bool isOne(const QString& key) const;

    // Linux device path behind port number n (section "Ports", keys COM1..COM4).
    QString portPath(int n) const;
    void setPortPath(int n, const QString& path);
    // --port PATH maps the current port number to PATH for one run, never stored.
    void overridePortPath(int n, const QString& path);

    static QString defaultFor(const QString& key);

private:
    SettingsStore();
    std::unique_ptr<QSettings> settings_;
    int overridePort_ = 0;
    QString overridePath_;
};
