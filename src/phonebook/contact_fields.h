#pragma once
// Small rules for the texts that go into a contact's fields.
#include <QString>

namespace contact_fields {

// The number test the window applies to Phone 1 .. Other: a text that reads
// as a number in the user's regional format. The empty text is not numeric.
bool isNumericText(const QString& text);

// What Add and Update store for a number field: the trimmed text when it is
// numeric, else "-".
QString numberOrDash(const QString& text);

// book.txt cannot hold a TAB or a line break inside a field (they would split
// the contact), so they become blanks before a text reaches the book.
QString singleLine(const QString& text);

} // namespace contact_fields
