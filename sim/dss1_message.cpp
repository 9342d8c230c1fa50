#include "sim/dss1_message.h"

#include <algorithm>
#include <cstdio>

namespace sim {

std::string hexOctets(const Octets& octets)
{
    std::string out;
    out.reserve(octets.size() * 3);
    char buf[4];
    for (auto o : octets) {
        std::snprintf(buf, sizeof buf, "%02X ", o);
        out += buf;
    }
    return out;
}

Octets dss1Message(MessageType type, CallReference ref, const std::vector<Octets>& elements)
{
    Octets m{dss1::kProtocolDiscriminator, 0x01,
        static_cast<std::uint8_t>((ref.flag ? 0x80 : 0x00) | (ref.value & 0x7F)), static_cast<std::uint8_t>(type)};
    for (const auto& e : elements)
        append(m, e);
    return m;
}

namespace ie {
namespace {
// Numbers keep at most 20 IA5 digits so every element stays well inside a frame.
Octets numberElement(std::uint8_t id, std::uint8_t typePlan, std::uint8_t presentation, const std::string& digits)
{
    const auto n = std::min<std::size_t>(digits.size(), 20);
    Octets e{id, static_cast<std::uint8_t>(2 + n), typePlan, presentation};
    e.insert(e.end(), digits.begin(), digits.begin() + static_cast<long>(n));
    return e;
}
} // namespace

Octets bearerSpeech()
{
    return {dss1::ie::kBearerCapability, 0x03, 0x80, 0x90, 0xA3};
}
Octets channel(std::uint8_t value)
{
    return {dss1::ie::kChannelIdentification, 0x01, value};
}
Octets callingNumber(const std::string& digits)
{
    return numberElement(dss1::ie::kCallingPartyNumber, 0x01, 0x80, digits);
}
Octets callingRestricted()
{
    return {dss1::ie::kCallingPartyNumber, 0x02, 0x01, dss1::kPresentationRestricted};
}
Octets connectedNumber(const std::string& digits)
{
    return numberElement(dss1::ie::kConnectedNumber, 0x01, 0x80, digits);
}
Octets connectedService()
{
    return {dss1::ie::kConnectedNumber, 0x02, 0x01, dss1::kNumberNotAvailable};
}
Octets cause(std::uint8_t location, std::uint8_t value)
{
    return {dss1::ie::kCause, 0x02, location, value};
}

Octets calledNumber(const std::string& digits)
{
    const auto n = std::min<std::size_t>(digits.size(), 20);
    Octets e{dss1::ie::kCalledPartyNumber, static_cast<std::uint8_t>(1 + n), 0xC1};
    e.insert(e.end(), digits.begin(), digits.begin() + static_cast<long>(n));
    return e;
}

Octets dialledDigit(char digit)
{
    return {dss1::ie::kCalledPartyNumber, 0x02, 0x81, static_cast<std::uint8_t>(digit)};
}

// Advice of charge during the call: a remote-operations invoke of
// AOC-D charging units, whose recorded number of units is a two-octet
// INTEGER 00 nn; the unit count is therefore the 19th of the 22 octets.
Octets chargeFacility(std::uint8_t units, std::uint8_t invokeId)
{
    return {dss1::ie::kFacility, dss1::kChargeFacilityLength,
        0x91,                    // 1: remote operations protocol
        0xA1, 0x13,              // 2-3: invoke component
        0x02, 0x01, invokeId,    // 4-6: invoke identifier
        0x02, 0x01, 0x22,        // 7-9: operation AOC-D charging unit
        0x30, 0x0B,              // 10-11: specific charging units
        0xA1, 0x06,              // 12-13: recorded units list
        0x30, 0x04,              // 14-15: recorded units
        0x02, 0x02, 0x00, units, // 16-19: number of units
        0x82, 0x01, 0x01};       // 20-22: type of charging info: total
}

Octets chargeDisplay(int units)
{
    const std::string text = std::to_string(units) + " Einheiten";
    Octets e{dss1::ie::kDisplay, static_cast<std::uint8_t>(text.size())};
    e.insert(e.end(), text.begin(), text.end());
    return e;
}
} // namespace ie

} // namespace sim
