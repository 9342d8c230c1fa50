#pragma once
// Choosing the program folder at start-up: --home, else CORVANE_HOME, else
// the executable's folder when writable, else the per-user data folder. The
// program's own files (ring.wav, help.htm, the pictures) are copied into a
// folder that lacks them, never over the user's copies.
#include <QString>
#include <QStringList>

// The folder to use; created when missing.
QString chooseProgramFolder(const QString& homeOption);

// The files the program brings along.
QStringList bundledFiles();

// Where the bundled files are found: beside the executable, or the installed
// data folder (share/corvane).
QString bundledFilesSource();

// Copies each bundled file that `folder` lacks from `source`.
void copyMissingFiles(const QString& source, const QString& folder);

// Resolves the folder, makes it the program folder and the working directory.
QString setUpProgramFolder(const QString& homeOption);
