// book.txt as the phone book and the monitor read it. Written back and read
// again it keeps every entry and every field, and naming a number from it
// never fails.
#include "fuzz_entry.h"

#include "phonebook/book_file.h"

namespace {

bool sameEntries(const QList<BookEntry>& a, const QList<BookEntry>& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].phone1 != b[i].phone1 || a[i].phone2 != b[i].phone2
            || a[i].mobile != b[i].mobile || a[i].other != b[i].other || a[i].picture != b[i].picture)
            return false;
    return true;
}

void bookFile(const QByteArray& data)
{
    const QString path = fuzz::scratchPath(QStringLiteral("book.txt"));
    fuzz::writeScratch(path, data);
    const QList<BookEntry> first = BookFile::read(path);
    for (const BookEntry& e : first) { // each stored number names its own entry or an earlier one
        QString number = e.phone1;
        PhoneToName(number, path);
    }
    FUZZ_CHECK(BookFile::write(path, first));
    FUZZ_CHECK(sameEntries(BookFile::read(path), first));
}

} // namespace

CORVANE_FUZZ_HARNESS("book_file", bookFile)
