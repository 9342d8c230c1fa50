// list.txt and book.txt on a full disk: the old file stays as it was and the
// failure is reported. The writer runs in a forked child whose files cannot
// grow past a limit, so every write beyond it fails as on a full disk.
#include "engine_fixture.h"
#include "phonebook/book_file.h"

#include <QDir>
#include <functional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

enum class Outcome { Failed, Succeeded, Crashed };

Outcome withFileSizeLimit(rlim_t limit, const std::function<bool()>& write)
{
    const pid_t pid = fork();
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN); // the write fails with EFBIG instead of ending the process
        const rlimit r{limit, limit};
        setrlimit(RLIMIT_FSIZE, &r);
        _exit(write() ? 1 : 0);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return Outcome::Crashed;
    return WEXITSTATUS(status) == 1 ? Outcome::Succeeded : Outcome::Failed;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

struct Case {
    const char* name;
    int size;     // characters in the new file
    rlim_t limit; // largest file the child may write
    bool written;
};

// 600 characters stay in QSaveFile's buffer until the flush; 100000 go to the
// file at once and come back as a short write.
const Case kCases[] = {
    {"buffered write past the limit", 600, 512, false},
    {"direct write past the limit", 100000, 512, false},
    {"room enough", 600, RLIM_INFINITY, true},
};

class FullDiskTest : public EngineFixture {
protected:
    void check(const Case& c, const QString& file, const std::function<bool()>& write)
    {
        SCOPED_TRACE(c.name);
        const QByteArray old = "Old\t0301\t\t\t\t-\r\n";
        {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(old);
        }
        const Outcome outcome = withFileSizeLimit(c.limit, write);
        EXPECT_EQ(outcome, c.written ? Outcome::Succeeded : Outcome::Failed);
        const QByteArray now = readAll(file);
        if (c.written)
            EXPECT_GE(now.size(), c.size);
        else
            EXPECT_EQ(now, old);
        // No temporary copy ("book.txt.XXXXXX") is left behind.
        EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.txt.*")}, QDir::Files | QDir::Hidden), QStringList());
    }
};

TEST_F(FullDiskTest, BookKeepsTheOldFile)
{
    for (const Case& c : kCases) {
        const QList<BookEntry> entries{{QString(c.size - 8, u'n'), "123", "", "", "", "-"}};
        check(c, path("book.txt"), [&] { return BookFile::write(path("book.txt"), entries); });
    }
}

TEST_F(FullDiskTest, CallListKeepsTheOldFile)
{
    for (const Case& c : kCases) {
        CallList& list = engine->callList();
        list.setRecords(
            {CallRecord{"4711", "Answer", "2026-01-01", "10:00:00", QString(c.size - 40, u'1'), "", "0:00:01", "-"}});
        check(c, path("list.txt"), [&] { return list.SaveTheList(); });
    }
}
} // namespace
#endif
