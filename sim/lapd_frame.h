#pragma once
// Layer-2 (LAPD) frames as they appear on the S0 bus. The C/R bit follows the
// rule of the link: commands from the network and responses from the terminal
// carry C/R = 1.
#include "sim/octets.h"

namespace sim {

enum class Side { Terminal, Network };

constexpr std::uint8_t GroupTei = 127;

namespace lapd {
Octets address(Side from, bool command, std::uint8_t tei, std::uint8_t sapi = 0);
Octets iFrame(Side from, std::uint8_t tei, std::uint8_t ns, std::uint8_t nr, const Octets& layer3);
Octets uiFrame(Side from, std::uint8_t tei, const Octets& layer3);
Octets sabme(Side from, std::uint8_t tei);
Octets ua(Side from, std::uint8_t tei);
Octets disc(Side from, std::uint8_t tei);
Octets rr(Side from, std::uint8_t tei, std::uint8_t nr, bool command, bool pollFinal);
} // namespace lapd

// Sequence state of one data link: both ends' send state variables (each
// end's receive state equals the other end's send state, the simulated
// line loses nothing).
struct LinkState {
    bool up = false;
    std::uint8_t sentByTerminal = 0; // V(S) of the terminal
    std::uint8_t sentByNetwork = 0;  // V(S) of the network
};

} // namespace sim
