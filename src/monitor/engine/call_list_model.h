#pragma once
// The call list (FlexGrid1's model) and its file list.txt: newest record first,
// eight TAB-separated fields per CR LF line, written in UTF-8 and read as the
// users' text files are (common/user_text.h).
#include <QAbstractTableModel>
#include <QDate>
#include <QList>
#include <QString>

class BookLookup;

struct CallRecord {
    QString msn, type, date, time, number, name, duration, cost;
    bool operator==(const CallRecord&) const = default;
};

class CallListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CallListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

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

    // Why list.txt may not hold what the grid shows. Calls not yet on disk
    // stay in memory; every later save tries again.
    enum class FileProblem { None, Unreadable, NotSaved };
    FileProblem fileProblem() const;
    // The problem in words for the views, empty when there is none.
    QString fileProblemText() const;
    // Records added or removed since list.txt last matched the grid.
    bool hasUnsavedChanges() const { return unsaved_; }
    // Calls added since list.txt last matched the grid: in memory only.
    int unsavedCalls() const { return unsavedCalls_; }
    // "2 calls not saved: ... could not be written", empty when every call is saved.
    QString unsavedCallsText() const;
    // A live monitor writes each call through, so none is lost in a crash; a
    // replay turns this off and saves once at the end.
    void setWriteThrough(bool on);

    const QList<CallRecord>& records() const;
    void setRecords(QList<CallRecord> records);

    void setListPath(const QString& path);
    void setBookPath(const QString& path);
    void setDialPrefix(const QString& prefix);
    QString listPath() const;
    QString bookPath() const;

    static const QStringList& headers();
    // One record as a list.txt line (without the line end) and back.
    static QString toLine(const CallRecord& r);
    static CallRecord fromLine(QStringView line);

signals:
    void fileProblemChanged();
    // A save failed with calls in memory only: at each call and at closing,
    // so that a loss is announced again and again until a save succeeds.
    void callsNotSaved();

private:
    bool save(const BookLookup& book);
    bool readAgain();
    void appendLines(const QString& text);

    QList<CallRecord> records_;
    QString listPath_;
    QString bookPath_;
    bool bookPathSet_ = false;
    QString dialPrefix_;
    bool unreadable_ = false; // the last read found a file it could not read
    bool saveFailed_ = false; // the last save did not replace the file
    bool unsaved_ = false;
    int unsavedCalls_ = 0;

    void setFileState(bool unreadable, bool saveFailed);
    bool writeThrough_ = true;
};
