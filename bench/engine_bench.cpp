// Monitor engine throughput: characters through Scan at trace levels 0 and 5,
// peak memory over 1 MB and 100 MB of trace, and a flood without line breaks.
#include "common/settings_store.h"
#include "monitor/engine/monitor_engine.h"
#include "monitor/engine/virtual_clock.h"
#include "common/timed_capture.h"

#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

// The demo scenario's capture as the simulator renders it, all payloads joined.
const QByteArray& demoTrace()
{
    static const QByteArray trace = [] {
        QTemporaryDir dir;
        const QString file = dir.filePath("demo.trace");
        QProcess::execute(
            QStringLiteral(CORVANE_BUILD_DIR "/dodova-sim"), {"--scenario", "demo", "--render-capture", file});
        QList<CaptureChunk> chunks;
        QByteArray all;
        if (TimedCapture::load(file, chunks))
            for (const CaptureChunk& c : chunks)
                all += c.bytes;
        if (all.isEmpty()) // no simulator built: one incoming call, written by hand
            all = "L1   0 <- 02 FF 03 08 01 05 05 04 03 80 90 A3 18 01 89 6C 0C 01 80 30 33 30 31 32 33 34 35 "
                  "36 37 70 05 C1 34 37 31 31  \r\n 00001000L1   0 -> 00 81 00 00 08 01 85 01 18 01 89  \r\n "
                  "00001100L1   0 -> 00 81 01 02 \r\n 00001150L1   0 -> 00 81 02 00 08 01 85 45 08 02 80 90  \r\n "
                  "00002000";
        return all;
    }();
    return trace;
}

struct Rig {
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath("s.ini")};
    VirtualClock clock;
    MonitorEngine engine{clock};
    explicit Rig(int level)
    {
        engine.callList().setListPath(dir.filePath("list.txt"));
        engine.reset();
        MonitorInputs inputs = readMonitorInputs(settings, level);
        inputs.bookPath = dir.filePath("book.txt");
        engine.setInputs(inputs);
    }
};

void BM_ScanDemoTrace(benchmark::State& state)
{
    Rig rig(int(state.range(0)));
    const QByteArray& trace = demoTrace();
    for (auto _ : state) {
        for (char c : trace)
            rig.engine.Scan(c);
        rig.clock.advance(1000);
        state.PauseTiming(); // decoding is measured, not the growing list's rewrites
        rig.engine.callList().clearRows();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * trace.size());
    state.counters["x_serial_line"] = benchmark::Counter(
        double(state.iterations() * trace.size()) / 11520.0, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ScanDemoTrace)->Arg(0)->Arg(5)->Unit(benchmark::kMillisecond);

long peakRssKb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// Peak RSS after 1 MB and after 100 MB of trace: flat memory means the two
// stay within a few MB.
void BM_ScanMemory(benchmark::State& state)
{
    for (auto _ : state) {
        Rig rig(int(state.range(0)));
        const QByteArray& trace = demoTrace();
        qint64 fed = 0;
        long at1 = 0;
        while (fed < 100LL * 1024 * 1024) {
            for (char c : trace)
                rig.engine.Scan(c);
            fed += trace.size();
            rig.clock.advance(1000);
            rig.engine.callList().clearRows();
            if (!at1 && fed >= 1024 * 1024)
                at1 = peakRssKb();
        }
        state.counters["peak_rss_1MB_kB"] = double(at1);
        state.counters["peak_rss_100MB_kB"] = double(peakRssKb());
    }
}
BENCHMARK(BM_ScanMemory)->Arg(0)->Iterations(1)->Unit(benchmark::kSecond);

constexpr qint64 kFloodBytes = 50LL * 1000 * 1000;

// The adapter's lines with their CR LF lost, 50 MB of them: the buffer fills
// to its bound while an "L" arrives every few dozen characters. Target: under
// 5 s at levels 0 and 5, the peak RSS no higher than for a short flood.
void BM_ScanFlood(benchmark::State& state)
{
    QByteArray lines = demoTrace();
    lines.replace('\r', "").replace('\n', "");
    for (auto _ : state) {
        Rig rig(int(state.range(0)));
        for (qint64 fed = 0; fed < kFloodBytes; fed += lines.size())
            for (char c : std::as_const(lines))
                rig.engine.Scan(c);
    }
    state.SetBytesProcessed(state.iterations() * kFloodBytes);
    state.counters["peak_rss_kB"] = double(peakRssKb());
}
BENCHMARK(BM_ScanFlood)->Arg(0)->Arg(5)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
