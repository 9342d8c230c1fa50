#include "sim/call_flow.h"

#include "sim/dss1_message.h"

#include <algorithm>

namespace sim {
namespace {

// Pauses inside a flow, in milliseconds: a port's or the network's answer
// time, the dialling pace, the time from the last digit to the far end ringing.
constexpr std::int64_t TerminalAnswers = 60;
constexpr std::int64_t NetworkAnswers = 80;
constexpr std::int64_t FirstDigit = 1200;
constexpr std::int64_t DigitPace = 350;
constexpr std::int64_t DialToAlert = 1500;
constexpr std::int64_t PickUpAfterHangUp = 2000;

using Kind = LineEvent::Kind;

std::uint8_t nextRef(std::uint8_t& counter)
{
    counter = static_cast<std::uint8_t>(counter % 127 + 1);
    return counter;
}

class FlowBuilder {
public:
    FlowBuilder(const PortNumbers& numbers, std::int64_t offset, CallFlowState& state)
        : numbers_(numbers), offset_(offset), state_(state)
    {
    }

    void incoming(const ScenarioCall& c);
    void outgoing(const ScenarioCall& c);
    ExpandedScenario finish();

private:
    struct Call {
        int port;
        CallReference network; // reference as the network writes it
        CallReference terminal;
    };

    void message(std::int64_t t, const Call& call, Side from, MessageType type, std::vector<Octets> elements = {});
    void marker(std::int64_t t, Kind kind, int port, int units = -1);
    std::int64_t clear(std::int64_t t, const Call& call, ClearedBy by, std::uint8_t networkCause);
    std::int64_t giveUp(std::int64_t t, const Call& call);
    int portForMsn(const std::string& msn) const;
    std::uint8_t freeChannel(std::int64_t t) const;
    void occupy(std::uint8_t channel, std::int64_t until);

