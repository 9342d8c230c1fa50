// AddCall's normalisations and list.txt.
#include "engine_fixture.h"

#include "monitor/engine/missed_count.h"

#include <QDir>
#include <QFileInfo>

namespace {

class CallListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        model.setListPath(dir.filePath("list.txt"));
        model.setPhoneBook(dir.filePath("book.txt"), {});
    }
    QByteArray listBytes() const { return readBytes(dir.filePath("list.txt")); }
    void writeFile(const QString& name, const QByteArray& bytes) { writeBytes(dir.filePath(name), bytes); }
    QTemporaryDir dir;
    CallList model;
};

TEST_F(CallListTest, AddCallNormalises)
{
    struct Case {
        const char *prefix, *type, *number, *cost;
        const char *storedType, *storedNumber, *storedCost;
    };
    const Case cases[] = {
        {"", "Answer", "", "01.50", "Answer", "-", "01.50"},
        {"", "Called", "0301", "00.00", "Called", "0301", "0"},
        {"", "Called", "0301", "0", "Called", "0301", "0"},
        {"", "CID", "0301", "-", "CID", "0301", "-"},
        {"0", "Called", "0301", "-", "Called*", "301", "-"},
        {"9", "Called", "0301", "-", "Called", "0301", "-"},
        {"03", "Try", "03", "-", "Try*", "", "-"},
    };
    for (const Case& c : cases) {
        model.setDialPrefix(QString::fromLatin1(c.prefix));
        model.AddCall("4711", c.type, QDate(2026, 12, 5), "14:03:22", c.number, "ignored", "0:02:41", c.cost);
        const CallRecord& r = model.records().first();
        EXPECT_EQ(r.type, QString::fromLatin1(c.storedType)) << c.number;
        EXPECT_EQ(r.number, QString::fromLatin1(c.storedNumber)) << c.number;
        EXPECT_EQ(r.cost, QString::fromLatin1(c.storedCost)) << c.number;
        EXPECT_EQ(r.name, QString()) << c.number;
        EXPECT_EQ(r.date, QStringLiteral("2026-12-05"));
    }
}

TEST_F(CallListTest, EachRecordIsOnDiskAtOnceNewestFirst)
{
    writeFile("book.txt", "Office\t-\t301\t\t\t-\r\n");
    model.setDialPrefix("0");
    model.AddCall("4711", "Called", QDate(2026, 12, 5), "14:03:22", "0301", "", "0:02:41", "01.20");
    EXPECT_EQ(listBytes(), QByteArray("4711\tCalled*\t2026-12-05\t14:03:22\t301\tOffice\t0:02:41\t01.20\r\n"));
    model.AddCall("4712", "CID", QDate(2026, 12, 6), "09:00:00", "555", "", "-", "-");
    EXPECT_TRUE(listBytes().startsWith("4712\tCID\t2026-12-06\t09:00:00\t555\t\t-\t-\r\n4711\t"));
}

TEST_F(CallListTest, ReadingSkipsLinesOfTwelveCharactersOrFewer)
{
    writeFile("list.txt", "123456789012\r\n1234567890123\r\n\r\na\tb\tc\td\te\tf\tg\th\ti\r\nshort\n");
    model.ReadTheList();
    ASSERT_EQ(model.records().size(), 2);
    EXPECT_EQ(model.records()[0].msn, QStringLiteral("1234567890123"));
    EXPECT_EQ(model.records()[1], (CallRecord{"a", "b", "c", "d", "e", "f", "g", "h"}));
}

TEST_F(CallListTest, EmptyListSavesAnEmptyFileAndAMissingFileReadsAsNone)
{
    model.ReadTheList();
    EXPECT_EQ(model.count(), 0);
    ASSERT_TRUE(model.SaveTheList());
    EXPECT_EQ(listBytes(), QByteArray());
}

