#pragma once
// Contacts from other programs: vCard (.vcf, versions 2.1 to 4.0) and CSV
// files, turned into phone book entries (name, up to four numbers and, from a
// vCard, the photo). book.txt's format is not touched by any of this.
#include "phonebook/book_file.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct ContactImport {
    QList<BookEntry> contacts;
    // vCards only: each contact's PHOTO, decoded (inline or a local file:
    // URI), "" for none or one larger than kMaxPhotoSize. Same order as contacts.
    QList<QByteArray> photos;
    int unusable = 0;      // cards or lines that carry no name
    int unreadNumbers = 0; // numbers that are no phone number ("hello"): left out, the window says how many
    QString error;         // set when the file could not be read at all
};

namespace contact_import {

// Files larger than this are refused rather than read into memory.
inline constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;
// A contact's picture larger than this is left out (the contact is kept).
inline constexpr qint64 kMaxPhotoSize = 1024 * 1024;

// A vCard file's cards. Handles folded lines, QUOTED-PRINTABLE and BASE64
// values, CHARSET parameters and files that are not UTF-8.
ContactImport parseVCard(const QByteArray& data);

// CSV with a header line naming the columns (Name, Phone 1, Mobile, ... as
// common address books export them) or without one: name, then up to four
// numbers. The separator (comma, semicolon or TAB) is taken from the first line.
ContactImport parseCsv(const QByteArray& data);

// UTF-16 bytes (with their byte order mark, as some address books export) as
// UTF-8, for the parsers' 8-bit lines; other bytes as they are.
QByteArray fromUtf16(QByteArray data);

// Reads a file and parses it as a vCard when it holds "BEGIN:VCARD", else as CSV.
ContactImport readFile(const QString& path);

// A number as the book keeps it: read as people write it (NumberPlace::digitsOf);
// "-" for a text that is no phone number.
QString bookNumber(const QString& raw);

// Bytes to text: the named character set when it is known, else UTF-8 when the
// bytes are valid UTF-8 (a byte order mark is dropped), else Windows-1252.
QString decodeText(const QByteArray& bytes, const QByteArray& charset = {});

// The imported contacts that are not in the book yet (same name and same
// Phone 1) nor earlier in the import; `duplicates` counts the others.
QList<BookEntry> newContactsOnly(
    const QList<BookEntry>& book, const QList<BookEntry>& imported, int* duplicates = nullptr);

// Saves a contact's photo in `dir` under a name made of its content (written once
// however often it is saved); its path, or "" for bytes that are no JPEG, PNG,
// GIF or BMP picture or that could not be written.
QString savePicture(const QString& dir, const QByteArray& data);

} // namespace contact_import
