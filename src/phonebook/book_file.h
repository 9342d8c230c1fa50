#pragma once
// book.txt: one contact per line, six TAB-separated fields Name, Phone 1,
// Phone 2, Mobile, Other, Picture; written with CR LF line ends in UTF-8, read
// as the users' text files are (common/user_text.h). Replaced atomically on
// writing, never deleted first.
#include "phonebook/phone_to_name.h"

#include <QList>
#include <QString>
#include <memory>

class BookCache;
class BookLookup;

struct BookEntry {
    QString name;
    QString phone1;
    QString phone2;
    QString mobile;
    QString other;
    QString picture; // file path, or "-" / empty when none
};

// Field `column` of an entry, in the order of a book.txt line: 0 Name,
// 1 Phone 1, 2 Phone 2, 3 Mobile, 4 Other, 5 Picture.
const QString& contactField(const BookEntry& entry, int column);
QString& contactField(BookEntry& entry, int column);

namespace BookFile {

// Reads every line of the file (missing file: empty list). Short lines give
// empty fields, extra fields are ignored. `ok` turns false for a file that
// exists but cannot be read.
QList<BookEntry> read(const QString& path, bool* ok = nullptr);

// Writes all entries atomically (writeFileAtomically). False when the file could not be
// replaced; the old file is then left as it was.
bool write(const QString& path, const QList<BookEntry>& entries);

// The program folder's book.txt.
QString defaultPath();

} // namespace BookFile

// Names a number from the phone book, reading the book afresh on every call
// unless a `cache` has it as it is;
// `plan` gives the other forms of numbers. Returns the name ("" when the
// number has no entry) and replaces `number` with the entry's picture file,
// or with "-" when there is no entry. `then` names what the book does not
// (the address-book folder's contacts).
QString PhoneToName(QString& number, const QString& bookPath, const NumberPlan& plan = {},
    std::shared_ptr<const BookLookup> then = {}, BookCache* cache = nullptr);
