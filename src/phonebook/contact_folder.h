#pragma once
// An address-book folder kept by another program, as vdirsyncer and khard keep
// CardDAV contacts: a folder of .vcf files, or a folder of such folders (one
// per collection). Its contacts name callers after book.txt, whose entries
// always win; they are never written into book.txt. Pictures are saved as
// files named after their content in a folder of their own.
#include "phonebook/book_file.h"
#include "phonebook/book_lookup.h"

#include <QFileSystemWatcher>
#include <QFutureWatcher>
#include <QObject>
#include <QTimer>
#include <memory>

class ContactFolder : public QObject {
    Q_OBJECT
public:
    // Changes come in bursts (a sync writes many files): read once they settle.
    static constexpr int kSettleMs = 300;
    // Bounds for a folder nobody meant as an address book.
    static constexpr int kMaxFiles = 20000;
    static constexpr int kMaxWatchedFiles = 2000; // inotify watches are a shared resource

    struct Contents {
        QList<BookEntry> contacts;
        int files = 0;     // .vcf files read
        int unusable = 0;  // cards without a name, unreadable or oversized files
        int beyondCap = 0; // .vcf files past kMaxFiles, not read
    };
    // Reads `dir` now; pictures go into `pictureDir`, whose other pictures of
    // earlier reads are removed. What it skips is one line on the log, with the counts.
    static Contents read(const QString& dir, const QString& pictureDir);

    explicit ContactFolder(QObject* parent = nullptr);
    // Follows `dir` ("" for none): read now and again after every change. A
    // folder not there yet, or deleted, is read again as soon as it exists.
    // A read runs on a worker thread; its contacts and lookup are taken over
    // whole on this object's thread, changed() says so. The watches are set
    // before each read, and a change during one is read again after it.
    void follow(const QString& dir, const QString& pictureDir);
    QString folder() const { return dir_; }
    bool reading() const { return reading_.isRunning(); }
    const Contents& contents() const { return contents_; }
    // The contacts as the lookup after book.txt; null when there are none.
    // Built with the reads for the plan last asked for.
    std::shared_ptr<const BookLookup> lookup(const NumberPlan& plan) const;
    static std::shared_ptr<const BookLookup> lookupOf(const Contents& contents, const NumberPlan& plan);

    // The program folder's picture folder for them.
    static QString defaultPictureDir();

signals:
    void changed(); // after every read

private:
    struct Read {
        QString dir;
        Contents contents;
        NumberPlan plan;
        std::shared_ptr<const BookLookup> lookup;
    };
    void reload();
    void watch();
    void take();

    QFileSystemWatcher watcher_;
    QTimer settle_;
    QString dir_, pictureDir_;
    QFutureWatcher<Read> reading_;
    bool changedWhileReading_ = false;
    Contents contents_;
    mutable NumberPlan plan_;
    mutable std::shared_ptr<const BookLookup> lookup_;
};
