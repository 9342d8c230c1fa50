// list.txt and book.txt on a full disk: the old file stays as it was and the
// failure is reported. The writer runs in a forked child whose files cannot
// grow past a limit, so every write beyond it fails as on a full disk.
#include "engine_fixture.h"
#include "phonebook/book_file.h"

#include <QDir>

#ifdef Q_OS_UNIX
#include "common/file_size_limit.h"
#include "common/test_files.h"

namespace {

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
        writeBytes(file, old);
        EXPECT_EQ(withFileSizeLimit(c.limit, write), c.written ? 1 : 0);
        const QByteArray now = readBytes(file);
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
