#include "common/folder_lock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
constexpr qint64 kMaxContent = 256; // "pid program"
}

FolderLock::FolderLock(const QString& folder) : path_(QDir(folder).filePath(QStringLiteral("corvane.lock")))
{
}

FolderLock::~FolderLock()
{
    if (fd_ >= 0)
        ::close(fd_); // releases the lock; the file stays, a later holder rewrites it
}

bool FolderLock::tryLock(Holder* holder)
{
    if (held_)
        return true;
    if (fd_ < 0)
        fd_ = ::open(QFile::encodeName(path_).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0)
        return true; // a folder we cannot lock is one we cannot write either: list.txt says why
    held_ = ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
    if (held_) {
        const QByteArray content = QByteArray::number(QCoreApplication::applicationPid()) + ' '
                                   + QFile::encodeName(QFileInfo(QCoreApplication::applicationFilePath()).fileName())
                                   + '\n';
        if (::ftruncate(fd_, 0) != 0 || ::pwrite(fd_, content.constData(), size_t(content.size()), 0) < 0)
            return true; // held all the same; only the note of who holds it is missing
    } else if (holder) {
        QByteArray content(kMaxContent, '\0');
        const ssize_t n = ::pread(fd_, content.data(), size_t(content.size()), 0);
        content.truncate(n > 0 ? qsizetype(n) : 0);
        const QList<QByteArray> words = content.trimmed().split(' ');
        holder->pid = words.value(0).toLongLong();
        holder->program = QFile::decodeName(words.value(1));
    }
    return held_;
}
