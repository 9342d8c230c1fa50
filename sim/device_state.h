#pragma once
// Everything the adapter keeps: S-registers, MSNs and own numbers (the
// settings a profile stores), charge counters, the four profiles and the
// echo. Out of the box it is a configured adapter, so the program's call
// monitor can start at once.
#include "sim/call_flow.h"

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>

namespace sim {

struct DeviceSettings {
    std::array<std::uint8_t, 128> registers{};
    std::array<std::string, 9> msn; // Phone 1: 0..2, Phone 2: 3..5, DTE: 6..8
    std::array<std::string, 3> own; // Phone 1, Phone 2, DTE

    static DeviceSettings factory();
    bool operator==(const DeviceSettings&) const = default;
};

// Counter order of the ATCH? answer: last call DTE, Phone 1, Phone 2, then
// the totals in the same order.
struct DeviceState {
    DeviceSettings current = DeviceSettings::factory();
    std::array<DeviceSettings, 4> profiles{
        DeviceSettings::factory(), DeviceSettings::factory(), DeviceSettings::factory(), DeviceSettings::factory()};
    std::array<std::int32_t, 6> charges{0, 3, 12, 0, 57, 134};
    bool echo = true; // on after power-on; not part of the saved state

    PortNumbers portNumbers() const;
    // A simulated call of a port (1 or 2) was charged.
    void addCharge(int port, int units);

    // Text file of "key=value" lines; unknown or malformed lines are skipped,
    // so a damaged file still loads what it can.
    void save(std::ostream& out) const;
    void load(std::istream& in);
    // Writes the file beside the old one and renames it over it, so a full
    // disk or a kill never loses the old state. False when nothing was replaced.
    bool saveFile(const std::string& path) const;
};

// MSNs and own numbers are ISDN directory numbers: digits only, at most 20.
bool validNumber(const std::string& text);

} // namespace sim
