#pragma once
// The call list as CSV (RFC 4180): UTF-8, CR LF line ends, one header row with
// the eight column titles, a field quoted when it holds a comma, a quote, a
// TAB or a line break, quotes doubled inside. A field a spreadsheet would take
// for a formula starts with a single quote.
#include <QByteArray>
#include <QList>
#include <QString>

struct CallRecord;

namespace calllistcsv {

// The header and records[rows[0]], records[rows[1]], ... in that order;
// rows outside the list are skipped.
QByteArray toCsv(const QList<CallRecord>& records, const QList<int>& rows);

// One field as it is written: quoted where needed, a would-be formula as text.
QString field(const QString& text);

} // namespace calllistcsv
