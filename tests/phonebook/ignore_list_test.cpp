// The ignore list: numbers and prefixes in any of the forms people write, and
// "Ignore this caller" adding to the file.
#include "phonebook/ignore_list.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

TEST(IgnoreList, MatchesNumbersAndPrefixesInTheirNationalForm)
{
    const NumberPlan berlin{QStringLiteral("49"), QStringLiteral("30")};
    struct Case {
        const char* list;
        const char* number;
        bool ignored;
    };
    const Case cases[] = {
        {"0900*", "09001234", true}, {"0900*", "0901234", false},
        {"+49 900*", "09005555", true},       // the prefix in international form
        {"0049-900-*", "+49 900 5555", true}, // both in other forms
        {"0301234567", "1234567", true},      // a local caller
        {"1234567", "0301234567", true},      // a local entry
        {"0301234567", "03012345678", false}, // exact entries are exact
        {"0301234567 # the daily advert", "+49 30 1234567", true},
        {"# 0301234567", "0301234567", false},                        // a comment only
        {"*", "0301234567", false},                                   // a bare star is no prefix
        {"Unknown\n0800*", "Unknown", false},                         // neither a name nor a withheld caller
        {"0800*", "", false}, {"\r\n\r\n0800*\r\n", "0800111", true}, // blank lines, CR LF
    };
    for (const Case& c : cases)
        EXPECT_EQ(IgnoreList(QString::fromUtf8(c.list), berlin).matches(QString::fromUtf8(c.number)), c.ignored)
            << c.list << " / " << c.number;
}

TEST(IgnoreList, AddAppendsOnceAndKeepsWhatIsThere)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ignore.txt"));
    const NumberPlan plan;
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("# adverts\n0900*"); // no line end after the last entry
    f.close();
    EXPECT_TRUE(IgnoreList::add(path, QStringLiteral("030 1234"), plan));
    EXPECT_TRUE(IgnoreList::add(path, QStringLiteral("+49301234"), plan)); // already there
    EXPECT_TRUE(IgnoreList::add(path, QStringLiteral("09001"), plan));     // under a prefix
    EXPECT_FALSE(IgnoreList::add(path, QStringLiteral("Unknown"), plan));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("# adverts\n0900*\n030 1234\n"));
    EXPECT_TRUE(IgnoreList::read(path, plan).matches(QStringLiteral("0301234")));
    EXPECT_TRUE(IgnoreList::read(dir.filePath(QStringLiteral("none.txt")), plan).isEmpty());
}
