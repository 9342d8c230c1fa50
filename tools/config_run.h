#pragma once
// corvane-config's commands against the adapter: each one detects the
// adapter as the window's start-up does, then reads, writes or sends what its
// command line asks for. Messages go to standard error, results to standard
// output.
#include <QTextStream>

#include "common/system_clock.h"
#include "device/adapter_control.h"
#include "device/at_channel.h"
#include "tools/config_options.h"
#include "device/config_values.h"

class SettingsStore;

class ConfigRun {
public:
    ConfigRun(const ConfigOptions& options, SettingsStore& settings);
    // The exit status: 0 done, 1 the adapter refused or did not answer, 2 a wrong command line.
    int run();
    // What a verb that acts at once says when done ("profile 2 loaded").
    static QString doneText(ConfigVerb verb, int number);

private:
    bool detect();
    bool read(AdapterSettings& value);
    bool portTest();
    int show();
    int set();
    int backup();
    int restore();
    int single();
    bool writeDifferences(const AdapterSettings& now, const configtext::Backup& backup);
    QStringList differences(const AdapterSettings& now, const configtext::Backup& backup) const;
    int fail(const QString& text);

    const ConfigOptions& options_;
    SettingsStore& settings_;
    SystemClock clock_;
    AtChannel at_;
    AdapterControl control_;
    QTextStream out_;
    QTextStream err_;
};
