#pragma once
// The lines of the NCID protocol (API 1.5) that Corvane's calls become: the
// start-up lines, one call line per call event, the call log from list.txt and
// the eight lines an NCID output module reads on its standard input. Field
// order and date forms follow the API's own examples.
#include "monitor/engine/call_event.h"
#include "monitor/engine/call_list.h"

#include <QByteArray>
#include <QList>

namespace ncid {

inline constexpr quint16 kDefaultPort = 3333;

QByteArray bannerLine(); // "200 Server: corvane (Corvane) 4.0.0"
QByteArray apiLine();    // "210 API 1.5 Feature Set 1 2"

inline constexpr char kLogSent[] = "250 End of call log";
inline constexpr char kLogNotSent[] = "251 Call log not sent";
inline constexpr char kLogEmpty[] = "252 Call log empty";
inline constexpr char kNoLog[] = "253 No Call log";
inline constexpr char kStartupDone[] = "300 End of connection startup";
inline constexpr char kYoAnswer[] = "ACK: REQ: YO";

// The line type of an event: "CID", "WID", "OUT", "CIDINFO" or "END"; empty
// when the event has no NCID line (a logged caller-ID announcement, which
// ends no call, or a record without a type).
QByteArray lineType(const CallEvent& e);
// The event's line without the line end; empty when lineType() is.
QByteArray eventLine(const CallEvent& e);
// One list.txt record as CIDLOG: (incoming) or OUTLOG: (outgoing); empty for
// a record whose type or date cannot be read.
QByteArray logLine(const CallRecord& r);
// The records as the start-up log: oldest first, unreadable ones left out.
QList<QByteArray> logLines(const QList<CallRecord>& records);
// A user message a client sent ("MSG: text" or "MSG: text###DATE*..."), as
// the server passes it on to every client; `now` dates a bare message.
QByteArray relayedMessage(QByteArrayView line, const QDateTime& now);
// A warning of the server's own as a MSG: line.
QByteArray serverMessage(const QString& warning, const QDateTime& now);

// The output-module input for CID, WID, OUT and END events: date mm/dd/yyyy,
// time hh:mm, number, name, line, type, an empty message and message type,
// each ending in a line feed. Empty for other events.
QByteArray moduleInput(const CallEvent& e);

} // namespace ncid
