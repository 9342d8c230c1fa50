#include "monitor/engine/call_event.h"

namespace {
constexpr struct {
    CallEvent::Kind kind;
    const char* name;
} kKindNames[] = {
    {CallEvent::Kind::Incoming, "incoming"},
    {CallEvent::Kind::Waiting, "waiting"},
    {CallEvent::Kind::Outgoing, "outgoing"},
    {CallEvent::Kind::RingEnded, "ring-ended"},
    {CallEvent::Kind::Logged, "logged"},
    {CallEvent::Kind::Connected, "connected"},
    {CallEvent::Kind::Ended, "ended"},
    {CallEvent::Kind::Phase, "phase"},
};
constexpr struct {
    CallPhase phase;
    const char* name;
} kPhaseNames[] = {
    {CallPhase::Idle, "idle"},
    {CallPhase::Ringing, "ringing"},
    {CallPhase::Dialing, "dialing"},
    {CallPhase::Talking, "talking"},
};
const QString kTimeFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss");
} // namespace

QString callEventName(CallEvent::Kind kind)
{
    for (const auto& k : kKindNames)
        if (k.kind == kind)
            return QLatin1String(k.name);
    return {};
}

QString callPhaseName(CallPhase phase)
{
    for (const auto& p : kPhaseNames)
        if (p.phase == phase)
            return QLatin1String(p.name);
    return {};
}

QString callEventLine(const CallEvent& e)
{
    const bool answerTold = e.kind == CallEvent::Kind::RingEnded || e.kind == CallEvent::Kind::Ended;
    QStringList fields{
        e.time.toString(kTimeFormat),
        callEventName(e.kind),
        e.channel.isNull() ? QStringLiteral("-") : QString(e.channel),
        e.msn,
        e.number,
        e.name,
        e.type ? call_type::text(*e.type) : QString(),
        e.start.toString(kTimeFormat),
        answerTold ? QString::fromLatin1(e.answered ? "answered" : "unanswered") : QString(),
        e.duration,
        e.cost,
    };
    if (e.kind == CallEvent::Kind::Ended)
        fields.append(QString::number(e.seconds));
    if (e.kind == CallEvent::Kind::Phase)
        fields.append(callPhaseName(e.phase));
    return fields.join(u'\t');
}
