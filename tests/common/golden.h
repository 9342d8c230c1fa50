#pragma once
// EXPECT_GOLDEN(path, got): `got` (bytes, or text as UTF-8) equals the data
// file tests/<path> byte for byte. With CORVANE_UPDATE_GOLDENS=1 every golden
// is written instead where it differs: run the tests so, then read the diff.
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

inline void expectGolden(const QString& path, const QByteArray& got, const char* file, int line)
{
    QFile f(QStringLiteral(CORVANE_SOURCE_DIR "/tests/") + path);
    const QByteArray expected = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    f.close();
    if (qEnvironmentVariableIntValue("CORVANE_UPDATE_GOLDENS") == 1) {
        if (got != expected) {
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(got) == got.size())
                << path.toStdString();
        }
        return;
    }
    EXPECT_EQ(got.toStdString(), expected.toStdString())
        << "golden " << path.toStdString() << " (" << file << ':' << line << ')';
}

inline void expectGolden(const QString& path, const QString& got, const char* file, int line)
{
    expectGolden(path, got.toUtf8(), file, line);
}

#define EXPECT_GOLDEN(path, got) expectGolden(path, got, __FILE__, __LINE__)
