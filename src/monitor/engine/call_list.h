#pragma once
// The call list and its file list.txt: newest record first, eight
// TAB-separated fields per CR LF line, written in UTF-8 and read as the users'
// text files are (common/user_text.h); the names come from the phone book.
// Qt Core only: the window's grid (through its CallListModel), the service and
// the outputs all read it. Each change is announced before and after it, as a
// table model needs it.
#include "phonebook/book_lookup.h"
#include "phonebook/phone_to_name.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

struct CallRecord {
    QString msn, type, date, time, number, name, duration, cost;
    bool operator==(const CallRecord&) const = default;
};

class CallList : public QObject {
    Q_OBJECT
public:
    static constexpr int kColumns = 8;

    explicit CallList(QObject* parent = nullptr);

    // Normalises (empty number "-", zero cost "0", dial prefix removed with "*"
    // after the type), names the number from the phone book, inserts the record
    // at the top and, writing through, saves the list at once.
    void AddCall(
        QString Phn, QString Typ, QDate Dt, QString Tm, QString Number, QString Nam, QString Durat, QString Cost);
    // Atomic rewrite of list.txt with names looked up afresh. False when the
    // file could not be replaced (the old one then stays as it was) and when
    // it could not be read: a list never read is never written over. A list
    // that could not be read is read again first; once it can be, its records
    // go below the calls kept meanwhile and the whole list is saved.
    bool SaveTheList();
    // Appends list.txt's lines longer than 12 characters.
    void ReadTheList();
    void clearRows();
    // Removes `count` records from `row` on; false when they are not all there.
    bool remove(int row, int count);

    // Why list.txt may not hold what the list holds. Calls not yet on disk
    // stay in memory; every later save tries again.
    enum class FileProblem { None, Unreadable, NotSaved };
    FileProblem fileProblem() const;
    // The problem in words for the views, empty when there is none.
    QString fileProblemText() const;
    // Records added or removed since list.txt last matched the list.
    bool hasUnsavedChanges() const { return unsaved_; }
    // Calls added since list.txt last matched the list: in memory only.
    int unsavedCalls() const { return unsavedCalls_; }
    // "2 calls not saved: ... could not be written", empty when every call is saved.
    QString unsavedCallsText() const;
    // A live monitor writes each call through, so none is lost in a crash; a
    // replay turns this off and saves once at the end.
    void setWriteThrough(bool on);

    const QList<CallRecord>& records() const;
    int count() const { return int(records_.size()); }
    void setRecords(QList<CallRecord> records);

    void setListPath(const QString& path);
    QString listPath() const;
    // The book that names the records, the user's number forms for it, and
    // the address-book folder's contacts after it; the book's `cache` (null: the list's own).
    void setPhoneBook(const QString& path, const NumberPlan& plan, std::shared_ptr<const BookLookup> contacts = {},
        std::shared_ptr<BookCache> cache = {});
    QString bookPath() const;
    void setDialPrefix(const QString& prefix);

    static const QStringList& headers();
    // One record as a list.txt line (without the line end) and back.
    static QString toLine(const CallRecord& r);
    static CallRecord fromLine(QStringView line);
    // Field `column` of a record, in the order of a list.txt line; nullptr outside 0 ... 7.
    static const QString* field(const CallRecord& r, int column);

signals:
    // Around every change of the records: first and last row, inclusive.
    void recordsAboutToBeInserted(int first, int last);
    void recordsInserted(int first, int last);
    void recordsAboutToBeRemoved(int first, int last);
    void recordsRemoved(int first, int last);
    void recordsAboutToBeReset();
    void recordsReset();
    // After each of the three changes above.
    void changed();
    void fileProblemChanged();
    // A save failed with calls in memory only: at each call and at closing,
    // so that a loss is announced again and again until a save succeeds.
    void callsNotSaved();

private:
    bool save(const BookLookup& book);
    bool readAgain();
    void appendLines(const QString& text);
    void setFileState(bool unreadable, bool saveFailed);

    QList<CallRecord> records_;
    QString listPath_;
    QString bookPath_;
    bool bookPathSet_ = false;
    NumberPlan plan_;
    std::shared_ptr<const BookLookup> contacts_;
    std::shared_ptr<BookCache> bookCache_ = std::make_shared<BookCache>();
    QString dialPrefix_;
    bool unreadable_ = false; // the last read found a file it could not read
    bool saveFailed_ = false; // the last save did not replace the file
    bool unsaved_ = false;
    int unsavedCalls_ = 0;
    bool writeThrough_ = true;
};
