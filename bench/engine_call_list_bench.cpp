// AddCall plus the save of a 100,000-record call list.
#include "monitor/engine/call_list.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void BM_AddCallAndSave100k(benchmark::State& state)
{
    QTemporaryDir dir;
    CallList model;
    model.setListPath(dir.filePath("list.txt"));
    model.setPhoneBook(dir.filePath("book.txt"), {});
    QList<CallRecord> records;
    for (int i = 0; i < 100000; ++i)
        records.append(CallRecord{
            "4711", "Answer", "2026-01-01", "10:00:00", QString::number(30100000 + i), "", "0:01:00", "00.26"});
    model.setRecords(records);
    for (auto _ : state)
        model.AddCall("4711", "Called", QDate(2026, 1, 2), "11:00:00", "0301234567", "", "0:02:00", "00.52");
}
BENCHMARK(BM_AddCallAndSave100k)->Unit(benchmark::kMillisecond);

} // namespace
