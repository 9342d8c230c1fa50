#pragma once
// Layer 2 of the simulated line: puts the layer-3 events into LAPD frames
// with correct N(S)/N(R) per TEI, sets links up (SABME/UA) when a port or
// the network first needs them, acknowledges every I-frame with RR, polls
// idle links (RR with P=1 every 10 s) and releases them (DISC/UA) 30 s after
// the last call of their port.
#include "sim/line_event.h"

#include <array>
#include <vector>

namespace sim {

struct TimedFrame {
    std::int64_t ms = 0;
    Side from = Side::Network;
    Octets octets;
};

struct ChargeNote {
    std::int64_t ms = 0;
    int port = 0;
    int units = 0;
};

class LineSimulator {
public:
    static constexpr std::int64_t PollAfterMs = 10000;
    static constexpr std::int64_t ReleaseAfterMs = 30000;

    void apply(const LineEvent& event);
    // Polls and releases of idle links that fall due before ms.
    void housekeepUntil(std::int64_t ms);
    // Housekeeping until every link is released.
    void releaseAll();

    std::vector<TimedFrame> takeFrames();
    std::vector<ChargeNote> takeCharges();

private:
    struct Link {
        LinkState state;
        std::int64_t lastTraffic = 0; // last frame on the link
        std::int64_t lastIFrame = 0;
        int openCalls = 0;
    };

    std::int64_t transmit(std::int64_t ms, Side from, Octets octets);
    void message(std::int64_t ms, int port, Side from, const Octets& layer3);
    bool nextHousekeeping(std::int64_t before, int& port, bool& release, std::int64_t& due) const;
    Link& link(int port) { return links_[static_cast<std::size_t>(port == 2 ? 1 : 0)]; }

    std::array<Link, 2> links_{};
    std::vector<TimedFrame> frames_;
    std::vector<ChargeNote> charges_;
    std::int64_t cursor_ = -1;
    bool anyFrame_ = false;
};

} // namespace sim
