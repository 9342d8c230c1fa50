#include "phonebook/contact_fields.h"

namespace contact_fields {

QString singleLine(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c == u'\t' || c == u'\r' || c == u'\n')
            c = u' ';
    return out;
}

} // namespace contact_fields
