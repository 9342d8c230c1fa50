#pragma once
// The small files tests set up and check.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

// The bytes of `path`, or "<missing>" when it cannot be read.
inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// `bytes` as the file `path`, its folder made first; a failed write fails the test.
inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size()) << path.toStdString();
}
