#include "phonebook/book_source.h"

#include "common/program_folder.h"

QList<BookEntry> FileBook::read(Outcome& outcome)
{
    bool readable = true;
    QList<BookEntry> entries = BookFile::read(path_, &readable);
    outcome = readable ? Outcome::Done : Outcome::Refused;
    return entries;
}

bool FileBook::save(const QList<BookEntry>& entries)
{
    return BookFile::write(path_, entries);
}

BookSource::Change FileBook::replace(const BookEntry& was, const BookEntry& now)
{
    BookEntry entry = now;
    entry.picture = was.picture;
    return {Outcome::Done, entry, {}};
}

BookSource::Change FileBook::setPicture(const BookEntry& entry, const QString& file)
{
    BookEntry changed = entry;
    changed.picture = file;
    return {Outcome::Done, changed, {}};
}

// The photos go beside the program, apart from the followed folder's, which
// are removed when their contact leaves the folder.
QString FileBook::importFolder() const
{
    return ProgramFolder::filePath(QStringLiteral("imported-pictures"));
}
