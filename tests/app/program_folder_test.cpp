// The program folder rule and its bundled files.
#include "common/folder_lock.h"
#include "common/program_folder.h"
#include "common/test_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

TEST(ProgramFolder, OptionThenVariableThenAPortableCopyThenTheUserFolder)
{
    QTemporaryDir d;
    const QString bin = d.filePath("bin"), portable = d.filePath("portable"), user = d.filePath("user");
    QDir().mkpath(bin); // an installed program's folder: no list.txt, no book.txt
    writeBytes(portable + "/book.txt", "");
    struct Case {
        ProgramFolder::Candidates in;
        QString chosen;
    } cases[] = {
        {{"/o", "/v", portable, user}, "/o"}, {{"", "/v", portable, user}, "/v"}, {{"", "", portable, user}, portable},
        {{"", "", bin, user}, user}, // never beside an installed executable
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProgramFolder::choose(c.in), c.chosen) << c.chosen.toStdString();
    writeBytes(bin + "/list.txt", "");
    EXPECT_EQ(ProgramFolder::choose({"", "", bin, user}), bin); // a call list keeps it portable
}

TEST(ProgramFolder, FirstStartFillsTheUserFolderAndKeepsTheUsersCopies)
{
    QTemporaryDir d;
    const QByteArray oldData = qgetenv("XDG_DATA_HOME"), oldDirs = qgetenv("XDG_DATA_DIRS");
    const QString oldCwd = QDir::currentPath();
    qputenv("XDG_DATA_HOME", d.filePath("data").toUtf8());
    qputenv("XDG_DATA_DIRS", d.filePath("system").toUtf8()); // where a package puts share/corvane
    qunsetenv("CORVANE_HOME");
    for (const QString& name : ProgramFolder::bundledFiles())
        writeBytes(d.filePath("system/corvane/") + name, "bundled " + name.toUtf8());

    // The tests' executable folder holds no list.txt: the per-user folder is used.
    const QString home = ProgramFolder::setUp(QString());
    EXPECT_EQ(home, d.filePath("data/") + QCoreApplication::applicationName());
    EXPECT_EQ(QDir::currentPath(), home);
    for (const QString& name : ProgramFolder::bundledFiles()) {
        EXPECT_EQ(readBytes(home + '/' + name), "bundled " + name.toUtf8());
        EXPECT_FALSE(QFile::exists(QCoreApplication::applicationDirPath() + '/' + name)) << name.toStdString();
    }
    writeBytes(home + "/ring.wav", "my own ring");
    QFile::remove(home + "/help.htm");
    ProgramFolder::setUp(QString());
    EXPECT_EQ(readBytes(home + "/ring.wav"), "my own ring");
    EXPECT_EQ(readBytes(home + "/help.htm"), "bundled help.htm");
    QDir::setCurrent(oldCwd);
    qputenv("XDG_DATA_HOME", oldData);
    qputenv("XDG_DATA_DIRS", oldDirs);
}

// One writer per folder: a second lock is told who holds it; once the holder
// is gone (closed, or a process that died) the folder is free.
TEST(FolderLock, ASecondHolderIsToldWhoHasTheFolderUntilItIsGone)
{
    QTemporaryDir d;
    auto first = std::make_unique<FolderLock>(d.path());
    FolderLock second(d.path());
    FolderLock::Holder holder;
    EXPECT_TRUE(first->tryLock() && !second.tryLock(&holder));
    EXPECT_EQ(holder.pid, QCoreApplication::applicationPid());
    first.reset();
    EXPECT_TRUE(second.tryLock());
}
