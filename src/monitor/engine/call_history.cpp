#include "monitor/engine/call_history.h"

#include "monitor/engine/call_list.h"
#include "monitor/engine/monitor_inputs.h"

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

bool wordFound(const CallRecord& r, const QString& word, const QString& place)
{
    for (const QString* f : {&r.name, &r.msn, &r.type, &place})
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

PlaceOf placesOf(const MonitorInputs& inputs)
{
    return [plan = inputs.numberPlan, language = inputs.placeLanguage, cache = inputs.placeCache](const CallRecord& r) {
        if (!r.name.isEmpty() && r.name != QLatin1String("-"))
            return QString();
        const std::optional<PlaceOfNumber> p = cache->of(r.number, plan, language);
        return p ? p->place : QString();
    };
}

bool accepts(const CallRecord& r, const QStringList& words, bool missedOnly, const PlaceOf& placeOf)
{
    if (missedOnly && !isMissed(r))
        return false;
    const QString place = placeOf && !words.isEmpty() ? placeOf(r) : QString();
    for (const QString& w : words)
        if (!wordFound(r, w, place))
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
