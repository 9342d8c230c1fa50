#pragma once
// What the call history asks of the call list's records, Qt Core only: which
// records a search and the "Missed" toggle show, and how many calls were
// missed since a moment. The window's filter and title ask here, and so can
// the service and the outputs.
#include <QList>
#include <QString>
#include <QStringList>

struct CallRecord;

namespace callhistory {

// An incoming call nobody answered.
bool isMissed(const CallRecord& r);
// The words of a search: "030 1234" is found in 0301234567 as two words.
QStringList searchWords(const QString& text);
// Every word must be found in the number, the name, the MSN or the type, in
// any case; dashes, slashes and dots typed in a number are ignored.
bool accepts(const CallRecord& r, const QStringList& words, bool missedOnly);
// Missed calls of `records` that started after `since` ("yyyy-MM-dd HH:mm:ss").
int missedSince(const QList<CallRecord>& records, const QString& since);

} // namespace callhistory
