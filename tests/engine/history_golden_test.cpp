// The call history's pure parts on one small list (data/history_list.txt):
// the filter, the missed count, the CSV export, the statistics and the other
// forms of numbers, dumped as text and compared whole with a reviewed file.
#include "common/golden.h"

#include "monitor/engine/call_list.h"
#include "monitor/engine/call_history.h"
#include "monitor/engine/call_list_csv.h"
#include "monitor/engine/call_statistics.h"
#include "monitor/engine/monitor_inputs.h"
#include "phonebook/phone_to_name.h"

#include <numeric>

namespace {

QString numbers(const QList<CallRecord>& records, const QList<int>& rows)
{
    QStringList shown;
    for (int row : rows)
        shown << records[row].number;
    return shown.join(QStringLiteral(" | "));
}

TEST(CallHistory, FilterMissedCsvStatisticsAndNumberFormsMatchTheirGolden)
{
    CallList list;
    list.setListPath(QStringLiteral(CORVANE_SOURCE_DIR "/tests/engine/data/history_list.txt"));
    list.ReadTheList();
    QList<CallRecord> records = list.records();
    records.last().name = QStringLiteral("Tab\there"); // no list.txt line can hold a TAB in a field
    QString out = QStringLiteral("## filter\n");
    for (const char* search : {"", "anna", "0301 234", "ring", "4712 called", "MÜLLER", "nobody"})
        for (const bool missed : {false, true}) {
            QList<int> rows;
            for (int r = 0; r < records.size(); ++r)
                if (callhistory::accepts(records[r], callhistory::searchWords(QString::fromUtf8(search)), missed))
                    rows << r;
            out += QStringLiteral("'%1'%2: %3\n")
                       .arg(QString::fromUtf8(search), missed ? " missed" : "", numbers(records, rows));
        }
    out += QStringLiteral("## missed since\n");
    for (const char* since : {"2026-12-07 09:14:59", "2026-12-07 09:15:00", "2026-11-01 00:00:00"})
        out += QStringLiteral("%1: %2\n")
                   .arg(QLatin1String(since))
                   .arg(callhistory::missedSince(records, QLatin1String(since)));
    out += QStringLiteral("## csv\n");
    QList<int> all(records.size());
    std::iota(all.begin(), all.end(), 0);
    out +=
        QString::fromUtf8(calllistcsv::toCsv(records, all)).replace(QStringLiteral("\r\n"), QStringLiteral("<CRLF>\n"));
    out += QStringLiteral("## statistics\n");
    const CallStatistics s = CallStatistics::compute(records, QDate(2026, 12, 7));
    out += QStringLiteral("calls %1\n").arg(s.calls);
    for (int d = 0; d < CallStatistics::kDays; ++d)
        if (std::accumulate(s.perDay[d].begin(), s.perDay[d].end(), 0) > 0)
            out += QStringLiteral("day %1: %2 %3 %4 %5\n")
                       .arg(s.lastDay.addDays(d + 1 - CallStatistics::kDays).toString(Qt::ISODate))
                       .arg(s.perDay[d][0])
                       .arg(s.perDay[d][1])
                       .arg(s.perDay[d][2])
                       .arg(s.perDay[d][3]);
    for (int h = 0; h < CallStatistics::kHours; ++h)
        if (s.perHour[h])
            out += QStringLiteral("hour %1: %2\n").arg(h).arg(s.perHour[h]);
    for (const CallStatistics::Frequent& f : s.topNumbers)
        out += QStringLiteral("top %1 %2 %3\n").arg(f.number, f.name).arg(f.calls);
    for (int m = 0; m < s.msns.size(); ++m) {
        QStringList costs;
        for (double c : s.costs[m])
            costs << QString::number(c, 'f', 2);
        out +=
            QStringLiteral("msn %1 total %2: %3\n").arg(s.msns[m]).arg(s.msnTotals[m], 0, 'f', 2).arg(costs.join(u' '));
    }
    out += QStringLiteral("## number forms (country 49, area 30)\n");
    const NumberPlan plan{QStringLiteral("49"), QStringLiteral("30")};
    const NumberForms book(
        u"Anna\t+49 (0)30 123-45678\r\nOslo\t0047 22 123456\r\nLocal\t7654321\r\nMobile\t0170/555 12\r\n", plan);
    for (const char* received : {"03012345678", "+493012345678", "00493012345678", "12345678", "004722123456",
             "030 7654321", "4930765432", "017055512", "+4917055512", "0301234567"}) {
        QString name, picture;
        const QString number = QString::fromLatin1(received);
        const bool found = book.find(number, name, picture);
        out += QStringLiteral("%1 -> %2 %3\n")
                   .arg(number, numberforms::national(number, plan), found ? name : QStringLiteral("(none)"));
    }
    out += QStringLiteral("## places (country 49, area 30)\n");
    MonitorInputs inputs;
    inputs.numberPlan = plan;
    const QList<CallRecord> unnamed{{"4711", "Ring", "2026-12-01", "10:00:00", "0897654321", "-", "-", "-"},
        {"4711", "CID", "2026-12-01", "10:00:00", "+43 1 5123456", "", "-", "-"},
        {"4711", "Ring", "2026-12-01", "10:00:00", "0897654322", "Max in Munich", "-", "-"},
        {"4711", "Ring", "2026-12-01", "10:00:00", "7654321", "-", "-", "-"},
        {"4711", "Ring", "2026-12-01", "10:00:00", "Secret Number", "-", "-", "-"}};
    for (const char* language : {"en", "de"}) {
        inputs.placeLanguage = QLatin1String(language);
        for (const CallRecord& r : unnamed) {
            const std::optional<PlaceOfNumber> p = inputs.placeOf(r.number);
            out += QStringLiteral("%1 %2 -> %3\n")
                       .arg(language, r.number,
                           p ? p->place + u' ' + NumberPlace::kindName(p->kind) + QStringLiteral(" [") + p->grouped
                                   + u']'
                             : QStringLiteral("(no number)"));
        }
        for (const char* search : {"munich", "münchen", "wien 5123456", "berlin"}) {
            QStringList found;
            for (const CallRecord& r : unnamed)
                if (callhistory::accepts(
                        r, callhistory::searchWords(QString::fromUtf8(search)), false, callhistory::placesOf(inputs)))
                    found << r.number;
            out += QStringLiteral("%1 '%2': %3\n").arg(language, QString::fromUtf8(search), found.join(" | "));
        }
    }
    EXPECT_GOLDEN("engine/data/history.expected", out);
}

} // namespace
