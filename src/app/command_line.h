#pragma once
// The command-line words "scan" and "DEBUG1" ... "DEBUG5", each searched as a
// case-sensitive substring of the command line (the words the user gave, not
// the program's own path nor our --options and their values).
#include <QStringList>

// True when "scan" occurs anywhere in the words.
bool commandLineHasScan(const QStringList& words);

// The call monitor's trace level: DEBUG5 down to DEBUG1 are tested in turn and
// each match overwrites the level, so the smallest number present wins; 0 when none.
int debugLevelFrom(const QStringList& words);

// The level start-up found; the call monitor reads it when it opens.
int startupDebugLevel();
void setStartupDebugLevel(int level);
