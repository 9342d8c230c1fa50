#pragma once
// EXPECT_GOLDEN(path, got): `got` (bytes, or text as UTF-8) equals the data
// file tests/<path> byte for byte. With CORVANE_UPDATE_GOLDENS=1 every golden
// is written instead where it differs: run the tests so, then read the diff.
#include <QDir>
#include <QFile>
#include <QString>
#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <string>
#include <vector>

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

// The files `pattern` ("*.frames") in tests/<dir> without their suffix, for a
// parameterised test with one case per file.
inline std::vector<std::string> goldenCases(const char* dir, const char* pattern)
{
    std::vector<std::string> names;
    const QDir data(QStringLiteral(CORVANE_SOURCE_DIR "/tests/") + QLatin1String(dir));
    for (const QFileInfo& file : data.entryInfoList({QLatin1String(pattern)}, QDir::Files, QDir::Name))
        names.push_back(file.completeBaseName().toStdString());
    return names;
}

// A test case named after its golden: letters, digits and "_" only.
inline std::string goldenCaseName(const ::testing::TestParamInfo<std::string>& info)
{
    std::string name = info.param;
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(uchar(c)); }, '_'); // as gtest needs
    return name;
}
