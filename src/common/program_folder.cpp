#include "common/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString& current()
{
    static QString folder;
    return folder;
}

// The files a user's own program folder is recognised by.
bool holdsUserFiles(const QString& folder)
{
    const QDir dir(folder);
    return QFileInfo::exists(dir.filePath(QStringLiteral("list.txt")))
           || QFileInfo::exists(dir.filePath(QStringLiteral("book.txt")));
}

const QString kMarker = QStringLiteral("help.htm"); // any bundled file shows the set is there

} // namespace

namespace ProgramFolder {

QString path()
{
    if (current().isEmpty())
        return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    return current();
}

void setPath(const QString& folder)
{
    current() = QDir(folder).absolutePath();
}

QString filePath(const QString& name)
{
    return QDir(path()).filePath(name);
}

QString choose(const Candidates& c)
{
    if (!c.homeOption.isEmpty())
        return QDir(c.homeOption).absolutePath();
    if (!c.homeVariable.isEmpty())
        return QDir(c.homeVariable).absolutePath();
    if (!c.executableFolder.isEmpty() && holdsUserFiles(c.executableFolder))
        return QDir(c.executableFolder).absolutePath();
    return QDir(c.userDataFolder).absolutePath();
}

QStringList bundledFiles()
{
    return {QStringLiteral("ring.wav"), QStringLiteral("help.htm"), QStringLiteral("help_de.htm"),
        QStringLiteral("noname.jpg"), QStringLiteral("empty.jpg"), QStringLiteral("corvane.png")};
}

QString bundledFilesSource(const QString& executableFolder)
{
    const QDir exe(executableFolder);
    if (QFileInfo::exists(exe.filePath(kMarker)))
        return exe.absolutePath();
    const QString installed = exe.filePath(QStringLiteral("../share/corvane"));
    if (QFileInfo::exists(QDir(installed).filePath(kMarker)))
        return QDir(installed).absolutePath();
    const QString found = QStandardPaths::locate(
        QStandardPaths::GenericDataLocation, QStringLiteral("corvane/") + kMarker);
    return found.isEmpty() ? exe.absolutePath() : QFileInfo(found).absolutePath();
}

void copyMissingFiles(const QString& source, const QString& folder)
{
    if (QDir(source).absolutePath() == QDir(folder).absolutePath())
        return;
    for (const QString& name : bundledFiles()) {
        const QString target = QDir(folder).filePath(name);
        if (!QFileInfo::exists(target))
            QFile::copy(QDir(source).filePath(name), target); // an unwritable folder: skipped
    }
}

QString setUp(const QString& homeOption)
{
    const QString exeDir = QCoreApplication::applicationDirPath();
    const QString folder = choose({homeOption, qEnvironmentVariable("CORVANE_HOME"), exeDir,
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)});
    QDir().mkpath(folder);
    copyMissingFiles(bundledFilesSource(exeDir), folder);
    setPath(folder);
    QDir::setCurrent(folder);
    return folder;
}

} // namespace ProgramFolder
