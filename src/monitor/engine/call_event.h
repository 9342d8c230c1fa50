#pragma once
// A call event as it leaves the monitor: what the window's notifications, the
// NCID server, event programs and JSON output are told. The engine decides
// them; the monitor session passes them on as a signal.
#include "monitor/engine/call_type.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <optional>

// Engine-side semantics: Incoming and Waiting come with the caller-ID
// announcement (msn = the number called as the CID record keeps it, "UNKNOWN"
// when the network did not say); Outgoing when an own terminal is given a
// channel for a new call (the number is dialled later, so it is empty);
// RingEnded when a ringing channel is answered or the offered call ends
// unanswered (start = when ringing began); Logged at the end-of-call step of
// every call whose MSN is known, whether or not the user's log filters keep a
// record (start = the start clock's moment, the record's date and time).
// A caller on the ignore list gets no Incoming, Waiting or RingEnded event:
// nothing announces it; its Logged event still comes, as its record does.
struct CallEvent {
    enum class Kind {
        Incoming,  // a caller announced on a free channel (NCID "CID", hook "CID")
        Waiting,   // a caller announced while both channels are busy ("WID")
        Outgoing,  // an own terminal started a call ("OUT")
        RingEnded, // ringing stopped, answered or not ("CIDINFO")
        Logged,    // a call ended and its record was made ("END")
    };
    Kind kind = Kind::Incoming;
    QDateTime time;               // when the event happened
    QDateTime start;              // when the call started (Logged, RingEnded); else == time
    QChar channel;                // 'A', 'B', or null when the call has no channel yet
    QString msn;                  // the own number called or calling; "" when unknown
    QString msnName;              // the name the user gave that own number; "" for none
    QString number;               // the other party; "" when withheld or unknown
    QString name;                 // from the phone book; "" when unknown
    std::optional<CallType> type; // Logged: the record's type
    bool answered = false;        // RingEnded: whether the call was answered
    QString duration;             // Logged: as the call list shows it ("00:01:05")
    QString cost;                 // Logged: as the call list shows it, "-" when none
};
Q_DECLARE_METATYPE(CallEvent)

// "incoming", "waiting", "outgoing", "ring-ended", "logged".
QString callEventName(CallEvent::Kind kind);
// One tab-separated line: time, event, channel, msn, number, name, type,
// start, answered/unanswered, duration, cost (as corvane-replay's events.txt).
QString callEventLine(const CallEvent& e);
