#pragma once
// Our own command-line options, apart from the command-line words:
//   --simulate [SCENARIO]  run against dodova-sim started beside the program
//   --port PATH            the current port number means PATH for this run
//   --home DIR             the program folder
//   --service URL          the settings window works through corvane-monitor's API there
//   --help, --version      print and end
// Everything that does not begin with "-" is left as the command-line words
// ("scan", "DEBUG1" ...); Qt's own options are gone before we look.
#include "common/option_parser.h"

struct AppOptions : CommandLineStatus {
    bool simulate = false;
    QString scenario; // empty: the simulator's default
    QString port;
    QString home;
    QString service;
    QStringList words;
};

// Arguments without the program name. --help and --version win over errors.
AppOptions parseAppOptions(const QStringList& arguments);

// The --help text: every word and option.
QString appUsage();
