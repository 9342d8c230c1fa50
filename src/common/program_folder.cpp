#include "common/program_folder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString& current()
{
    static QString folder;
    return folder;
}
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

} // namespace ProgramFolder
