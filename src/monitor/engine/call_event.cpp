#include "monitor/engine/call_event.h"

#include "monitor/engine/time_texts.h"

#include <utility>

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

std::optional<CallEvent::Kind> callEventKind(QStringView name)
{
    for (const auto& k : kKindNames)
        if (name == QLatin1String(k.name))
            return k.kind;
    return std::nullopt;
}

std::optional<CallPhase> callPhaseNamed(QStringView name)
{
    for (const auto& p : kPhaseNames)
        if (name == QLatin1String(p.name))
            return p.phase;
    return std::nullopt;
}

QString callEventLine(const CallEvent& e)
{
    const bool answerTold = e.kind == CallEvent::Kind::RingEnded || e.kind == CallEvent::Kind::Ended;
    // Appended into one string: a list of the fields joined cost as much as the rest of the line.
    QString line;
    line.reserve(160);
    bool first = true;
    const auto field = [&](QStringView text) {
        if (!std::exchange(first, false))
            line += u'\t';
        line += text;
    };
    field(timetext::isoSeconds(e.time));
    field(callEventName(e.kind));
    field(e.channel.isNull() ? QStringView(u"-") : QStringView(&e.channel, 1));
    field(e.msn);
    field(e.number);
    field(e.name);
    field(e.type ? call_type::text(*e.type) : QString());
    field(timetext::isoSeconds(e.start));
    field(answerTold ? (e.answered ? QStringView(u"answered") : QStringView(u"unanswered")) : QStringView());
    field(e.duration);
    field(e.cost);
    if (e.kind == CallEvent::Kind::Ended)
        field(QString::number(e.seconds));
    if (e.kind == CallEvent::Kind::Phase)
        field(callPhaseName(e.phase));
    return line;
}
