#pragma once
// A call event as it leaves the monitor: what the window's notifications, the
// NCID server, event programs and JSON output are told. The engine decides
// them; the monitor session passes them on as a signal.
#include "monitor/engine/call_state.h"
#include "monitor/engine/call_type.h"
#include "phonebook/number_place.h"

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
// Connected when a channel's call is through (start = when the call started);
// Ended at the end-of-call step of every call, its type deciding once whether
// an incoming call was missed (Ring) or an outgoing one unreached (Try);
// Phase whenever a channel's phase changes. Those three always name a channel.
// A caller on the ignore list gets no Incoming, Waiting, RingEnded, Connected,
// Ended or Phase event: nothing announces it, not even as a busy line; its
// Logged event still comes, as its record does.
struct CallEvent {
    enum class Kind {
        Incoming,  // a caller announced on a free channel (NCID "CID", hook "CID")
        Waiting,   // a caller announced while both channels are busy ("WID")
        Outgoing,  // an own terminal started a call ("OUT")
        RingEnded, // ringing stopped, answered or not ("CIDINFO")
        Logged,    // a call ended and its record was made ("END")
        Connected, // the call on a channel is through, incoming or outgoing
        Ended,     // the call on a channel is over, answered or not
        Phase,     // a channel's phase changed
    };
    Kind kind = Kind::Incoming;
    QDateTime time;                    // when the event happened
    QDateTime start;                   // when the call started (Logged, RingEnded); else == time
    QChar channel;                     // 'A', 'B', or null when the call has no channel yet
    QString msn;                       // the own number called or calling; "" when unknown
    QString msnName;                   // the name the user gave that own number; "" for none
    QString number;                    // the other party; "" when withheld or unknown
    QString name;                      // from the phone book; "" when unknown
    std::optional<CallType> type;      // Logged: the record's type
    bool answered = false;             // RingEnded: whether the call was answered
    QString duration;                  // Logged: as the call list shows it ("00:01:05")
    QString cost;                      // Logged: as the call list shows it, "-" when none
    CallPhase phase = CallPhase::Idle; // Phase: the channel's phase now
    int seconds = 0;                   // Ended: how long the parties talked, 0 when never connected
    QString picture = {};              // Incoming, Waiting: the caller's picture file ("noname.jpg" for none)
    QString place = {};                // no name: where the number is from ("Berlin", "Germany"); "" when unknown
    std::optional<NumberKind> numberKind = {}; // no name: the number's kind; none for a named or withheld caller
    QString groupedNumber = {}; // no name: the number grouped for reading ("089 7654321"); "" when unknown

    // Ended: an incoming call nobody answered, an outgoing call never connected.
    bool missed() const { return kind == Kind::Ended && type == CallType::Ring; }
    bool unreached() const { return kind == Kind::Ended && type == CallType::Try; }
};
Q_DECLARE_METATYPE(CallEvent)

// "incoming", "waiting", "outgoing", "ring-ended", "logged", "connected",
// "ended", "phase".
QString callEventName(CallEvent::Kind kind);
// "idle", "ringing", "dialing", "talking".
QString callPhaseName(CallPhase phase);
// And back: nothing for a name that is none.
std::optional<CallEvent::Kind> callEventKind(QStringView name);
std::optional<CallPhase> callPhaseNamed(QStringView name);
// One tab-separated line: time, event, channel, msn, number, name, type,
// start, answered/unanswered, duration, cost (as corvane-replay's events.txt);
// Ended adds the seconds talked, Phase the phase.
QString callEventLine(const CallEvent& e);
