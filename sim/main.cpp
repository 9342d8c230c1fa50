// dodova-sim: a DodOva terminal adapter on a pseudo-terminal.
#include "sim/device_state.h"
#include "sim/scenario.h"
#include "sim/sim_options.h"
#include "sim/simulator.h"
#include "sim/trace_session.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>

#include <csignal>
#include <fstream>
#include <iostream>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] auto n = ::write(signalPipe[1], &c, 1);
}

// SIGTERM and SIGINT end the event loop, so the state is saved and the link removed.
void quitOnSignals(QCoreApplication& app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] {
        char c;
        [[maybe_unused]] auto n = ::read(signalPipe[0], &c, 1);
        app.quit();
    });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGHUP, SIG_IGN);
}

int runDevice(int argc, char** argv, const sim::SimOptions& o, const sim::Scenario& scenario)
{
    QCoreApplication app(argc, argv);
    quitOnSignals(app);
    sim::Simulator simulator(o, scenario);
    if (auto err = simulator.start(); !err.empty()) {
        std::cerr << "dodova-sim: " << err << '\n';
        return 1;
    }
    // A parent process waits for this line before it opens the port.
    const auto& pty = simulator.transport();
    std::cout << (pty.linkPath().empty() ? pty.devicePath() : pty.linkPath()) << std::endl;
    const int rc = app.exec();
    simulator.stop();
    return rc;
}

int renderOnly(const sim::SimOptions& o, const sim::Scenario& scenario, const sim::DeviceState& device)
{
    QFile out(QString::fromStdString(o.renderCapture));
    const bool open = o.renderCapture == "-" ? out.open(stdout, QIODevice::WriteOnly)
                                             : out.open(QIODevice::WriteOnly | QIODevice::Truncate);
    if (!open) {
        std::cerr << "dodova-sim: cannot write " << o.renderCapture << '\n';
        return 1;
    }
    const bool written = sim::renderCapture(scenario, device.portNumbers(), out) && out.flush();
    return written ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const sim::SimOptions o = sim::parseOptions(args);
    if (const int status = commandLineExit(o, "dodova-sim", sim::usageText()); status >= 0)
        return status;
    if (o.listScenarios) {
        for (const auto& n : sim::builtinScenarioNames())
            std::cout << n << '\n';
        return 0;
    }
    const auto loaded = sim::loadScenario(o.scenario);
    if (!loaded.scenario) {
        std::cerr << "dodova-sim: scenario " << o.scenario << ": " << loaded.error << '\n';
        return kUsageErrorStatus;
    }
    sim::DeviceState device;
    if (!o.state.empty()) {
        std::ifstream in(o.state, std::ios::binary);
        if (in)
            device.load(in);
    }
    if (!o.renderCapture.empty())
        return renderOnly(o, *loaded.scenario, device);
    return runDevice(argc, argv, o, *loaded.scenario);
}
