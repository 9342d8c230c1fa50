#pragma once
// The fixed-format times the call list, the display and the events write, by
// hand: QDateTime::toString with a format cost more than decoding the frames
// of a call. Each gives what toString with the format named gives.
#include <QDateTime>
#include <QString>

namespace timetext {
// "HH:mm:ss"; nothing for an invalid time.
QString clock(QTime time);
// "yyyy-MM-dd"; nothing for an invalid date.
QString isoDate(QDate date);
// "yyyy-MM-ddTHH:mm:ss"; nothing for an invalid moment.
QString isoSeconds(const QDateTime& moment);
} // namespace timetext
