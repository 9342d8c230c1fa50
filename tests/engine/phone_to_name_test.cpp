// The number-to-name rule and book.txt.
#include "common/regional.h"
#include "phonebook/book_file.h"
#include "phonebook/book_lookup.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const char kBook[] = "Alpha\t0301234567\t-\t-\t-\t-\r\n"
                     "Beta\t1234567\t\t\t\tbeta.jpg\r\n"
                     "abc\t\r\n"
                     "Gamma\t-\t-\t0171999\t-\tgamma.jpg\r\n"
                     "Delta\t0171999\t\t\t\tdelta.jpg\r\n";

TEST(PhoneToName, SevenTenthsRule)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("book.txt");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(kBook);
    f.close();
    struct Case {
        const char *number, *name, *picture;
    };
    const Case cases[] = {
        {"0301234567", "Alpha", "-"},      // exact
        {"00301234567", "Alpha", "-"},     // 10 > 7.7
        {"12340301234567", "Alpha", "-"},  // 14 digits: 10 > 9.8
        {"123450301234567", "", "-"},      // 15 digits: 10 is not > 10.5
        {"1234567890", "", "-"},           // stored 7 in incoming 10: 7 is not > 7.0
        {"123456789", "Beta", "beta.jpg"}, // 7 > 6.3
        {"0171999", "Gamma", "gamma.jpg"}, // Mobile matches; the earlier line wins
        {"", "", "-"},
        {"Secret Number", "", "-"},
        {"-", "", "-"},
        {"abc", "", "-"},
    };
    for (const Case& c : cases) {
        QString number = QString::fromLatin1(c.number);
        EXPECT_EQ(PhoneToName(number, path), QString::fromLatin1(c.name)) << c.number;
        EXPECT_EQ(number, QString::fromLatin1(c.picture)) << c.number;
    }
    QString number = QStringLiteral("0301234567");
    EXPECT_EQ(PhoneToName(number, dir.filePath("missing.txt")), QString());
    EXPECT_EQ(number, QStringLiteral("-"));
}

TEST(PhoneToName, MatchingBoundary)
{
    // 10 x len(stored) > 7 x len(number) for every length below 90.
    for (int n = 1; n < 90; ++n)
        for (int s = 1; s <= n; ++s)
            ASSERT_EQ(BookLookup::matches(QString(s, u'1'), QString(n, u'1')), 10 * s > 7 * n) << s << "/" << n;
}

// Plain digits skip the number parser; its answer must stay the same, in
// locales with other digits and for more digits than a double holds.
TEST(PhoneToName, NumericTextAsTheNumberParserReadsIt)
{
    const QString texts[] = {"0301234567", "0", " 42 ", "12,5", "1.5", "1e5", "+49", "", "Secret Number",
        QString(300, u'9'), QString(309, u'9'), QString::fromUtf8("\u0660\u0661")};
    const QLocale before;
    for (const char* name : {"C", "de_DE", "ar_EG", "fa_IR"}) {
        QLocale::setDefault(QLocale(QLatin1String(name)));
        for (const QString& t : texts)
            EXPECT_EQ(BookLookup::isNumeric(t), regional::toNumber(t).has_value())
                << name << " " << t.left(12).toStdString();
    }
    QLocale::setDefault(before);
}

} // namespace

namespace {

// The index answers as reading every line in order with the rule would: on
// random books of short numbers, where many lines match the same number.
TEST(PhoneToName, TheIndexAnswersAsTheLineByLineRule)
{
    quint32 seed = 12345;
    const auto next = [&seed](int below) { return int((seed = seed * 1103515245u + 12345u) >> 16) % below; };
    const auto digitsOf = [&next](int n) {
        QString s;
        for (int i = 0; i < n; ++i)
            s += QChar(u'0' + next(3));
        return s;
    };
    for (int round = 0; round < 50; ++round) {
        QStringList lines;
        QList<QStringList> fields;
        for (int i = 0; i < 30; ++i) {
            QStringList f{QString::number(i), digitsOf(1 + next(7)), next(2) ? digitsOf(1 + next(7)) : QString(), "",
                "", QStringLiteral("p%1").arg(i)};
            fields << f;
            lines << f.join(u'\t');
        }
        const BookLookup book = BookLookup::fromText(lines.join(QStringLiteral("\r\n")));
        for (int k = 0; k < 40; ++k) {
            const QString number = digitsOf(1 + next(9));
            QString expected = "-", expectedName;
            for (const QStringList& f : fields)
                if (lines[fields.indexOf(f)].size() > 4
                    && (BookLookup::matches(f[1], number) || BookLookup::matches(f[2], number))) {
                    expected = f[5];
                    expectedName = f[0];
                    break;
                }
            QString got = number;
            EXPECT_EQ(book.nameFor(got), expectedName) << number.toStdString();
            EXPECT_EQ(got, expected) << number.toStdString();
        }
    }
}

// Two program folders' caches side by side: each names from its own book, an edit seen at once.
TEST(PhoneToName, EachCacheHoldsItsOwnBook)
{
    QTemporaryDir a, b;
    BookCache cacheA, cacheB;
    const auto name = [](const QTemporaryDir& dir, BookCache& cache) {
        QString number = QStringLiteral("0301234567");
        return PhoneToName(number, dir.filePath("book.txt"), {}, {}, &cache);
    };
    for (const char* text : {"Anna\t0301234567\r\n", "Berta\t0301234567\r\n"}) {
        for (QTemporaryDir* dir : {&a, &b}) {
            QFile f(dir->filePath("book.txt"));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(dir == &a ? text : "Other\t0301234567\r\n");
        }
        EXPECT_EQ(name(a, cacheA), QString::fromLatin1(text).section(u'\t', 0, 0));
        EXPECT_EQ(name(b, cacheB), QStringLiteral("Other"));
    }
}

} // namespace
