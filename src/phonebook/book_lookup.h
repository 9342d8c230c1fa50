#pragma once
// The number-to-name rule over book.txt's text, read once. Saving a whole
// call list reads it once and looks every row up here, which gives the same
// names; a BookCache keeps it between calls.
#include "phonebook/phone_to_name.h"

#include <QHash>
#include <QList>
#include <QString>
#include <memory>

class BookCache;

class BookLookup {
public:
    // Reads the file now (missing or unreadable file: an empty book); the
    // plan gives the other forms of numbers. `then` (the address-book
    // folder's contacts) is asked for what the file's entries do not name:
    // the user's own book always wins. With a `cache`, the file is read only
    // when it changed since the cache last read it.
    explicit BookLookup(const QString& path, const NumberPlan& plan = {}, std::shared_ptr<const BookLookup> then = {},
        BookCache* cache = nullptr);
    // The rule on a book held in memory (tests, benchmarks).
    static BookLookup fromText(QString text, const NumberPlan& plan = {});

    // As PhoneToName: the name of the first contact with a number field f that
    // `number` contains and for which len(f) > 0.7 * len(number); `number`
    // becomes its Picture field. Else the number's other forms (phone_to_name.h).
    // Else the lookup after it, if any.
    // No match (or a number that is not numeric): "" and `number` becomes "-".
    // The name comes cleaned and bounded (usertext::cleaned).
    QString nameFor(QString& number) const;

    // The matching rule for one stored number.
    static bool matches(QStringView stored, QStringView number);
    // The platform's numeric test: a text that reads as a number.
    static bool isNumeric(const QString& text);

private:
    friend class BookCache;
    BookLookup() = default;
    QString findName(QString& number) const; // nameFor's name as the book has it
    void index();
    QString text_;
    // Each number field's first line, so a lookup tries the number's parts
    // that are long enough instead of reading every line.
    struct Entry {
        QString name, picture;
    };
    QList<Entry> entries_;
    QHash<QString, qsizetype> firstEntry_;
    NumberPlan plan_;
    mutable std::shared_ptr<const NumberForms> forms_; // built at the first miss
    std::shared_ptr<const BookLookup> then_;
};

// The book.txt last read and what identified it: read again only when its
// size, time or file (inode, device) changed, so a lookup per call reads
// nothing. Each monitor's inputs hold their own, so monitors of two program
// folders in one process never share a book. Not shared between threads.
class BookCache {
public:
    // The book at `path` as it is now, with the number forms of `plan`.
    const BookLookup& book(const QString& path, const NumberPlan& plan);

private:
    struct Identity {
        QString path;
        qint64 size = -1, mtimeNs = -1, inode = -1, device = -1;
        bool operator==(const Identity&) const = default;
    };
    static Identity identify(const QString& path);
    Identity identity_;
    std::shared_ptr<const BookLookup> book_;
};
