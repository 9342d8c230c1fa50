#pragma once
// Layer-3 (DSS1) messages and the information elements the simulated calls
// carry. Element contents follow what real networks and terminals send; the
// monitor infers call events from exactly these elements.
#include "common/dss1_codes.h"
#include "sim/octets.h"

#include <string>

namespace sim {

using dss1::MessageType;

// The call reference flag is set in messages sent by the side that did not
// allocate the reference.
struct CallReference {
    std::uint8_t value = 1; // 1..127
    bool flag = false;
};

// Protocol discriminator 0x08, one-octet call reference, message type, elements.
Octets dss1Message(MessageType type, CallReference ref, const std::vector<Octets>& elements = {});

namespace ie {
Octets bearerSpeech();                                            // 04 03 80 90 A3
Octets channel(std::uint8_t value);                               // 18 01 89 / 8A / 80
Octets callingNumber(const std::string& digits);                  // 6C n 01 80 digits
Octets callingRestricted();                                       // 6C 02 01 A3
Octets calledNumber(const std::string& digits);                   // 70 n C1 digits
Octets dialledDigit(char digit);                                  // 70 02 81 3d
Octets connectedNumber(const std::string& digits);                // 4C n 01 80 digits
Octets connectedService();                                        // 4C 02 01 C3
Octets cause(std::uint8_t location, std::uint8_t value);          // 08 02 loc value
Octets chargeFacility(std::uint8_t units, std::uint8_t invokeId); // 1C 16 ..., units in the 19th
Octets chargeDisplay(int units);                                  // 28 n "12 Einheiten"
} // namespace ie

} // namespace sim
