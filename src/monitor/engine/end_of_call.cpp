// End of call: 800 ms after the decoder ended a call, the channel's figures
// are taken from its labels and logged as the user's settings say.
#include "monitor/engine/call_tracking.h"

#include "monitor/engine/call_list_model.h"
#include "monitor/engine/monitor_host.h"

void CallTracker::endOfCallTimer(QChar channel)
{
    endOfCall(side(channel == u'A' ? Channel::A : Channel::B));
}

void CallTracker::stopEndTimers()
{
    timerEndCallA_->stop();
    timerEndCallB_->stop();
}

bool CallTracker::endTimerActive(QChar channel) const
{
    return (channel == u'A' ? timerEndCallA_ : timerEndCallB_)->isActive();
}

void CallTracker::endOfCall(const ChannelSide& s)
{
    const int endId = s.endId;
    const QString type = s.endType;
    if (endId >= 1 && endId <= int(state_.IdRecords.size())) {
        IdRecord& r = state_.IdRecords[endId - 1];
        r.DisplayCost.clear();
        r.CostUnits.clear();
        r.Activated = false;
    }
    xout(QStringLiteral("-->->-- Add Call to list\r\n"));
    s.endTimer.stop();

    trace_.xout3(QLatin1String("----------") + s.letter + QLatin1String("---------"));
    trace_.xout3(QLatin1String("TYPE  : ") + type);
    trace_.xout3(QLatin1String("Number   : ") + s.number);
    trace_.xout3(QLatin1String("Name     : ") + s.name);
    trace_.xout3(QLatin1String("Cost     : ") + s.cost);
    trace_.xout3(QLatin1String("Duration : ") + s.duration);
    trace_.xout3(QLatin1String("MSN      : ") + s.msn);

    QString number = s.number.trimmed();
    QString name = s.name;
    if (number.isEmpty())
        number = QStringLiteral("-");
    if (name.isEmpty())
        name = QStringLiteral("-");

    const std::optional<CallType> kind = call_type::fromText(type);
    const bool logged = kind && *kind != CallType::CID && inputs_.logs(*kind);
    const bool msnKnown = s.msn != QLatin1String("-"); // else the decoder never learned the own number
    // The record keeps the day the call started, also when it ended after midnight.
    const QDate started = s.startedAt.isValid() ? s.startedAt.date() : clock_.now().date();
    if (logged && msnKnown)
        callList_.AddCall(s.msn, type, started, s.startClock, number, name, s.duration, s.cost);
    if (msnKnown && host_) {
        CallEvent e;
        e.kind = CallEvent::Kind::Logged;
        e.time = clock_.now();
        e.start = s.startedAt.isValid() ? s.startedAt : e.time;
        e.channel = s.letter;
        e.msn = s.msn;
        e.number = number == QLatin1String("-") ? QString() : number;
        e.name = name == QLatin1String("-") ? QString() : name;
        e.type = kind;
        e.duration = s.duration;
        e.cost = s.cost;
        host_->callEvent(e);
    }
    s.msn = QStringLiteral("-");
    notifyDisplay_();
}
