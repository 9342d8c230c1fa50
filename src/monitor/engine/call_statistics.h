#pragma once
// The figures of the statistics window, computed from the call list alone (no
// widgets): calls per day of the last 30 days by type, calls per hour of the
// day, the most frequent numbers, and costs per month and MSN. Only calls
// count: a "CID" record announces a call whose own record follows, so it
// would count every incoming call twice.
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

struct CallRecord;

struct CallStatistics {
    static constexpr int kDays = 30, kHours = 24, kTopNumbers = 10, kMonths = 12;
    // The call types shown, in stacking order.
    enum Kind { Answered, Missed, Outgoing, Unconnected, KindCount };
    // The English title of a kind (a source text the statistics window translates).
    static const char* kindTitle(int kind);
    // Answer, Ring, Called, Try (a trailing "*" marks the dial prefix); else -1.
    static int kindOf(const QString& type);

    struct Frequent {
        QString number, name; // the name of the newest record that has one
        int calls = 0;
    };

    QDate lastDay;                                          // today; day kDays - 1
    std::array<std::array<int, KindCount>, kDays> perDay{}; // day 0 is lastDay - 29
    std::array<int, kHours> perHour{};                      // every call in the list
    QList<Frequent> topNumbers;                             // most calls first, then by number
    QStringList months;                                     // "yyyy-MM", the last kMonths, oldest first
    QStringList msns;                                       // MSNs with a cost in those months, sorted
    QList<std::array<double, kMonths>> costs;               // [msn][month]
    QList<double> msnTotals;                                // [msn], over the kMonths
    int calls = 0;                                          // records that are calls

    static CallStatistics compute(const QList<CallRecord>& records, QDate today);
};
