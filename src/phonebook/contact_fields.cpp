#include "phonebook/contact_fields.h"

#include "common/regional.h"

namespace contact_fields {

bool isNumericText(const QString& text)
{
    return regional::toNumber(text).has_value();
}

QString numberOrDash(const QString& text)
{
    const QString clean = singleLine(text).trimmed();
    return isNumericText(clean) ? clean : QStringLiteral("-");
}

QString singleLine(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c == u'\t' || c == u'\r' || c == u'\n')
            c = u' ';
    return out;
}

} // namespace contact_fields
