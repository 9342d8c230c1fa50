#pragma once
// The words the outputs for scripts (event programs, JSON events) use for a
// call event's kind and channel.
#include "monitor/engine/call_event.h"

namespace event_names {

inline QString kind(CallEvent::Kind k)
{
    switch (k) {
    case CallEvent::Kind::Incoming: return QStringLiteral("incoming");
    case CallEvent::Kind::Waiting: return QStringLiteral("waiting");
    case CallEvent::Kind::Outgoing: return QStringLiteral("outgoing");
    case CallEvent::Kind::RingEnded: return QStringLiteral("ring-ended");
    case CallEvent::Kind::Logged: return QStringLiteral("logged");
    }
    return {};
}

// "A", "B", or "" when the call has no channel.
inline QString channel(const CallEvent& e)
{
    return e.channel.isNull() ? QString() : QString(e.channel);
}

} // namespace event_names
