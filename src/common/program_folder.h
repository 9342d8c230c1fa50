#pragma once
// The program folder: list.txt, book.txt, log.txt, ring.wav, help.htm (help_de.htm) and the
// pictures live here. Start-up resolves it once (setUp) and makes it the
// working directory, so bare names such as "noname.jpg" resolve too.
#include <QString>
#include <QStringList>

namespace ProgramFolder {

QString path();
void setPath(const QString& folder);
QString filePath(const QString& name);

// Where the program keeps its files, first match wins: the --home option, the
// CORVANE_HOME variable, the executable's folder when it already holds
// list.txt or book.txt (a portable copy), else the per-user data folder. So an
// installed program never writes beside its executable.
struct Candidates {
    QString homeOption;
    QString homeVariable;
    QString executableFolder;
    QString userDataFolder;
};
QString choose(const Candidates& c);

// The files the program brings along (copied into a folder that lacks them).
QStringList bundledFiles();

// Where the bundled files are: beside the executable (a build or a portable
// copy), else the installed data folder (share/corvane).
QString bundledFilesSource(const QString& executableFolder);

// Copies each bundled file that `folder` lacks from `source`; the user's own
// copies are never replaced.
void copyMissingFiles(const QString& source, const QString& folder);

// The whole start-up rule for this process: chooses and creates the folder,
// fills in the bundled files, makes it the program folder and the working
// directory. Returns the folder.
QString setUp(const QString& homeOption);

} // namespace ProgramFolder
