#pragma once
// What every import must give: named contacts without a picture whose fields
// survive book.txt (no TAB or line break inside a field), so saving the
// imported book and reading it back keeps every contact.
#include "fuzz_entry.h"

#include "phonebook/contact_import.h"

namespace fuzz {

inline void checkImport(const ContactImport& import)
{
    for (const BookEntry& e : import.contacts) {
        FUZZ_CHECK(!e.name.isEmpty());
        FUZZ_CHECK(e.picture.isEmpty());
        for (const QString& f : {e.name, e.phone1, e.phone2, e.mobile, e.other})
            FUZZ_CHECK(!f.contains(u'\t') && !f.contains(u'\r') && !f.contains(u'\n'));
    }
    const QString path = scratchPath(QStringLiteral("imported-book.txt"));
    FUZZ_CHECK(BookFile::write(path, import.contacts));
    FUZZ_CHECK(BookFile::read(path).size() == import.contacts.size());
    int duplicates = 0;
    const QList<BookEntry> fresh = contact_import::newContactsOnly({}, import.contacts, &duplicates);
    FUZZ_CHECK(fresh.size() + duplicates == import.contacts.size());
}

} // namespace fuzz
