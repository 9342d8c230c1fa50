#include "device/charge_counters.h"

#include "common/regional.h"

#include <limits>
#include <optional>

namespace {

// The first character of a format that is not part of a field ("d", "M", ...).
QChar separatorOf(const QString& format, QChar fallback)
{
    for (QChar c : format)
        if (!c.isLetter() && !c.isSpace() && c != u'\'')
            return c;
    return fallback;
}

} // namespace

qint32 chargeCount(const QString& text, qint32 previous)
{
    if (text.isEmpty())
        return 0;
    const std::optional<double> n = regional::toNumber(text);
    if (!n)
        return previous;
    const long long whole = regional::roundHalfEven(*n);
    if (whole < std::numeric_limits<qint32>::min() || whole > std::numeric_limits<qint32>::max())
        return previous;
    return qint32(whole);
}

QString resetStamp(const QDateTime& when, const QLocale& locale)
{
    const QChar dateSep = separatorOf(locale.dateFormat(QLocale::ShortFormat), u'/');
    const QChar timeSep = separatorOf(locale.timeFormat(QLocale::ShortFormat), u':');
    const QDate d = when.date();
    const QTime t = when.time();
    return QStringLiteral("%1%2%3%2%4 %5%6%7")
        .arg(d.day())
        .arg(dateSep)
        .arg(d.month())
        .arg(d.year(), 4, 10, QChar(u'0'))
        .arg(t.hour())
        .arg(timeSep)
        .arg(t.minute(), 2, 10, QChar(u'0'));
}
