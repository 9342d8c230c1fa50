// One "Receive Settings" against dodova-sim over a pseudo-terminal, through
// the real command channel. Reports the wall time against its floor (27
// commands x CommDelay plus the round trips, measured as the same reading
// with no pause), and the CPU share while the device is slow to answer
// (--reply-delay 200): waiting for an answer must not keep a core busy.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <ctime>

#include "common/settings_store.h"
#include "device/form1.h"

namespace {

constexpr int kReceiveCommands = 27;

bool ensureApplication()
{
    if (QCoreApplication::instance())
        return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "corvane-bench";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv); // lives for the rest of the run
    return true;
}

QString simulatorPath()
{
    const QString besideBench = QCoreApplication::applicationDirPath() + QStringLiteral("/../dodova-sim");
    return QFileInfo(besideBench).canonicalFilePath();
}

double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

void receiveSettings(benchmark::State& state, int replyDelayMs)
{
    if (!ensureApplication())
        return state.SkipWithError("another benchmark created a non-widget application");
    const QString sim = simulatorPath();
    if (sim.isEmpty())
        return state.SkipWithError("dodova-sim is not built");

    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("link"));
    QProcess device;
    device.start(sim, {"--link", link, "--reply-delay", QString::number(replyDelayMs)});
    for (int i = 0; i < 500 && !QFileInfo::exists(link); ++i)
        QThread::msleep(10);
    if (!QFileInfo::exists(link))
        return state.SkipWithError("dodova-sim did not start");

    SettingsStore::useFileForUser(dir.filePath(QStringLiteral("settings.ini")));
    SettingsStore::user().overridePortPath(1, link);
    AtChannel at;
    at.configure({1, at.line().speed, 0.01f});
    Form1 form(at);
    form.messageBox = [](const QString&, const QString&) {};

    // The round trips alone: the same reading without the pause after each command.
    at.configure({1, at.line().speed, 0.0f});
    const auto rtStart = std::chrono::steady_clock::now();
    for (int i = 0; i < 3; ++i)
        form.CommandRead_Click();
    const double roundTripsMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - rtStart).count() / 3.0;
    at.configure({1, at.line().speed, 0.01f});

    double cpu = 0;
    double wall = 0;
    for (auto _ : state) {
        const double cpuStart = processCpuSeconds();
        const auto wallStart = std::chrono::steady_clock::now();
        form.CommandRead_Click();
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        cpu += processCpuSeconds() - cpuStart;
    }
    const double perRunMs = wall * 1000.0 / double(state.iterations());
    const double floorMs = kReceiveCommands * 10.0 + roundTripsMs;
    state.counters["ms_per_receive"] = perRunMs;
    state.counters["round_trips_ms"] = roundTripsMs;
    state.counters["floor_ms"] = floorMs;
    state.counters["x_floor"] = perRunMs / floorMs;
    state.counters["cpu_share_pct"] = wall > 0 ? 100.0 * cpu / wall : 0.0;

    device.terminate();
    device.waitForFinished(5000);
}

} // namespace

BENCHMARK_CAPTURE(receiveSettings, prompt_device, 0)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK_CAPTURE(receiveSettings, reply_delay_200, 200)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// The bench executable gathers every area's benchmarks; this main is weak so
// that a shared main, when one exists, takes its place.
__attribute__((weak)) int main(int argc, char** argv)
{
    ensureApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
