// dodova-sim: a DodOva terminal adapter on a pseudo-terminal.
#include "sim/device_state.h"
#include "sim/scenario.h"
#include "sim/sim_options.h"
#include "sim/trace_session.h"

#include <fstream>
#include <iostream>

namespace {

int renderOnly(const sim::SimOptions& o, const sim::Scenario& scenario, const sim::DeviceState& device)
{
    if (o.renderCapture == "-") {
        sim::renderCapture(scenario, device.portNumbers(), std::cout);
        return std::cout.good() ? 0 : 1;
    }
    std::ofstream out(o.renderCapture, std::ios::binary | std::ios::trunc);
    if (!out) {
        std::cerr << "dodova-sim: cannot write " << o.renderCapture << '\n';
        return 1;
    }
    sim::renderCapture(scenario, device.portNumbers(), out);
    out.close();
    return out ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    const auto parsed = sim::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) {
        std::cerr << "dodova-sim: " << parsed.error << '\n' << sim::usageText();
        return 2;
    }
    const auto& o = *parsed.options;
    if (o.help) {
        std::cout << sim::usageText();
        return 0;
    }
    if (o.listScenarios) {
        for (const auto& n : sim::builtinScenarioNames())
            std::cout << n << '\n';
        return 0;
    }
    const auto loaded = sim::loadScenario(o.scenario);
    if (!loaded.scenario) {
        std::cerr << "dodova-sim: scenario " << o.scenario << ": " << loaded.error << '\n';
        return 2;
    }
    sim::DeviceState device;
    if (!o.state.empty()) {
        std::ifstream in(o.state, std::ios::binary);
        if (in)
            device.load(in);
    }
    if (!o.renderCapture.empty())
        return renderOnly(o, *loaded.scenario, device);
    std::cerr << "dodova-sim: the pseudo-terminal device follows in the next step\n";
    return 2;
}