    const PortNumbers& numbers_;
    std::int64_t offset_;
    CallFlowState& state_;
    std::vector<LineEvent> events_;
    std::int64_t channelFreeAt_[2] = {0, 0};
    std::int64_t portBusyUntil_[3] = {0, 0, 0};
    std::int64_t end_ = 0;
};

void FlowBuilder::message(std::int64_t t, const Call& call, Side from, MessageType type, std::vector<Octets> elements)
{
    LineEvent e;
    e.ms = t;
    e.kind = Kind::Message;
    e.port = call.port;
    e.from = from;
    e.layer3 = dss1Message(type, from == Side::Network ? call.network : call.terminal, elements);
    events_.push_back(std::move(e));
    end_ = std::max(end_, t);
}

void FlowBuilder::marker(std::int64_t t, Kind kind, int port, int units)
{
    LineEvent e;
    e.ms = t;
    e.kind = kind;
    e.port = port;
    e.units = units;
    events_.push_back(std::move(e));
    end_ = std::max(end_, t);
}

// Clearing, whichever side starts; the port's own message carries 80 90
// once, the network's carry its cause. Returns the time the call is gone.
std::int64_t FlowBuilder::clear(std::int64_t t, const Call& call, ClearedBy by, std::uint8_t networkCause)
{
    const auto own = ie::cause(dss1::kLocationUser, dss1::kCauseNormal);
    const auto net = ie::cause(dss1::kLocationNetwork, networkCause);
    if (by == ClearedBy::Remote) {
        message(t, call, Side::Network, MessageType::Disconnect, {net});
        message(t + TerminalAnswers, call, Side::Terminal, MessageType::Release, {own});
        message(t + TerminalAnswers + NetworkAnswers, call, Side::Network, MessageType::ReleaseComplete, {net});
    } else {
        message(t, call, Side::Terminal, MessageType::Disconnect, {own});
        message(t + NetworkAnswers, call, Side::Network, MessageType::Release, {net});
        message(t + NetworkAnswers + TerminalAnswers, call, Side::Terminal, MessageType::ReleaseComplete);
    }
    return t + TerminalAnswers + NetworkAnswers;
}

// The caller gives up a waiting call the port never took. The port has no call
// of its own to clear, so its RELEASE carries no cause: its 80 90 belongs to
// the call it is on, and the monitor (one record per TEI) would end that one.
std::int64_t FlowBuilder::giveUp(std::int64_t t, const Call& call)
{
    const auto net = ie::cause(dss1::kLocationNetwork, dss1::kCauseNormal);
    message(t, call, Side::Network, MessageType::Disconnect, {net});
    message(t + TerminalAnswers, call, Side::Terminal, MessageType::Release);
    message(t + TerminalAnswers + NetworkAnswers, call, Side::Network, MessageType::ReleaseComplete, {net});
    return t + TerminalAnswers + NetworkAnswers;
}

int FlowBuilder::portForMsn(const std::string& msn) const
{
    for (int slot = 0; slot < 6; ++slot)
        if (!msn.empty() && numbers_.msn[static_cast<std::size_t>(slot)] == msn)
            return slot / 3 + 1;
    return 0;
}

std::uint8_t FlowBuilder::freeChannel(std::int64_t t) const
{
    if (channelFreeAt_[0] <= t)
        return dss1::kChannelA;
    if (channelFreeAt_[1] <= t)
        return dss1::kChannelB;
    return dss1::kChannelNone;
}

void FlowBuilder::occupy(std::uint8_t channel, std::int64_t until)
{
    if (channel == dss1::kChannelA || channel == dss1::kChannelB) {
        auto& freeAt = channelFreeAt_[channel == dss1::kChannelA ? 0 : 1];
        freeAt = std::max(freeAt, until);
    }
}

std::uint8_t chosenChannel(ChannelChoice choice, std::uint8_t automatic)
{
    switch (choice) {
    case ChannelChoice::A: return dss1::kChannelA;
    case ChannelChoice::B: return dss1::kChannelB;
    case ChannelChoice::None: return dss1::kChannelNone;
    case ChannelChoice::Auto: break;
    }
    return automatic;
}

void FlowBuilder::incoming(const ScenarioCall& c)
{
    const std::int64_t t0 = offset_ + c.atMs;
    const int port = c.port != 0 ? c.port : c.to.empty() ? 1 : portForMsn(c.to);
    const std::string msn = !c.to.empty() ? c.to : numbers_.msn[static_cast<std::size_t>(port == 2 ? 3 : 0)];
    const bool portBusy = port != 0 && portBusyUntil_[port] > t0;
    // A call for a port that is on another call is a waiting call: offered without a channel.
    const std::uint8_t offered = chosenChannel(c.channel, portBusy ? dss1::kChannelNone : freeChannel(t0));

    Call call{port, {nextRef(state_.networkRef), false}, {}};
    call.terminal = {call.network.value, true};
    std::vector<Octets> setup{ie::bearerSpeech(), ie::channel(offered)};
    if (c.restricted)
        setup.push_back(ie::callingRestricted());
    else if (!c.from.empty())
        setup.push_back(ie::callingNumber(c.from));
    if (!msn.empty())
        setup.push_back(ie::calledNumber(msn));
    LineEvent offer;
    offer.ms = t0;
    offer.kind = Kind::Broadcast;
    offer.layer3 = dss1Message(MessageType::Setup, call.network, setup);
    events_.push_back(std::move(offer));
    end_ = std::max(end_, t0);
    if (port == 0)
        return; // no port answers on this MSN: the offer goes unanswered

    marker(t0 + TerminalAnswers, Kind::CallOpen, port);
    std::vector<Octets> alerting;
    if (offered != dss1::kChannelNone)
        alerting.push_back(ie::channel(offered));
    message(t0 + TerminalAnswers, call, Side::Terminal, MessageType::Alerting, alerting);

    std::int64_t answerAt = t0 + std::max<std::int64_t>(c.ringMs, 2 * TerminalAnswers);
    std::uint8_t channel = offered;
    bool answered = c.answer == AnswerKind::Yes;
    if (answered && offered == dss1::kChannelNone) {
        // A waiting call is taken only after the port's other call has ended.
        answered = portBusyUntil_[port] + PickUpAfterHangUp <= answerAt;
        channel = answered ? freeChannel(answerAt) : dss1::kChannelNone;
        answered = answered && channel != dss1::kChannelNone;
    }
    std::int64_t over;
    if (answered) {
        message(answerAt, call, Side::Terminal, MessageType::Connect, {ie::channel(channel), ie::connectedNumber(msn)});
        message(answerAt + NetworkAnswers, call, Side::Network, MessageType::ConnectAcknowledge);
        over = clear(answerAt + NetworkAnswers + c.talkMs, call, c.hangup, dss1::kCauseNormal);
    } else if (channel == dss1::kChannelNone) {
        over = giveUp(answerAt, call);
    } else {
        over = clear(answerAt, call, ClearedBy::Remote, dss1::kCauseNormal);
    }
    occupy(channel, over);
    marker(over, Kind::CallClose, port);
    portBusyUntil_[port] = std::max(portBusyUntil_[port], over);
}

void FlowBuilder::outgoing(const ScenarioCall& c)
{
    const std::int64_t t0 = offset_ + c.atMs;
    const int port = c.port != 0 ? c.port : 1;
    Call call{port, {}, {nextRef(state_.terminalRef), false}};
    call.network = {call.terminal.value, true};

    marker(t0, Kind::CallOpen, port);
    std::vector<Octets> setup{ie::bearerSpeech()};
    const auto& own = numbers_.own[static_cast<std::size_t>(port - 1)];
    if (!own.empty())
        setup.push_back(ie::callingNumber(own));
    message(t0, call, Side::Terminal, MessageType::Setup, setup);

    const std::int64_t proceeding = t0 + NetworkAnswers;
    const std::uint8_t channel = chosenChannel(c.channel, freeChannel(proceeding));
    std::int64_t over;
    int units = 0;
    if (channel == dss1::kChannelNone) {
        over = clear(proceeding, call, ClearedBy::Remote, dss1::kCauseNoChannel);
    } else {
        message(proceeding, call, Side::Network, MessageType::CallProceeding, {ie::channel(channel)});
        std::int64_t t = t0 + FirstDigit;
        for (std::size_t i = 0; i < c.dial.size(); ++i, t += DigitPace)
            message(t, call, Side::Terminal, MessageType::Information, {ie::dialledDigit(c.dial[i])});
        const std::int64_t alertAt = t - DigitPace + DialToAlert;
        if (c.answer == AnswerKind::Busy) {
            over = clear(alertAt, call, ClearedBy::Remote, dss1::kCauseUserBusy);
        } else {
            message(alertAt, call, Side::Network, MessageType::Alerting);
            const std::int64_t answerAt = alertAt + c.ringMs;
            if (c.answer == AnswerKind::No) {
                over = clear(answerAt, call, ClearedBy::Local, dss1::kCauseNormal);
            } else {
                const auto far = c.service ? ie::connectedService()
                                           : ie::connectedNumber(c.connected.empty() ? c.dial : c.connected);
                message(answerAt, call, Side::Network, MessageType::Connect, {far});
                message(answerAt + TerminalAnswers, call, Side::Terminal, MessageType::ConnectAcknowledge);
                const std::int64_t talkFrom = answerAt + TerminalAnswers;
                // Advice of charge: a few cumulative updates spread over the call.
                const int updates = std::min(c.units, 6);
                for (int i = 1; i <= updates; ++i) {
                    const std::int64_t at = talkFrom + c.talkMs * i / (updates + 1);
                    const int sofar = (c.units * i + updates - 1) / updates;
                    message(at, call, Side::Network, MessageType::Facility,
                        {ie::chargeFacility(static_cast<std::uint8_t>(sofar), nextRef(state_.invokeId))});
                    message(
                        at + NetworkAnswers, call, Side::Network, MessageType::Information, {ie::chargeDisplay(sofar)});
                }
                units = c.units;
                over = clear(talkFrom + c.talkMs, call, c.hangup, dss1::kCauseNormal);
            }
        }
        occupy(channel, over);
    }
    marker(over, Kind::CallClose, port, units);
    portBusyUntil_[port] = std::max(portBusyUntil_[port], over);
}

ExpandedScenario FlowBuilder::finish()
{
    std::stable_sort(
        events_.begin(), events_.end(), [](const LineEvent& a, const LineEvent& b) { return a.ms < b.ms; });
    return {std::move(events_), end_};
}

} // namespace

ExpandedScenario expandScenario(
    const Scenario& scenario, const PortNumbers& numbers, std::int64_t offsetMs, CallFlowState& state)
{
    FlowBuilder builder(numbers, offsetMs, state);
    for (const auto& call : scenario.calls) {
        if (call.direction == CallDirection::Incoming)
            builder.incoming(call);
        else
            builder.outgoing(call);
    }
    auto expanded = builder.finish();
    expanded.endMs = std::max(expanded.endMs, offsetMs);
    return expanded;
}

} // namespace sim
