#include "common/regional.h"

#include <cmath>
#include <limits>

namespace regional {

std::optional<double> toNumber(const QString& text, const QLocale& locale)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    QLocale strict = locale;
    strict.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double v = strict.toDouble(t, &ok);
    if (ok && std::isfinite(v))
        return v;
    // Accept the other decimal separator (only when there is exactly one).
    const QChar dp = locale.decimalPoint().at(0);
    const QChar other = dp == u'.' ? u',' : u'.';
    if (t.count(other) == 1 && !t.contains(dp)) {
        QString swapped = t;
        swapped.replace(other, dp);
        v = strict.toDouble(swapped, &ok);
        if (ok && std::isfinite(v))
            return v;
    }
    return std::nullopt;
}

long long roundHalfEven(double value)
{
    return static_cast<long long>(std::nearbyint(value)); // default FE_TONEAREST: halves to even
}

QString fromSingle(float value, const QLocale& locale)
{
    QString s = QString::number(static_cast<double>(value), 'g', 7);
    if (s.contains(u'e')) // large or tiny values: plain digits, trailing zeros trimmed
        s = QString::number(static_cast<double>(value), 'f', 7);
    if (s.contains(u'.') && !s.contains(u'e')) {
        while (s.endsWith(u'0'))
            s.chop(1);
        if (s.endsWith(u'.'))
            s.chop(1);
    }
    s.replace(u'.', locale.decimalPoint());
    return s;
}

QString money00(double value, const QLocale& locale)
{
    const bool negative = value < 0;
    QString s = QString::number(std::fabs(value), 'f', 2);
    if (s.indexOf(u'.') < 2)
        s.prepend(QString(2 - s.indexOf(u'.'), u'0'));
    s.replace(u'.', locale.decimalPoint());
    return negative ? u'-' + s : s;
}

QString currency2(double value, const QLocale& locale)
{
    return locale.toCurrencyString(value, QString(), 2);
}

namespace {

// End of the quoted literal starting at `open` (a doubled quote inside is a quote).
qsizetype quotedEnd(const QString& f, qsizetype open)
{
    qsizetype j = open + 1;
    while (j < f.size()) {
        if (f[j] == u'\'') {
            if (j + 1 < f.size() && f[j + 1] == u'\'') {
                j += 2;
                continue;
            }
            return j + 1;
        }
        ++j;
    }
    return f.size();
}

bool isZoneSeparator(QChar c)
{
    return c.isSpace() || c == u',';
}

// `format` without the field of letter `field` ("t", "yy"), the brackets around it and the
// separators before it (after it, when it leads); quoted text is kept.
QString withoutField(const QString& f, QChar field, bool (*isSeparator)(QChar))
{
    QString out;
    qsizetype i = 0;
    while (i < f.size()) {
        if (f[i] == u'\'') {
            const qsizetype end = quotedEnd(f, i);
            out += f.mid(i, end - i);
            i = end;
        } else if (f[i] == field) {
            qsizetype j = i;
            while (j < f.size() && f[j] == field)
                ++j;
            if (out.endsWith(u'(') && j < f.size() && f[j] == u')') {
                out.chop(1);
                ++j;
            }
            while (!out.isEmpty() && isSeparator(out.back()))
                out.chop(1);
            if (out.isEmpty()) // a leading field: drop the separator after it instead
                while (j < f.size() && isSeparator(f[j]))
                    ++j;
            i = j;
        } else {
            out += f[i++];
        }
    }
    return out;
}

bool isDateSeparator(QChar c)
{
    return c.isSpace() || c == u',' || c == u'/' || c == u'-' || c == u'.';
}

} // namespace

QString withoutTimeZone(const QString& format)
{
    return withoutField(format, u't', isZoneSeparator);
}

QString dayAndMonth(QDate date, const QLocale& locale)
{
    return locale.toString(date, withoutField(locale.dateFormat(QLocale::ShortFormat), u'y', isDateSeparator));
}

QString longTime(QTime time, const QLocale& locale)
{
    return locale.toString(time, withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
}

std::optional<int> toInt16(const QString& text)
{
    const std::optional<double> v = toNumber(text);
    if (!v)
        return std::nullopt;
    const long long n = roundHalfEven(*v);
    if (n < std::numeric_limits<qint16>::min() || n > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<int>(n);
}

std::optional<float> toSingle(const QString& text)
{
    const std::optional<double> v = toNumber(text);
    if (!v || std::abs(*v) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(*v);
}

std::optional<float> toCost(const QString& text)
{
    const std::optional<float> v = toSingle(text);
    return v && *v >= 0 ? v : std::nullopt;
}

} // namespace regional
