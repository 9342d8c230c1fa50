#pragma once
// The number-to-name rule over book.txt's text, read once. Saving a whole
// call list reads it once and looks every row up here, which gives the same
// names; a BookCache keeps it between calls.
#include "phonebook/phone_to_name.h"

#include <QFuture>
#include <QHash>
#include <QList>
#include <QString>
#include <QThreadPool>
#include <memory>
#include <optional>

class BookCache;

// Lets `value` go on a pool thread: the strings of a big book or folder take
// tens of milliseconds to free, which the event loop need not wait for.
template <typename T>
void releaseOnWorker(T value)
{
    QThreadPool::globalInstance()->start([held = std::move(value)]() mutable { held = T{}; });
}

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
// nothing. A changed book of up to kReadNowBytes is read at once, so the next
// call sees the change; a bigger one is read on a worker thread while the book
// before it answers, and taken over whole by the next lookup after the read.
// Its identity is taken before reading: a change during the read is read
// again. Each monitor's inputs hold their own, so monitors of two program
// folders in one process never share a book. Used from one thread.
class BookCache {
public:
    // About 4,000 contacts, read and indexed in a few milliseconds.
    static constexpr qint64 kReadNowBytes = 256 * 1024;

    // The book at `path` as it is now, with the number forms of `plan`; the
    // book before while a big one is read. Waits only for a first reading.
    const BookLookup& book(const QString& path, const NumberPlan& plan);
    // Starts reading a big book in the background when it is not held as it
    // is now, so that the first call does not wait for it.
    void prefetch(const QString& path, const NumberPlan& plan);

private:
    struct Identity {
        QString path;
        bool regular = false; // not regular (missing, a device): read every time, it may come
        qint64 size = -1, mtimeNs = -1, inode = -1, device = -1;
        bool operator==(const Identity&) const = default;
    };
    struct Read {
        Identity identity;
        std::shared_ptr<const BookLookup> book;
    };
    static Identity identify(const QString& path);
    static Read read(const Identity& identity, const NumberPlan& plan);
    bool holds(const QString& path, const NumberPlan& plan) const;
    bool isCurrent(const Identity& now, const NumberPlan& plan) const;
    void takeFinishedRead();
    void take(Read done);
    Identity identity_;
    std::shared_ptr<const BookLookup> book_;
    std::optional<QFuture<Read>> reading_;
};
