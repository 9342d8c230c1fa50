#include "monitor/engine/call_statistics.h"

#include "common/regional.h"
#include "monitor/engine/call_list.h"

#include <QHash>
#include <algorithm>
#include <optional>

namespace {

// Digits at [from, from + count) of text, or -1.
int digitsAt(const QString& text, int from, int count)
{
    if (text.size() < from + count)
        return -1;
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        const QChar c = text[i];
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// "yyyy-MM-dd" as the call list keeps it; an invalid date for anything else.
QDate recordDate(const QString& text)
{
    if (text.size() != 10 || text[4] != u'-' || text[7] != u'-')
        return {};
    return QDate(digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2));
}

int monthIndex(QDate d)
{
    return d.year() * 12 + d.month() - 1;
}

bool isNumber(const QString& number)
{
    return !number.isEmpty() && number != QLatin1String("-");
}

} // namespace

const char* CallStatistics::kindTitle(int kind)
{
    static const char* const titles[KindCount] = {QT_TRANSLATE_NOOP("StatisticsWindow", "Answered"),
        QT_TRANSLATE_NOOP("StatisticsWindow", "Missed"), QT_TRANSLATE_NOOP("StatisticsWindow", "Outgoing"),
        QT_TRANSLATE_NOOP("StatisticsWindow", "Not connected")};
    return kind >= 0 && kind < KindCount ? titles[kind] : "";
}

int CallStatistics::kindOf(const QString& type)
{
    static const char* const words[KindCount] = {"Answer", "Ring", "Called", "Try"};
    const QStringView t = type.endsWith(u'*') ? QStringView(type).chopped(1) : QStringView(type);
    for (int k = 0; k < KindCount; ++k)
        if (t == QLatin1String(words[k]))
            return k;
    return -1;
}

CallStatistics CallStatistics::compute(const QList<CallRecord>& records, QDate today)
{
    CallStatistics s;
    s.lastDay = today;
    const qint64 firstDay = today.toJulianDay() - (kDays - 1);
    const int lastMonth = monthIndex(today);
    for (int m = kMonths - 1; m >= 0; --m)
        s.months << today.addMonths(-m).toString(QStringLiteral("yyyy-MM"));

    struct Tally {
        int calls = 0;
        QString name;
    };
    QHash<QString, Tally> byNumber;
    QHash<QString, std::array<double, kMonths>> costByMsn;
    for (const CallRecord& r : records) {
        const int kind = kindOf(r.type);
        if (kind < 0)
            continue;
        ++s.calls;
        const int hour = digitsAt(r.time, 0, 2);
        if (hour >= 0 && hour < kHours)
            ++s.perHour[hour];
        if (isNumber(r.number)) {
            Tally& t = byNumber[r.number];
            ++t.calls;
            if (t.name.isEmpty())
                t.name = r.name; // the list is newest first
        }
        const QDate date = recordDate(r.date);
        if (!date.isValid())
            continue;
        const qint64 day = date.toJulianDay() - firstDay;
        if (day >= 0 && day < kDays)
            ++s.perDay[day][kind];
        const int month = kMonths - 1 - (lastMonth - monthIndex(date));
        if (month < 0 || month >= kMonths || r.cost == QLatin1String("-") || r.cost == QLatin1String("0"))
            continue;
        const std::optional<double> cost = regional::toNumber(r.cost);
        if (cost && *cost != 0.0) {
            auto it = costByMsn.find(r.msn);
            if (it == costByMsn.end())
                it = costByMsn.insert(r.msn, {});
            (*it)[month] += *cost;
        }
    }

    for (auto it = byNumber.cbegin(); it != byNumber.cend(); ++it)
        s.topNumbers.append({it.key(), it->name, it->calls});
    std::sort(s.topNumbers.begin(), s.topNumbers.end(), [](const Frequent& a, const Frequent& b) {
        return a.calls != b.calls ? a.calls > b.calls : a.number < b.number;
    });
    if (s.topNumbers.size() > kTopNumbers)
        s.topNumbers.resize(kTopNumbers);

    s.msns = costByMsn.keys();
    std::sort(s.msns.begin(), s.msns.end());
    for (const QString& msn : std::as_const(s.msns)) {
        const std::array<double, kMonths>& perMonth = costByMsn.value(msn);
        s.costs.append(perMonth);
        double total = 0;
        for (double c : perMonth)
            total += c;
        s.msnTotals.append(total);
    }
    return s;
}
