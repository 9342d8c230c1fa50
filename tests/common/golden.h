#pragma once
// EXPECT_GOLDEN(path, text): text equals the data file tests/<path>. With
// CORVANE_UPDATE_GOLDENS=1 the file is written instead (review the diff).
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

inline void expectGolden(const char* path, const QString& text, const char* file, int line)
{
    const QString full = QStringLiteral(CORVANE_SOURCE_DIR "/tests/") + QLatin1String(path);
    QFile f(full);
    if (qEnvironmentVariableIntValue("CORVANE_UPDATE_GOLDENS") == 1) {
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path;
        f.write(text.toUtf8());
        return;
    }
    const QString expected = f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<missing>");
    EXPECT_EQ(text.toStdString(), expected.toStdString()) << "golden " << path << " (" << file << ':' << line << ')';
}
#define EXPECT_GOLDEN(path, text) expectGolden(path, text, __FILE__, __LINE__)
