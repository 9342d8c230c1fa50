#pragma once
// What happens on the line, before layer 2 puts it into frames: a layer-3
// message on a phone port's link, an offer to all terminals, or a call of a
// port beginning or ending.
#include "sim/lapd_frame.h"

#include <cstdint>

namespace sim {

struct LineEvent {
    enum class Kind { Message, Broadcast, CallOpen, CallClose };
    std::int64_t ms = 0;
    Kind kind = Kind::Message;
    int port = 0;              // 1 or 2 (Message, CallOpen, CallClose)
    Side from = Side::Network; // Message
    Octets layer3;             // Message, Broadcast
    int units = -1;            // CallClose of a charged (outgoing) call: units of the call
};

// The TEI of each phone port: every port has a link of its own.
constexpr std::uint8_t teiOfPort(int port)
{
    return static_cast<std::uint8_t>(63 + port);
}

} // namespace sim
