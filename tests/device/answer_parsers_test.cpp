// Cutting the list answers, on well-formed and on malformed answers, and the
// charge counter helpers.
#include <gtest/gtest.h>

#include <QLocale>

#include "device/answer_parsers.h"
#include "device/charge_counters.h"
#include "device_answers.h"

namespace {

template <std::size_t N>
QStringList list(const std::array<QString, N>& a)
{
    return QStringList(a.begin(), a.end());
}

TEST(ParseMsns, CutsEveryNumberAndEmptiesWhatItCannotFind)
{
    const QStringList numbers = {"4711", "", "0301234567", "4712", "12", "", "4713", "", "999"};
    EXPECT_EQ(list(parseMsns(msnAnswerBody(numbers))), numbers);
    for (const char* garbage : {"", "Error", "a long answer without any of the labels in it\r\n"})
        EXPECT_EQ(list(parseMsns(QString::fromLatin1(garbage))), QStringList(9, QString())) << garbage;

    // The third port's MSN2 label is missing: its slots and the ones after it
    // come out empty, the earlier ones are intact.
    QString broken = msnAnswerBody({"1", "2", "3", "4", "5", "6", "7", "8", "9"});
    broken.replace(broken.lastIndexOf(QStringLiteral("MSN2")), 4, QStringLiteral("XXXX"));
    EXPECT_EQ(list(parseMsns(broken)), QStringList({"1", "2", "3", "4", "5", "6", "", "", ""}));
}

TEST(ParseColonLines, CutOwnNumbersAndChargesAndEmptyTheRestOnAMissingColonOrLineEnd)
{
    const struct {
        QString answer;
        QStringList own;
    } cases[] = {
        {ownAnswerBody({"4711", "", "4713"}), {"4711", "", "4713"}},
        {QStringLiteral("Error"), {"", "", ""}},
        {QString(), {"", "", ""}},
        {QStringLiteral("Phone 1: 11\r\n\r\nPhone 2: 22"), {"11", "", ""}}, // no line end after the second
        // a line without its colon: the next colon is taken, as the device's layout implies
        {QStringLiteral("A: 1\r\nB 2\r\nC: 3\r\nD: 4\r\n"), {"1", "3", "4"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(list(parseOwnNumbers(c.answer)), c.own) << c.answer.toStdString();
    EXPECT_EQ(list(parseCharges(chargeAnswerBody({"1", "2", "3", "40", "", "600"}))),
              QStringList({"1", "2", "3", "40", "", "600"}));
}

TEST(ChargeCount, EmptyIsZeroNumberIsWholeGarbageKeeps)
{
    QLocale::setDefault(QLocale::c());
    struct {
        const char* text;
        qint32 previous;
        qint32 expected;
    } cases[] = {{"", 5, 0},         {"12", 5, 12},       {" 7 ", 5, 7},  {"2.5", 0, 2},
                 {"3.5", 0, 4},      {"abc", 5, 5},       {"-3", 0, -3}, {"99999999999", 5, 5}};
    for (const auto& c : cases)
        EXPECT_EQ(chargeCount(QString::fromLatin1(c.text), c.previous), c.expected) << c.text;
}

TEST(ResetStamp, UsesTheLocaleSeparatorsWithoutLeadingZeros)
{
    const QDateTime when(QDate(2007, 3, 3), QTime(9, 5));
    EXPECT_EQ(resetStamp(when, QLocale(QLocale::English, QLocale::UnitedStates)), QStringLiteral("3/3/2007 9:05"));
    EXPECT_EQ(resetStamp(when, QLocale(QLocale::German, QLocale::Germany)), QStringLiteral("3.3.2007 9:05"));
    EXPECT_EQ(resetStamp(QDateTime(QDate(2026, 12, 31), QTime(23, 59)), QLocale(QLocale::German, QLocale::Germany)),
              QStringLiteral("31.12.2026 23:59"));
}

} // namespace
