#pragma once
// What the call history asks of the call list's records, Qt Core only: which
// records a search and the "Missed" toggle show, and how many calls were
// missed since a moment. The window's filter and title ask here, and so can
// the service and the outputs.
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

struct CallRecord;
struct MonitorInputs;

namespace callhistory {

// An incoming call nobody answered.
bool isMissed(const CallRecord& r);
// The words of a search: "030 1234" is found in 0301234567 as two words.
QStringList searchWords(const QString& text);
// Where the number of a record without a name is from ("" for none).
using PlaceOf = std::function<QString(const CallRecord&)>;
// The places the monitor gives callers the book does not name, in its language.
PlaceOf placesOf(const MonitorInputs& inputs);
// Every word must be found in the number, the name (for a call without one,
// the place of its number), the MSN or the type, in any case; dashes, slashes
// and dots typed in a number are ignored.
bool accepts(const CallRecord& r, const QStringList& words, bool missedOnly, const PlaceOf& placeOf = {});
// Missed calls of `records` that started after `since` ("yyyy-MM-dd HH:mm:ss").
int missedSince(const QList<CallRecord>& records, const QString& since);

} // namespace callhistory
