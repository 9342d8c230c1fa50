#pragma once
// Text <-> number conversions in the user's regional format. Every place
// where a text becomes a number goes through here.
#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>
#include <optional>

namespace regional {

// The text, trimmed, as a number in the locale's format. Group separators are
// not accepted. The other common decimal separator is accepted too, so the
// stored defaults "0,026" and "0.01" mean 0.026 and 0.01 in every locale.
std::optional<double> toNumber(const QString& text, const QLocale& locale = QLocale());

// Whole number with halves to the even neighbour.
long long roundHalfEven(double value);

// A stored setting as the settings readers convert it: a 16-bit whole number
// (halves to even) or a single-precision number; nothing for a text that does
// not convert or overflows.
std::optional<int> toInt16(const QString& text);
std::optional<float> toSingle(const QString& text);
// A price (the unit cost): a single-precision number that is not below zero;
// nothing for anything else (no number, infinite, negative).
std::optional<float> toCost(const QString& text);

// Single-precision value as the store keeps it: at most seven significant
// digits, no exponent, the locale's decimal separator ("0.2" / "0,2").
QString fromSingle(float value, const QLocale& locale = QLocale());

// "00.00": at least two integer digits, exactly two decimals, locale separator.
QString money00(double value, const QLocale& locale = QLocale());

// The locale's currency format with exactly two decimals.
QString currency2(double value, const QLocale& locale = QLocale());

// The time in the locale's long time format without its time-zone field
// ("11:05:20", "11:05:20 AM"): the clock labels read like a desktop clock.
QString longTime(QTime time, const QLocale& locale = QLocale());

// A date-time format with its time-zone field ("t" ... "tttt"), the brackets
// around it and the separator before it removed; quoted text is kept.
QString withoutTimeZone(const QString& format);

// The day and month of `date` in the locale's short date form, without the
// year ("11/14", "14.11"): the labels of a day axis.
QString dayAndMonth(QDate date, const QLocale& locale = QLocale());

} // namespace regional
