#include "sim/device_state.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <istream>
#include <ostream>
#include <sstream>

namespace sim {

DeviceSettings DeviceSettings::factory()
{
    DeviceSettings s;
    auto& r = s.registers;
    // The modem registers of the DTE port, with their customary values.
    r[2] = 43;  // escape character "+"
    r[3] = 13;  // carriage return
    r[4] = 10;  // line feed
    r[5] = 8;   // backspace
    r[6] = 2;   // wait for dial tone, s
    r[7] = 50;  // wait for carrier, s
    r[8] = 2;   // comma pause, s
    r[10] = 14; // carrier loss delay, 1/10 s
    r[12] = 50; // escape guard time, 1/50 s
    // The adapter's own settings.
    r[0] = 0;   // DTE port does not auto-answer
    r[15] = 0;  // power-on profile 1
    r[18] = 0;  // automatic bit-rate detection on
    r[56] = 25; // hook flash 250 ms
    r[79] = 12; // call waiting on both phones
    r[82] = 74; // DTE protocol PPP-MLPPP
    r[83] = 0;
    r[84] = 0; // caller ID on hook and off hook, no caller on bundle
    r[85] = 0;
    r[87] = 0;  // global calls on both phones, bundle off
    r[89] = 7;  // charging counters on for all three ports
    r[100] = 0; // supplementary services: functional
    r[108] = 1; // telephony on Phone 2
    r[109] = 1; // telephony on Phone 1
    r[118] = 0;
    r[123] = 0;
    s.msn[0] = "4711";
    s.msn[3] = "4712";
    s.own = {"4711", "4712", "4713"};
    return s;
}

PortNumbers DeviceState::portNumbers() const
{
    PortNumbers n;
    n.msn = current.msn;
    n.own = current.own;
    return n;
}

void DeviceState::addCharge(int port, int units)
{
    if (port < 1 || port > 2 || units < 0)
        return;
    charges[static_cast<std::size_t>(port)] = units;
    auto& total = charges[static_cast<std::size_t>(port + 3)];
    total = std::min<std::int64_t>(static_cast<std::int64_t>(total) + units, 99999999);
}

bool validNumber(const std::string& text)
{
    return text.size() <= 20 && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

namespace {

std::string joinRegisters(const std::array<std::uint8_t, 128>& r)
{
    std::string out;
    for (std::size_t i = 0; i < r.size(); ++i)
        out += (i ? "," : "") + std::to_string(r[i]);
    return out;
}

template <std::size_t N>
std::string joinTexts(const std::array<std::string, N>& t)
{
    std::string out;
    for (std::size_t i = 0; i < N; ++i)
        out += (i ? "," : "") + t[i];
    return out;
}

std::vector<std::string> split(const std::string& text)
{
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string p; std::getline(in, p, ',');)
        parts.push_back(p);
    if (!text.empty() && text.back() == ',')
        parts.emplace_back();
    return parts;
}

bool readNumber(const std::string& s, long long lo, long long hi, long long& out)
{
    if (s.empty() || s.size() > 10 || !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    out = std::stoll(s);
    return out >= lo && out <= hi;
}

void loadRegisters(const std::string& value, std::array<std::uint8_t, 128>& r)
{
    const auto parts = split(value);
    for (std::size_t i = 0; i < std::min(parts.size(), r.size()); ++i)
        if (long long v; readNumber(parts[i], 0, 255, v))
            r[i] = static_cast<std::uint8_t>(v);
}

template <std::size_t N>
void loadTexts(const std::string& value, std::array<std::string, N>& t)
{
    const auto parts = split(value);
    for (std::size_t i = 0; i < std::min(parts.size(), N); ++i)
        if (validNumber(parts[i]))
            t[i] = parts[i];
}

void saveSettings(std::ostream& out, const std::string& prefix, const DeviceSettings& s)
{
    out << prefix << "registers=" << joinRegisters(s.registers) << '\n'
        << prefix << "msn=" << joinTexts(s.msn) << '\n'
        << prefix << "own=" << joinTexts(s.own) << '\n';
}

bool loadSettings(const std::string& key, const std::string& value, const std::string& prefix, DeviceSettings& s)
{
    if (key == prefix + "registers")
        loadRegisters(value, s.registers);
    else if (key == prefix + "msn")
        loadTexts(value, s.msn);
    else if (key == prefix + "own")
        loadTexts(value, s.own);
    else
        return false;
    return true;
}

} // namespace

bool DeviceState::saveFile(const std::string& path) const
{
    const std::string temporary = path + ".new";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (out)
        save(out);
    out.close(); // flushes: a full disk shows here at the latest
    if (!out || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

void DeviceState::save(std::ostream& out) const
{
    out << "# dodova-sim device state 1\n";
    std::string c;
    for (std::size_t i = 0; i < charges.size(); ++i)
        c += (i ? "," : "") + std::to_string(charges[i]);
    out << "charges=" << c << '\n';
    saveSettings(out, "", current);
    for (std::size_t p = 0; p < profiles.size(); ++p)
        saveSettings(out, "profile" + std::to_string(p + 1) + ".", profiles[p]);
}

void DeviceState::load(std::istream& in)
{
    std::string line;
    std::size_t lines = 0;
    while (std::getline(in, line) && ++lines < 1000) {
        if (line.size() > 8192 || line.empty() || line[0] == '#')
            continue;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "charges") {
            const auto parts = split(value);
            for (std::size_t i = 0; i < std::min(parts.size(), charges.size()); ++i)
                if (long long v; readNumber(parts[i], 0, 99999999, v))
                    charges[i] = static_cast<std::int32_t>(v);
        } else if (!loadSettings(key, value, "", current)) {
            for (std::size_t p = 0; p < profiles.size(); ++p)
                loadSettings(key, value, "profile" + std::to_string(p + 1) + ".", profiles[p]);
        }
    }
}

} // namespace sim
