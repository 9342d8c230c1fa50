#pragma once
// Our own command-line options, apart from the command-line words:
//   --simulate [SCENARIO]  run against dodova-sim started beside the program
//   --port PATH            the current port number means PATH for this run
//   --home DIR             the program folder
// Everything else is left as the command-line words ("scan", "DEBUG1" ...).
#include <QString>
#include <QStringList>

struct AppOptions {
    bool simulate = false;
    QString scenario; // empty: the simulator's default
    QString port;
    QString home;
    QStringList words;
};

// Arguments without the program name.
AppOptions parseAppOptions(const QStringList& arguments);
