#include "monitor/engine/time_texts.h"

namespace {
// `value` as `width` digits ending before `end`.
void putDigits(char* end, int width, int value)
{
    for (int i = 1; i <= width; ++i, value /= 10)
        end[-i] = char('0' + value % 10);
}

// "yyyy-MM-dd" into the ten characters at `text` (one calendar conversion);
// false for a year Qt writes other than as four digits.
bool putDate(char* text, QDate date)
{
    int year = 0, month = 0, day = 0;
    date.getDate(&year, &month, &day);
    if (year < 0 || year > 9999)
        return false;
    putDigits(text + 4, 4, year);
    putDigits(text + 7, 2, month);
    putDigits(text + 10, 2, day);
    return true;
}

// "HH:mm:ss" into the eight characters at `text`.
void putClock(char* text, QTime time)
{
    putDigits(text + 2, 2, time.hour());
    putDigits(text + 5, 2, time.minute());
    putDigits(text + 8, 2, time.second());
}
} // namespace

namespace timetext {

QString clock(QTime time)
{
    if (!time.isValid())
        return {};
    char text[] = "00:00:00";
    putClock(text, time);
    return QLatin1String(text);
}

QString isoDate(QDate date)
{
    if (!date.isValid())
        return {};
    char text[] = "0000-00-00";
    if (!putDate(text, date))
        return date.toString(QStringLiteral("yyyy-MM-dd"));
    return QLatin1String(text);
}

QString isoSeconds(const QDateTime& moment)
{
    if (!moment.isValid())
        return {};
    char text[] = "0000-00-00T00:00:00";
    if (!putDate(text, moment.date()))
        return moment.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    putClock(text + 11, moment.time());
    return QLatin1String(text);
}

} // namespace timetext
