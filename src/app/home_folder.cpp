#include "app/home_folder.h"

#include "common/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QStringList bundledFiles()
{
    return {QStringLiteral("ring.wav"), QStringLiteral("help.htm"), QStringLiteral("noname.jpg"),
            QStringLiteral("empty.jpg"), QStringLiteral("corvane.png")};
}

QString chooseProgramFolder(const QString& homeOption)
{
    QString folder = homeOption;
    if (folder.isEmpty())
        folder = qEnvironmentVariable("CORVANE_HOME");
    if (folder.isEmpty()) {
        const QString exeDir = QCoreApplication::applicationDirPath();
        if (QFileInfo(exeDir).isWritable())
            folder = exeDir;
        else
            folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    }
    QDir().mkpath(folder);
    return QDir(folder).absolutePath();
}

QString bundledFilesSource()
{
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (QFileInfo::exists(QDir(exeDir).filePath(QStringLiteral("help.htm"))))
        return exeDir;
    const QString installed = QDir(exeDir).filePath(QStringLiteral("../share/corvane"));
    if (QFileInfo::exists(QDir(installed).filePath(QStringLiteral("help.htm"))))
        return QDir(installed).absolutePath();
    const QString found = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                 QStringLiteral("corvane/help.htm"));
    return found.isEmpty() ? exeDir : QFileInfo(found).absolutePath();
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

QString setUpProgramFolder(const QString& homeOption)
{
    const QString folder = chooseProgramFolder(homeOption);
    copyMissingFiles(bundledFilesSource(), folder);
    ProgramFolder::setPath(folder);
    QDir::setCurrent(folder);
    return folder;
}