TEST_F(CallListTest, AListThatCannotBeReadOrWrittenIsNeverOverwrittenKeepsNewCallsAndSavesThemLater)
{
    using Problem = CallList::FileProblem;
    const QByteArray old = "old\tCID\t2026-01-01\t10:00:00\t1\t\t-\t-\r\n";
    struct Case {
        const char* name;
        const char* listPath; // where the list is read and saved
        bool directory;       // a directory stands where list.txt should be
        Problem problem;
        const char* announced; // at each failed save
        int linesOnceRepaired; // the kept calls, and below them a list that can be read again
    };
    const Case cases[] = {
        {"directory in its place", "list.txt", true, Problem::Unreadable, "2 calls not saved: %1 could not be read", 3},
        {"folder missing", "missing/list.txt", false, Problem::NotSaved, "2 calls not saved: %1 could not be written",
            2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir d;
        const QString path = d.filePath(c.listPath);
        if (c.directory)
            QDir().mkpath(path + "/keep");
        model.clearRows();
        model.setListPath(path);
        model.ReadTheList();
        int announcements = 0;
        const QMetaObject::Connection counting = QObject::connect(
            &model, &CallList::callsNotSaved, [&] { ++announcements; });
        model.AddCall("1", "Ring", QDate(2026, 1, 1), "10:00:00", "111", "", "0:00:01", "-");
        model.AddCall("2", "Ring", QDate(2026, 1, 1), "10:00:05", "222", "", "0:00:01", "-");
        EXPECT_EQ(model.fileProblem(), c.problem);
        EXPECT_TRUE(model.hasUnsavedChanges());
        EXPECT_TRUE(model.fileProblemText().contains(QDir::toNativeSeparators(path)));
        EXPECT_FALSE(model.SaveTheList()); // as at closing
        EXPECT_EQ(announcements, 3);       // each call and the closing, not once
        EXPECT_EQ(model.unsavedCallsText(), QString(c.announced).arg(QDir::toNativeSeparators(path)));
        EXPECT_EQ(QFileInfo(path).isDir(), c.directory);
        EXPECT_EQ(model.count(), 2);

        // Once the file can be read and written, the next save keeps everything.
        if (c.directory)
            QDir(path).removeRecursively();
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        ASSERT_TRUE(!c.directory || (f.open(QIODevice::WriteOnly) && f.write(old) > 0));
        f.close();
        EXPECT_TRUE(model.SaveTheList());
        EXPECT_EQ(model.fileProblem(), Problem::None);
        EXPECT_FALSE(model.hasUnsavedChanges());
        EXPECT_EQ(announcements, 3);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        EXPECT_EQ(lines.size() - 1, c.linesOnceRepaired);
        EXPECT_TRUE(lines.first().startsWith("2\tRing")); // newest first, the old file's lines last
        if (c.directory) {
            EXPECT_EQ(lines.value(2) + '\n', old);
        }
        QObject::disconnect(counting);
    }
}

TEST_F(CallListTest, ReadsEveryLineEndAndWindowsTextAndWritesUtf8)
{
    struct Case {
        const char* name;
        QByteArray list, book;
        int records;
    };
    const QByteArray rec = "4711\tAnswer\t2026-01-02\t10:00:00\t0301\t\t0:01:00\t0";
    const Case cases[] = {
        {"lone CR", rec + "\r" + rec + "\r" + rec + "\r", "J\xfcrgen M\xfcller \x80\t0301\r\n", 3},
        {"LF and CR LF", rec + "\n" + rec + "\r\n", "J\xc3\xbcrgen M\xc3\xbcller \xe2\x82\xac\t0301\n", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile("list.txt", c.list);
        writeFile("book.txt", c.book);
        model.clearRows();
        model.ReadTheList();
        ASSERT_EQ(model.count(), c.records);
        EXPECT_EQ(model.records().last().cost, "0");
        ASSERT_TRUE(model.SaveTheList());
        EXPECT_TRUE(listBytes().contains("\tJ\xc3\xbcrgen M\xc3\xbcller \xe2\x82\xac\t0:01:00\t0\r\n"));
    }
}

} // namespace

// The missed count of every front end: "Ring" records started after the start
// or after the last look; a deleted one stops counting.
TEST_F(CallListTest, MissedCountIsTheRingCallsSinceTheStartOrTheLastLook)
{
    VirtualClock clock; // 2026-01-01 10:00:00
    MissedCount missed(model, clock);
    QList<int> told;
    QObject::connect(&missed, &MissedCount::changed, [&](int n) { told << n; });
    const auto add = [&](const char* type, const char* time) {
        model.AddCall("4711", type, QDate(2026, 1, 1), time, "0301", "", "0:00:05", "-");
    };
    add("Ring", "09:59:59"), add("Ring", "10:00:01"), add("Answer", "10:00:02"), add("Ring", "10:00:03");
    EXPECT_EQ(missed.count(), 2);
    model.remove(0, 1);
    clock.advance(5000);
    missed.looked();
    add("Ring", "10:00:04"), add("Ring", "10:00:06");
    EXPECT_EQ(missed.count(), 1);
    EXPECT_EQ(told, (QList<int>{1, 2, 1, 0, 1})); // each change once
}
