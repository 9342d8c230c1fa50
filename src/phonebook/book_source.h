#pragma once
// Where the phone book window's contacts come from and where its changes go.
// The program folder's book.txt is read on opening and written whole on
// closing (FileBook); the book of a corvane-monitor on another folder (the
// system daemon, --service URL) is changed entry by entry as the user makes
// each change (ServiceBook, service_book.h).
#include "phonebook/book_file.h"

#include <QList>
#include <QString>
#include <functional>

class BookSource {
public:
    // What became of a reading or a change.
    enum class Outcome {
        Done,    // the book holds `entry` now
        Refused, // the book did not take it (`message` says why); nothing changed
        Stale,   // the entry changed or went meanwhile (elsewhere): the book is to be read again
        Gone,    // nobody answers for the book; nothing changed
    };
    struct Change {
        Outcome outcome = Outcome::Done;
        BookEntry entry;
        QString message;
    };

    virtual ~BookSource() = default;
    // The entries, Done; Refused for a book that exists but cannot be read (it
    // is then never written over).
    virtual QList<BookEntry> read(Outcome& outcome) = 0;
    // True when every change below is kept as it is made; else save() keeps
    // them all at closing.
    virtual bool keepsEachChange() const = 0;
    virtual bool save(const QList<BookEntry>& entries) = 0;
    // A new entry; its picture is a file or empty.
    virtual Change add(const BookEntry& entry) = 0;
    // The names and numbers of `was` become those of `now`; the picture stays.
    virtual Change replace(const BookEntry& was, const BookEntry& now) = 0;
    virtual Change remove(const BookEntry& entry) = 0;
    virtual Change setPicture(const BookEntry& entry, const QString& file) = 0;
    // A file holding the entry's picture ("" or "-" for none).
    virtual QString pictureFile(const BookEntry& entry) = 0;
    // Where the book is: its path, or the service's address.
    virtual QString where() const = 0;
    // Where imported contacts' photos are saved before they go to the book.
    virtual QString importFolder() const = 0;
    // Calls `changed` whenever the book may have been changed elsewhere; a
    // book only this window changes never does.
    virtual void follow(std::function<void()> changed) { (void)changed; }
    // A reading or a change waits for its answer (events run meanwhile).
    virtual bool waiting() const { return false; }
    // An entry's picture as the list shows it.
    virtual QString pictureText(const QString& picture) const { return picture; }
};

// book.txt: the window's list is the book, written when the window closes.
class FileBook : public BookSource {
public:
    explicit FileBook(QString path) : path_(std::move(path)) {}

    QList<BookEntry> read(Outcome& outcome) override;
    bool keepsEachChange() const override { return false; }
    bool save(const QList<BookEntry>& entries) override;
    Change add(const BookEntry& entry) override { return {Outcome::Done, entry, {}}; }
    Change replace(const BookEntry& was, const BookEntry& now) override;
    Change remove(const BookEntry& entry) override { return {Outcome::Done, entry, {}}; }
    Change setPicture(const BookEntry& entry, const QString& file) override;
    QString pictureFile(const BookEntry& entry) override { return entry.picture; }
    QString where() const override { return path_; }
    QString importFolder() const override;

private:
    QString path_;
};
