#pragma once
// The words the outputs for scripts (event programs, JSON events) use for a
// call event's kind and channel.
#include "monitor/engine/call_event.h"

namespace event_names {

inline QString kind(CallEvent::Kind k)
{
    return callEventName(k);
}

// "fixed_line", "mobile", "premium_rate" ... for a caller the book does not
// name, "" for a named or withheld one.
inline QString numberKind(const CallEvent& e)
{
    return e.numberKind ? NumberPlace::kindName(*e.numberKind) : QString();
}

// "A", "B", or "" when the call has no channel.
inline QString channel(const CallEvent& e)
{
    return e.channel.isNull() ? QString() : QString(e.channel);
}

} // namespace event_names
