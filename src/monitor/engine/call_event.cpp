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

QString callEventLine(const CallEvent& e)
{
    const QStringList fields{
        e.time.toString(kTimeFormat),
        callEventName(e.kind),
        e.channel.isNull() ? QStringLiteral("-") : QString(e.channel),
        e.msn,
        e.number,
        e.name,
        e.type ? call_type::text(*e.type) : QString(),
        e.start.toString(kTimeFormat),
        e.kind == CallEvent::Kind::RingEnded ? QString::fromLatin1(e.answered ? "answered" : "unanswered") : QString(),
        e.duration,
        e.cost,
    };
    return fields.join(u'\t');
}
