#pragma once
// The text files users keep and edit (list.txt, book.txt): written as UTF-8,
// read as UTF-8 when the bytes are valid UTF-8 and as the Windows code page
// 1252 otherwise, since files written on Windows often are. Lines end in
// CR LF, LF or a lone CR.
#include <QByteArray>
#include <QString>
#include <QStringView>

namespace usertext {

// The longest name (a contact's, an own number's) and number any output
// gets: a name fits a display line, a number the longest the network sends
// with room to spare.
inline constexpr qsizetype kMaxNameLength = 100;
inline constexpr qsizetype kMaxNumberLength = 40;

// A name or number from a user's file, settings or the line, as every output
// may take it: each control character (C0, DEL, C1) and each bidirectional
// control (which would reorder what follows it on a display) becomes a space,
// and the text is cut to `max` characters (never inside a surrogate pair).
QString cleaned(QStringView text, qsizetype max);

QString decode(const QByteArray& bytes);
QByteArray encode(const QString& text);

// Larger files are no list or book a person keeps.
inline constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

// Reads and decodes a whole file. A missing file reads as empty; one that
// exists but cannot be read (no permission, no regular file, larger than
// `maxBytes`, an I/O error) reads as empty with `ok` false (common/regular_file.h).
QString readFile(const QString& path, bool* ok = nullptr, qint64 maxBytes = kMaxFileSize);

// Calls fn(line) for every line of text until fn returns true; returns
// whether one did.
template <typename Fn>
bool forEachLine(QStringView text, Fn fn)
{
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        if (fn(text.mid(start, end - start)))
            return true;
        if (end < n && text[end] == u'\r' && end + 1 < n && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return false;
}

} // namespace usertext
