#include "monitor/engine/call_list.h"

#include "common/atomic_file.h"
#include "common/program_folder.h"
#include "common/regional.h"
#include "common/user_text.h"
#include "phonebook/book_file.h"
#include "phonebook/book_lookup.h"

#include "monitor/engine/time_texts.h"

#include <QCoreApplication>
#include <QDir>

namespace {

// Shorter lines (blank lines, stray fragments) are never records.
constexpr qsizetype kMinLineLength = 13;

QString* field(CallRecord& r, int column)
{
    QString* fields[CallList::kColumns] = {&r.msn, &r.type, &r.date, &r.time, &r.number, &r.name, &r.duration, &r.cost};
    return column >= 0 && column < CallList::kColumns ? fields[column] : nullptr;
}

} // namespace

CallList::CallList(QObject* parent) : QObject(parent)
{
}

const QString* CallList::field(const CallRecord& r, int column)
{
    return ::field(const_cast<CallRecord&>(r), column);
}

// English as the CSV export writes them; the window's grid shows them translated.
const QStringList& CallList::headers()
{
    static const QStringList h{QLatin1String(QT_TRANSLATE_NOOP("CallListModel", "MSN")),
        QLatin1String(QT_TRANSLATE_NOOP("CallListModel", "Type")),
        QLatin1String(QT_TRANSLATE_NOOP("CallListModel", "Date")),
        QLatin1String(QT_TRANSLATE_NOOP("CallListModel", "Time")),
        QLatin1String(QT_TRANSLATE_NOOP("CallListModel", "Number")),
        QLatin1String(QT_TRANSLATE_NOOP("CallListModel", "Name")),
        QLatin1String(QT_TRANSLATE_NOOP("CallListModel", "Duration")),
        QLatin1String(QT_TRANSLATE_NOOP("CallListModel", "Cost"))};
    return h;
}

bool CallList::remove(int row, int count)
{
    if (row < 0 || count <= 0 || row + count > records_.size())
        return false;
    emit recordsAboutToBeRemoved(row, row + count - 1);
    records_.remove(row, count);
    emit recordsRemoved(row, row + count - 1);
    emit changed();
    unsaved_ = true;
    return true;
}

void CallList::AddCall(
    QString Phn, QString Typ, QDate Dt, QString Tm, QString Number, QString Nam, QString Durat, QString Cost)
{
    Q_UNUSED(Nam) // the book decides the name, not the caller
    Phn = usertext::cleaned(Phn, usertext::kMaxNumberLength);
    Number = usertext::cleaned(Number, usertext::kMaxNumberLength);
    if (Number.isEmpty())
        Number = QStringLiteral("-");
    const std::optional<double> cost = regional::toNumber(Cost);
    if (cost && *cost == 0.0)
        Cost = QStringLiteral("0");
    if (!dialPrefix_.isEmpty() && Number.startsWith(dialPrefix_)) {
        Number.remove(0, dialPrefix_.size());
        Typ += u'*';
    }
    const auto prepend = [&](const QString& name) {
        emit recordsAboutToBeInserted(0, 0);
        records_.prepend(CallRecord{Phn, Typ, timetext::isoDate(Dt), Tm, Number, name, Durat, Cost});
        emit recordsInserted(0, 0);
        emit changed();
    };
    QString lookup = Number;
    ++unsavedCalls_;
    unsaved_ = true;
    if (!writeThrough_) {
        prepend(PhoneToName(lookup, bookPath(), plan_, contacts_, bookCache_.get()));
        return;
    }
    const BookLookup book(
        bookPath(), plan_, contacts_, bookCache_.get()); // one read names the new call and every saved row
    prepend(book.nameFor(lookup));
    save(book);
}

void CallList::setWriteThrough(bool on)
{
    writeThrough_ = on;
}

QString CallList::toLine(const CallRecord& r)
{
    return QStringList{r.msn, r.type, r.date, r.time, r.number, r.name, r.duration, r.cost}.join(u'\t');
}

CallRecord CallList::fromLine(QStringView line)
{
    CallRecord r;
    int column = 0;
    for (QStringView part : line.tokenize(u'\t')) {
        if (QString* f = ::field(r, column++))
            *f = usertext::cleaned(part, usertext::kMaxNameLength); // a hand-edited file's
        else
            break;
    }
    return r;
}

bool CallList::SaveTheList()
{
    return save(BookLookup(bookPath(), plan_, contacts_, bookCache_.get())); // read once: every row sees the same book
}

