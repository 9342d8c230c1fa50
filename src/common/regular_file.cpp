#include "common/regular_file.h"

#include <QFile>
#include <QMutex>
#include <QSet>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a FIFO");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    return QStringLiteral("no regular file");
}

// A file that stays broken is said once, not at every read.
void sayOnce(const QString& path, const QString& problem)
{
    static QMutex mutex;
    static QSet<QString> said;
    const QMutexLocker lock(&mutex);
    if (said.size() < 1000 && !said.contains(path + u'\n' + problem)) {
        said.insert(path + u'\n' + problem);
        qWarning("%s", qPrintable(QStringLiteral("skipped %1: %2").arg(path, problem)));
    }
}

QString tooLarge(qint64 maxBytes)
{
    return QStringLiteral("larger than %1 bytes").arg(maxBytes);
}

// Opens without blocking (a FIFO or terminal would block a plain open) and
// without becoming the controlling terminal; -1 with `problem` set on refusal.
int openRegular(const QString& path, qint64 maxBytes, struct stat& st, QString& problem, bool& exists)
{
    exists = true;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        exists = errno != ENOENT && errno != ENOTDIR;
        if (exists)
            problem = QString::fromLocal8Bit(std::strerror(errno));
        return -1;
    }
    if (::fstat(fd, &st) != 0)
        problem = QString::fromLocal8Bit(std::strerror(errno));
    else if (!S_ISREG(st.st_mode))
        problem = kindOf(st.st_mode);
    else if (st.st_size > maxBytes)
        problem = tooLarge(maxBytes);
    if (problem.isEmpty())
        return fd;
    ::close(fd);
    return -1;
}

} // namespace

namespace regularfile {

Contents read(const QString& path, qint64 maxBytes)
{
    Contents out;
    struct stat st {};
    const int fd = path.isEmpty() ? -1 : openRegular(path, maxBytes, st, out.problem, out.exists);
    if (fd < 0) {
        if (!out.problem.isEmpty())
            sayOnce(path, out.problem);
        return out;
    }
    // One byte more than allowed tells a file that grew past the bound.
    out.bytes.resize(qsizetype(std::min<qint64>(st.st_size, maxBytes) + 1));
    qsizetype got = 0;
    while (got < out.bytes.size()) {
        const ssize_t n = ::read(fd, out.bytes.data() + got, size_t(out.bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            out.problem = QString::fromLocal8Bit(std::strerror(errno));
            break;
        }
        if (n == 0)
            break;
        got += n;
        if (got == out.bytes.size() && got <= maxBytes) // it grew: read on up to the bound
            out.bytes.resize(qsizetype(std::min<qint64>(got * 2, maxBytes + 1)));
    }
    ::close(fd);
    if (out.problem.isEmpty() && got > maxBytes)
        out.problem = tooLarge(maxBytes);
    if (!out.problem.isEmpty()) {
        out.bytes.clear();
        sayOnce(path, out.problem);
        return out;
    }
    out.bytes.truncate(got);
    return out;
}

QString check(const QString& path, qint64 maxBytes)
{
    struct stat st {};
    QString problem;
    bool exists = false;
    const int fd = path.isEmpty() ? -1 : openRegular(path, maxBytes, st, problem, exists);
    if (fd >= 0)
        ::close(fd);
    else if (problem.isEmpty())
        problem = QStringLiteral("no such file");
    if (!problem.isEmpty())
        sayOnce(path, problem);
    return problem;
}

} // namespace regularfile
