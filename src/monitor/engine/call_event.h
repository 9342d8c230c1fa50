#pragma once
// A call event as it leaves the monitor: what the window's notifications, the
// NCID server, event programs and JSON output are told. The engine decides
// them; the monitor session passes them on as a signal.
#include "monitor/engine/call_type.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <optional>

struct CallEvent {
    enum class Kind {
        Incoming,    // a caller announced on a free channel (NCID "CID", hook "CID")
        Waiting,     // a caller announced while both channels are busy ("WID")
        Outgoing,    // an own terminal started a call ("OUT")
        RingEnded,   // ringing stopped, answered or not ("CIDINFO")
        Logged,      // a call ended and its record was made ("END")
    };
    Kind kind = Kind::Incoming;
    QDateTime time;    // when the event happened
    QDateTime start;   // when the call started (Logged, RingEnded); else == time
    QChar channel;     // 'A', 'B', or null when the call has no channel yet
    QString msn;       // the own number called or calling; "" when unknown
    QString number;    // the other party; "" when withheld or unknown
    QString name;      // from the phone book; "" when unknown
    std::optional<CallType> type; // Logged: the record's type
    bool answered = false;        // RingEnded: whether the call was answered
    QString duration;  // Logged: as the call list shows it ("00:01:05")
    QString cost;      // Logged: as the call list shows it, "-" when none
};
Q_DECLARE_METATYPE(CallEvent)