bool CallList::save(const BookLookup& book)
{
    if (unreadable_ && !readAgain()) {
        if (unsavedCalls_ > 0)
            emit callsNotSaved();
        return false;
    }
    QString text;
    text.reserve(records_.size() * 64);
    for (const CallRecord& r : records_) {
        QString lookup = r.number;
        const QString name = book.nameFor(lookup);
        for (const QString* f : {&r.msn, &r.type, &r.date, &r.time, &r.number, &name, &r.duration}) {
            text += *f;
            text += u'\t';
        }
        text += r.cost;
        text += QLatin1String("\r\n");
    }
    const bool saved = writeFileAtomically(listPath(), usertext::encode(text));
    if (saved) {
        unsaved_ = false;
        unsavedCalls_ = 0;
    }
    setFileState(false, !saved);
    if (!saved && unsavedCalls_ > 0)
        emit callsNotSaved();
    return saved;
}

bool CallList::readAgain()
{
    bool readable = true;
    const QString text = usertext::readFile(listPath(), &readable);
    if (readable)
        appendLines(text); // the file's records are older than every call kept meanwhile
    return readable;
}

void CallList::ReadTheList()
{
    bool readable = true;
    const QString text = usertext::readFile(listPath(), &readable);
    setFileState(!readable, saveFailed_);
    appendLines(text);
}

void CallList::appendLines(const QString& text)
{
    QList<CallRecord> added;
    usertext::forEachLine(text, [&](QStringView line) {
        if (line.size() >= kMinLineLength)
            added.append(fromLine(line));
        return false;
    });
    if (added.isEmpty())
        return;
    const int first = count(), last = first + int(added.size()) - 1;
    emit recordsAboutToBeInserted(first, last);
    records_.append(added);
    emit recordsInserted(first, last);
    emit changed();
}

CallList::FileProblem CallList::fileProblem() const
{
    if (unreadable_)
        return FileProblem::Unreadable;
    return saveFailed_ ? FileProblem::NotSaved : FileProblem::None;
}

// Shown by the window in its language; the headless monitor, which loads no
// translation, logs it in English.
QString CallList::fileProblemText() const
{
    const QString file = QDir::toNativeSeparators(listPath());
    switch (fileProblem()) {
    case FileProblem::Unreadable:
        return QCoreApplication::translate(
            "CallList", "%1 could not be read: it is left as it is, new calls are kept in memory only")
            .arg(file);
    case FileProblem::NotSaved:
        return QCoreApplication::translate("CallList", "Calls not saved: %1 could not be written").arg(file);
    case FileProblem::None: break;
    }
    return {};
}

QString CallList::unsavedCallsText() const
{
    if (unsavedCalls_ == 0)
        return {};
    const QString file = QDir::toNativeSeparators(listPath());
    return QStringLiteral("%1 %2 not saved: %3 could not be %4")
        .arg(unsavedCalls_)
        .arg(unsavedCalls_ == 1 ? QStringLiteral("call") : QStringLiteral("calls"), file,
            unreadable_ ? QStringLiteral("read") : QStringLiteral("written"));
}

void CallList::setFileState(bool unreadable, bool saveFailed)
{
    if (unreadable == unreadable_ && saveFailed == saveFailed_)
        return;
    unreadable_ = unreadable;
    saveFailed_ = saveFailed;
    emit fileProblemChanged();
}

void CallList::clearRows()
{
    emit recordsAboutToBeReset();
    records_.clear();
    emit recordsReset();
    emit changed();
    unsaved_ = false;
    unsavedCalls_ = 0;
}

const QList<CallRecord>& CallList::records() const
{
    return records_;
}

void CallList::setRecords(QList<CallRecord> records)
{
    emit recordsAboutToBeReset();
    records_ = std::move(records);
    emit recordsReset();
    emit changed();
}

void CallList::setListPath(const QString& path)
{
    listPath_ = path;
}

void CallList::setPhoneBook(const QString& path, const NumberPlan& plan, std::shared_ptr<const BookLookup> contacts,
    std::shared_ptr<BookCache> cache)
{
    if (cache)
        bookCache_ = std::move(cache);
    bookPath_ = path;
    bookPathSet_ = true;
    plan_ = plan;
    contacts_ = std::move(contacts);
    bookCache_->prefetch(bookPath(), plan_); // read before the first call asks
}

void CallList::setDialPrefix(const QString& prefix)
{
    dialPrefix_ = prefix;
}

QString CallList::listPath() const
{
    return listPath_.isEmpty() ? ProgramFolder::filePath(QStringLiteral("list.txt")) : listPath_;
}

QString CallList::bookPath() const
{
    return bookPathSet_ ? bookPath_ : BookFile::defaultPath();
}
