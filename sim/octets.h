#pragma once
// Byte strings of D-channel frames and their elements.
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

using Octets = std::vector<std::uint8_t>;

inline void append(Octets& to, const Octets& from)
{
    to.insert(to.end(), from.begin(), from.end());
}

// Upper-case hex with one space after each octet, as the trace writes frames.
std::string hexOctets(const Octets& octets);

} // namespace sim
