#pragma once
// Small rules for the texts that go into a contact's fields.
#include <QString>

namespace contact_fields {

// book.txt cannot hold a TAB or a line break inside a field (they would split
// the contact), so they become blanks before a text reaches the book.
QString singleLine(const QString& text);

} // namespace contact_fields
