// End of call: 800 ms after the decoder ended a call, the channel's figures
// are taken from its record and logged as the user's settings say.
#include "monitor/engine/call_tracking.h"

#include "monitor/engine/call_list.h"
#include "monitor/engine/monitor_host.h"

#include <algorithm>

void CallTracker::stopEndTimers()
{
    for (const auto& timer : endTimers_)
        timer->stop();
}

bool CallTracker::endOfCallPending() const
{
    return std::any_of(endTimers_.begin(), endTimers_.end(), [](const auto& t) { return t->isActive(); });
}

void CallTracker::emitCallOver(int ch, std::optional<CallType> type, bool logged)
{
    if (!host_)
        return;
    const ChannelState& c = channel(ch);
    auto known = [](const QString& text) { return text == QLatin1String("-") ? QString() : text; };
    CallEvent e;
    e.kind = CallEvent::Kind::Logged;
    e.time = clock_.now();
    e.start = c.startedAt.isValid() ? c.startedAt : e.time;
    e.channel = letter(ch);
    e.msn = known(c.msn);
    e.number = known(c.number.trimmed());
    e.name = known(c.name);
    e.type = type;
    e.duration = c.duration;
    e.cost = c.cost;
    if (logged)
        publish(e);
    if (c.endIgnored) // its record is made, but nothing announces it
        return;
    // Every call ends, logged or not: missed and unreached as its type says.
    e.kind = CallEvent::Kind::Ended;
    e.answered = type == CallType::Answer || type == CallType::Called;
    e.seconds = secondsTalked(ch);
    publish(e);
}

void CallTracker::settleLastCall(int ch)
{
    if (endTimers_[size_t(ch)]->isActive())
        endOfCall(ch, true);
}

void CallTracker::endOfCall(int ch, bool early)
{
    ChannelState& c = channel(ch);
    const QString type = c.endType;
    IdRecord* r = state_.record(c.endId);
    if (r && !(early && c.endId == tei_)) { // the terminal's new call keeps its own figures
        r->DisplayCost.clear();
        r->CostUnits.clear();
        r->Activated = false;
    }
    xout(QStringLiteral("-->->-- Add Call to list\r\n"));
    endTimers_[size_t(ch)]->stop();

    trace_.xout3(QLatin1String("----------"), letter(ch), QLatin1String("---------"));
    trace_.xout3(QLatin1String("TYPE  : "), type);
    trace_.xout3(QLatin1String("Number   : "), c.number);
    trace_.xout3(QLatin1String("Name     : "), c.name);
    trace_.xout3(QLatin1String("Cost     : "), c.cost);
    trace_.xout3(QLatin1String("Duration : "), c.duration);
    trace_.xout3(QLatin1String("MSN      : "), c.msn);

    QString number = c.number.trimmed();
    QString name = c.name;
    if (number.isEmpty())
        number = QStringLiteral("-");
    if (name.isEmpty())
        name = QStringLiteral("-");

    const std::optional<CallType> kind = call_type::fromText(type);
    const bool logged = kind && *kind != CallType::CID && inputs_.logs(*kind);
    const bool msnKnown = c.msn != QLatin1String("-"); // else the decoder never learned the own number
    // The record keeps the day the call started, also when it ended after midnight.
    const QDate started = c.startedAt.isValid() ? c.startedAt.date() : clock_.now().date();
    if (logged && msnKnown)
        callList_.AddCall(c.msn, type, started, c.startClock, number, name, c.duration, c.cost);
    emitCallOver(ch, kind, msnKnown);
    c.endIgnored = false;
    c.msn = QStringLiteral("-");
    notifyDisplay_();
}
