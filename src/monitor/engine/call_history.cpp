#include "monitor/engine/call_history.h"

#include "monitor/engine/call_list.h"

namespace callhistory {

namespace {

// What people type between the digits of a number.
QString withoutSeparators(const QString& word)
{
    QString out = word;
    out.remove(u'-');
    out.remove(u'/');
    out.remove(u'.');
    return out;
}

bool wordFound(const CallRecord& r, const QString& word)
{
    for (const QString* f : {&r.name, &r.msn, &r.type})
        if (f->contains(word, Qt::CaseInsensitive))
            return true;
    return r.number.contains(word, Qt::CaseInsensitive) || r.number.contains(withoutSeparators(word));
}

} // namespace

bool isMissed(const CallRecord& r)
{
    return r.type == QLatin1String("Ring") || r.type == QLatin1String("Ring*");
}

QStringList searchWords(const QString& text)
{
    return text.simplified().split(u' ', Qt::SkipEmptyParts);
}

bool accepts(const CallRecord& r, const QStringList& words, bool missedOnly)
{
    if (missedOnly && !isMissed(r))
        return false;
    for (const QString& w : words)
        if (!wordFound(r, w))
            return false;
    return true;
}

int missedSince(const QList<CallRecord>& records, const QString& since)
{
    const QStringView day = QStringView(since).left(10);
    const QStringView time = QStringView(since).mid(11);
    int n = 0;
    for (const CallRecord& r : records) {
        if (!isMissed(r))
            continue;
        const int byDay = QStringView(r.date).compare(day);
        if (byDay > 0 || (byDay == 0 && QStringView(r.time).compare(time) > 0))
            ++n;
    }
    return n;
}

} // namespace callhistory
