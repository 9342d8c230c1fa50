#pragma once
// corvane-config's command line: a verb and its arguments, the port and the
// program folder as for the other programs.
#include "common/option_parser.h"

enum class ConfigVerb { None, Show, Set, Backup, Restore, ProfileLoad, ProfileSave, Factory, Hangup, ResetCounters };

struct ConfigOptions : CommandLineStatus {
    ConfigVerb verb = ConfigVerb::None;
    QStringList args; // NAME=VALUE of set, the FILE of backup and restore
    int number = 0;   // the profile (1..4) or the phone (1, 2)
    QString port;     // empty: the port the settings window uses
    QString home;
    bool json = false;
    bool dryRun = false;
};

// Arguments without the program name. --help and --version win over errors.
ConfigOptions parseConfigOptions(const QStringList& arguments);
QString configUsage();
