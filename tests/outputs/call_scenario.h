#pragma once
// The call events of data/events.txt, as the monitor session hands them to
// its outputs (fixed times, fixed UTC offset).
#include "monitor/engine/call_event.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTimeZone>

namespace scenario {

inline QString dataPath(const char* name)
{
    return QStringLiteral(CORVANE_SOURCE_DIR "/tests/outputs/data/") + QLatin1String(name);
}

inline QByteArray data(const char* name)
{
    QFile f(dataPath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing ") + name + '>';
}

inline QList<CallEvent> events()
{
    const QStringList kinds{"Incoming", "Waiting", "Outgoing", "RingEnded", "Logged"}; // in CallEvent::Kind's order
    const auto at = [](const QString& hms) {
        return QDateTime(QDate(2026, 1, 5), QTime::fromString(hms, "HH:mm:ss"), QTimeZone(3600));
    };
    QList<CallEvent> out;
    for (const QString& line : QString::fromUtf8(data("events.txt")).split(u'\n')) {
        const QStringList f = line.split(u'|');
        if (f.size() == 11 && !line.startsWith(u'#'))
            out.append({CallEvent::Kind(kinds.indexOf(f[0])), at(f[1]), at(f[2]), f[3].isEmpty() ? QChar() : f[3][0],
                f[4], f[5], f[6], call_type::fromText(f[7]), f[8] == "yes", f[9], f[10]});
    }
    return out;
}

} // namespace scenario
