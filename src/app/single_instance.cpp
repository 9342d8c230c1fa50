#include "app/single_instance.h"

#include <QDir>
#include <QStandardPaths>

SingleInstance::SingleInstance(const QString& lockPath) : lock_(std::make_unique<QLockFile>(lockPath))
{
    lock_->setStaleLockTime(0); // only a lock whose process is gone is stale, however old
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::tryLock()
{
    if (!held_)
        held_ = lock_->tryLock(0);
    return held_;
}

QString SingleInstance::defaultLockPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("corvane.lock"));
}
