// The call history's big-list costs: CSV export and the statistics of a
// 100,000-record call list (targets: under 1 s and under 0.5 s).
#include "monitor/engine/call_list.h"
#include "monitor/engine/call_list_csv.h"
#include "monitor/engine/call_statistics.h"

#include <benchmark/benchmark.h>
#include <numeric>

namespace {

constexpr int kRecords = 100000;

QList<CallRecord> history()
{
    static const char* const types[] = {"Answer", "Ring", "Called", "Try", "CID"};
    QList<CallRecord> records;
    records.reserve(kRecords);
    const QDate today(2026, 12, 7);
    for (int i = 0; i < kRecords; ++i)
        records.append(
            CallRecord{i % 2 ? "4711" : "4712", types[i % 5], today.addDays(-(i / 300)).toString(Qt::ISODate),
                QStringLiteral("%1:%2:00").arg(i % 24, 2, 10, QChar(u'0')).arg(i % 60, 2, 10, QChar(u'0')),
                QString::number(30100000 + i % 5000), i % 3 ? "Anna \"Berger\", Büro" : "", "0:01:00", "00.26"});
    return records;
}

void BM_CsvExport100k(benchmark::State& state)
{
    const QList<CallRecord> records = history();
    QList<int> rows(kRecords);
    std::iota(rows.begin(), rows.end(), 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(calllistcsv::toCsv(records, rows));
}
BENCHMARK(BM_CsvExport100k)->Unit(benchmark::kMillisecond);

void BM_Statistics100k(benchmark::State& state)
{
    const QList<CallRecord> records = history();
    for (auto _ : state)
        benchmark::DoNotOptimize(CallStatistics::compute(records, QDate(2026, 12, 7)));
}
BENCHMARK(BM_Statistics100k)->Unit(benchmark::kMillisecond);

} // namespace
