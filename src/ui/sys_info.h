#pragma once
// The desktop's system-information program, for the about window's
// "System Info..." button.
#include <QString>
#include <QStringList>

struct SysInfoProgram {
    QString program; // full path; empty when none was found
    QStringList arguments;
};

// Looks through the known system-information programs on PATH, those of the
// running desktop (XDG_CURRENT_DESKTOP) first.
SysInfoProgram findSysInfoProgram();
