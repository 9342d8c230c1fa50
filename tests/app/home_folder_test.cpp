// Log file, program folder files and the one-instance lock.
#include "app/home_folder.h"
#include "app/single_instance.h"
#include "app/startup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
void put(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}
} // namespace

TEST(LogFile, CreatedWithOneLineBreakExistingLeftAlone)
{
    QTemporaryDir dir;
    const QString log = dir.filePath("log.txt");
    ensureLogFile(log);
    EXPECT_EQ(contents(log), QByteArray("\r\n"));

    put(log, QByteArray("old\x00text", 8));
    ensureLogFile(log);
    EXPECT_EQ(contents(log), QByteArray("old\x00text", 8));

    ensureLogFile(dir.filePath("no/such/folder/log.txt")); // cannot be made: nothing happens
    EXPECT_FALSE(QFile::exists(dir.filePath("no/such/folder/log.txt")));
}

TEST(ProgramFiles, MissingOnesAreCopiedUserCopiesKept)
{
    QTemporaryDir source, home;
    for (const QString& name : bundledFiles())
        put(source.filePath(name), "bundled " + name.toLatin1());
    put(home.filePath("ring.wav"), "my own ring");

    copyMissingFiles(source.path(), home.path());
    EXPECT_EQ(contents(home.filePath("ring.wav")), QByteArray("my own ring"));
    EXPECT_EQ(contents(home.filePath("help.htm")), QByteArray("bundled help.htm"));
    EXPECT_EQ(contents(home.filePath("noname.jpg")), QByteArray("bundled noname.jpg"));

    EXPECT_EQ(chooseProgramFolder(home.filePath("new/home")), home.filePath("new/home"));
    EXPECT_TRUE(QDir(home.filePath("new/home")).exists());
}

TEST(SingleInstance, SecondHolderIsRefusedUntilTheFirstEnds)
{
    QTemporaryDir dir;
    const QString lock = dir.filePath("corvane.lock");
    auto first = std::make_unique<SingleInstance>(lock);
    EXPECT_TRUE(first->tryLock());
    EXPECT_TRUE(first->tryLock()); // asking again keeps it
    SingleInstance second(lock);
    EXPECT_FALSE(second.tryLock());
    first.reset();
    EXPECT_TRUE(second.tryLock());
}
