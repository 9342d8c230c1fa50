#pragma once
// The small files tests set up and check.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

// The bytes of `path`, or "<missing>" when it cannot be read.
inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// `bytes` as the file `path`, its folder made first; a failed write fails the test.
// A fifo full from the start, whose reader takes nothing: its reading and
// writing ends, for the test to close.
inline std::pair<int, int> fullFifo(const QString& path)
{
    const QByteArray p = QFile::encodeName(path);
    if (::mkfifo(p.constData(), 0600) != 0)
        return {-1, -1};
    const int reader = ::open(p.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    const int writer = ::open(p.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    for (const qsizetype size : {4096, 1})
        while (writer >= 0 && ::write(writer, QByteArray(size, 'x').constData(), size_t(size)) > 0) {}
    return {reader, writer};
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size()) << path.toStdString();
}
