#pragma once
// The kinds of call record the monitor logs, under the words list.txt stores.
#include <QLatin1String>
#include <QString>
#include <optional>

enum class CallType { Answer, Called, Ring, Try, CID };

namespace call_type {
inline constexpr struct {
    CallType type;
    const char* text;
} kNames[] = {
    {CallType::Answer, "Answer"}, // incoming, answered
    {CallType::Called, "Called"}, // outgoing, connected
    {CallType::Ring, "Ring"},     // incoming, nobody answered: a missed call
    {CallType::Try, "Try"},       // outgoing, never connected
    {CallType::CID, "CID"},       // caller-ID announcement
};

inline QString text(CallType t)
{
    for (const auto& n : kNames)
        if (n.type == t)
            return QLatin1String(n.text);
    return {};
}

inline std::optional<CallType> fromText(QStringView s)
{
    for (const auto& n : kNames)
        if (s == QLatin1String(n.text))
            return n.type;
    return std::nullopt;
}
} // namespace call_type
