#include "common/log_text.h"

namespace {

enum class Breaks { Escaped, Kept };

QString escaped(QStringView text, Breaks breaks)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (breaks == Breaks::Kept && c == u'\r')
            continue;
        const bool kept = c == u'\t' || (breaks == Breaks::Kept && c == u'\n');
        if (c.category() != QChar::Other_Control || kept) {
            out += c;
            continue;
        }
        static constexpr char kHex[] = "0123456789ABCDEF";
        out += QLatin1String("\\x"); // control characters are all below 0xA0: two digits
        out += QLatin1Char(kHex[(c.unicode() >> 4) & 0xF]);
        out += QLatin1Char(kHex[c.unicode() & 0xF]);
    }
    return out;
}

} // namespace

namespace logtext {

QString line(QStringView text)
{
    return escaped(text, Breaks::Escaped);
}

QString trace(QStringView text)
{
    return escaped(text, Breaks::Kept);
}

} // namespace logtext
