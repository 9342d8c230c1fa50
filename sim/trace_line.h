#pragma once
// One line of the adapter's D-channel trace: "L1   0", the direction, the
// octets, " " CR LF, and the 9-character trailer " dddddddd" (milliseconds
// since trace on). The monitor's capture trims exactly that trailer when the
// next line's "L" arrives, so it must always be there.
#include "sim/lapd_frame.h"

#include <cstdint>
#include <string>

namespace sim {

std::string traceLine(Side from, const Octets& frame, std::int64_t msSinceTraceOn);

} // namespace sim
