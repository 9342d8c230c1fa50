#include "sim/line_simulator.h"

#include <algorithm>
#include <utility>

namespace sim {
namespace {
// Frames on the D channel never share a millisecond; the other end answers
// a frame after a short turnaround.
constexpr std::int64_t MinGap = 5;
constexpr std::int64_t Turnaround = 15;
} // namespace

std::int64_t LineSimulator::transmit(std::int64_t ms, Side from, Octets octets)
{
    if (anyFrame_)
        ms = std::max(ms, cursor_ + MinGap);
    anyFrame_ = true;
    cursor_ = ms;
    frames_.push_back({ms, from, std::move(octets)});
    return ms;
}

void LineSimulator::message(std::int64_t ms, int port, Side from, const Octets& layer3)
{
    Link& l = link(port);
    const auto tei = teiOfPort(port);
    const Side other = from == Side::Network ? Side::Terminal : Side::Network;
    if (!l.state.up) {
        ms = transmit(ms, from, lapd::sabme(from, tei));
        ms = transmit(ms + Turnaround, other, lapd::ua(other, tei));
        l.state = LinkState{true, 0, 0};
        ms += Turnaround;
    }
    auto& sent = from == Side::Network ? l.state.sentByNetwork : l.state.sentByTerminal;
    const auto received = from == Side::Network ? l.state.sentByTerminal : l.state.sentByNetwork;
    ms = transmit(ms, from, lapd::iFrame(from, tei, sent, received, layer3));
    sent = static_cast<std::uint8_t>((sent + 1) % 128);
    l.lastIFrame = ms;
    ms = transmit(ms + Turnaround, other, lapd::rr(other, tei, sent, false, false));
    l.lastTraffic = ms;
}

void LineSimulator::apply(const LineEvent& event)
{
    housekeepUntil(event.ms);
    switch (event.kind) {
    case LineEvent::Kind::Broadcast:
        transmit(event.ms, Side::Network, lapd::uiFrame(Side::Network, GroupTei, event.layer3));
        break;
    case LineEvent::Kind::Message: message(event.ms, event.port, event.from, event.layer3); break;
    case LineEvent::Kind::CallOpen: ++link(event.port).openCalls; break;
    case LineEvent::Kind::CallClose: {
        Link& l = link(event.port);
        l.openCalls = std::max(0, l.openCalls - 1);
        if (event.units >= 0)
            charges_.push_back({std::max(event.ms, cursor_), event.port, event.units});
        break;
    }
    }
}

bool LineSimulator::nextHousekeeping(std::int64_t before, int& port, bool& release, std::int64_t& due) const
{
    bool found = false;
    for (int p = 1; p <= 2; ++p) {
        const Link& l = links_[static_cast<std::size_t>(p - 1)];
        if (!l.state.up)
            continue;
        const bool idle = l.openCalls == 0;
        const std::int64_t releaseAt = l.lastIFrame + ReleaseAfterMs;
        const std::int64_t pollAt = l.lastTraffic + PollAfterMs;
        const bool rel = idle && releaseAt <= pollAt;
        const std::int64_t at = rel ? releaseAt : pollAt;
        if (at < before && (!found || at < due)) {
            found = true;
            port = p;
            release = rel;
            due = at;
        }
    }
    return found;
}

void LineSimulator::housekeepUntil(std::int64_t ms)
{
    int port = 0;
    bool release = false;
    std::int64_t due = 0;
    while (nextHousekeeping(ms, port, release, due)) {
        Link& l = link(port);
        const auto tei = teiOfPort(port);
        if (release) {
            const auto at = transmit(due, Side::Network, lapd::disc(Side::Network, tei));
            l.lastTraffic = transmit(at + Turnaround, Side::Terminal, lapd::ua(Side::Terminal, tei));
            l.state.up = false;
        } else {
            const auto at = transmit(
                due, Side::Network, lapd::rr(Side::Network, tei, l.state.sentByTerminal, true, true));
            l.lastTraffic = transmit(
                at + Turnaround, Side::Terminal, lapd::rr(Side::Terminal, tei, l.state.sentByNetwork, false, true));
        }
    }
}

void LineSimulator::releaseAll()
{
    for (auto& l : links_)
        l.openCalls = 0;
    housekeepUntil(cursor_ + ReleaseAfterMs + PollAfterMs + 1);
}

std::vector<TimedFrame> LineSimulator::takeFrames()
{
    return std::exchange(frames_, {});
}
std::vector<ChargeNote> LineSimulator::takeCharges()
{
    return std::exchange(charges_, {});
}

} // namespace sim
