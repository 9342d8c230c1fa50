#pragma once
// Layer-3 (DSS1) messages and the information elements the simulated calls
// carry. Element contents follow what real networks and terminals send; the
// monitor infers call events from exactly these elements.
#include "sim/octets.h"

#include <string>

namespace sim {

enum class MessageType : std::uint8_t {
    Alerting = 0x01,
    CallProceeding = 0x02,
    Setup = 0x05,
    Connect = 0x07,
    ConnectAcknowledge = 0x0F,
    Disconnect = 0x45,
    Release = 0x4D,
    ReleaseComplete = 0x5A,
    Facility = 0x62,
    Information = 0x7B,
};

// The call reference flag is set in messages sent by the side that did not
// allocate the reference.
struct CallReference {
    std::uint8_t value = 1; // 1..127
    bool flag = false;
};

// Protocol discriminator 0x08, one-octet call reference, message type, elements.
Octets dss1Message(MessageType type, CallReference ref, const std::vector<Octets>& elements = {});

namespace ie {
Octets bearerSpeech();                              // 04 03 80 90 A3
Octets channel(std::uint8_t value);                 // 18 01 89 / 8A / 80
Octets callingNumber(const std::string& digits);    // 6C n 01 80 digits
Octets callingRestricted();                         // 6C 02 01 A3
Octets calledNumber(const std::string& digits);     // 70 n C1 digits
Octets dialledDigit(char digit);                    // 70 02 81 3d
Octets connectedNumber(const std::string& digits);  // 4C n 01 80 digits
Octets connectedService();                          // 4C 02 01 C3
Octets cause(std::uint8_t location, std::uint8_t value); // 08 02 loc value
Octets chargeFacility(std::uint8_t units, std::uint8_t invokeId); // 1C 16 ..., units in the 19th
Octets chargeDisplay(int units);                    // 28 n "12 Einheiten"
} // namespace ie

// Channel identification values.
constexpr std::uint8_t ChannelA = 0x89;
constexpr std::uint8_t ChannelB = 0x8A;
constexpr std::uint8_t ChannelNone = 0x80;

// Cause octets: the port's own normal clearing, the network's normal
// clearing and user busy.
constexpr std::uint8_t LocationUser = 0x80;
constexpr std::uint8_t LocationNetwork = 0x82;
constexpr std::uint8_t CauseNormal = 0x90;
constexpr std::uint8_t CauseUserBusy = 0x91;
constexpr std::uint8_t CauseNoChannel = 0xA2;

} // namespace sim
