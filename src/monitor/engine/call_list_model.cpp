#include "monitor/engine/call_list_model.h"

#include "common/atomic_file.h"
#include "common/program_folder.h"
#include "common/regional.h"
#include "common/user_text.h"
#include "phonebook/book_file.h"
#include "phonebook/book_lookup.h"

#include <QDir>

namespace {

constexpr int kColumns = 8;
// Shorter lines (blank lines, stray fragments) are never records.
constexpr qsizetype kMinLineLength = 13;

QString* field(CallRecord& r, int column)
{
    QString* fields[kColumns] = {&r.msn, &r.type, &r.date, &r.time, &r.number, &r.name, &r.duration, &r.cost};
    return column >= 0 && column < kColumns ? fields[column] : nullptr;
}

const QString* field(const CallRecord& r, int column)
{
    return field(const_cast<CallRecord&>(r), column);
}

} // namespace

CallListModel::CallListModel(QObject* parent) : QAbstractTableModel(parent)
{
}

const QStringList& CallListModel::headers()
{
    static const QStringList h{QStringLiteral("MSN"), QStringLiteral("Type"), QStringLiteral("Date"),
        QStringLiteral("Time"), QStringLiteral("Number"), QStringLiteral("Name"), QStringLiteral("Duration"),
        QStringLiteral("Cost")};
    return h;
}

int CallListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(records_.size());
}

int CallListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant CallListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= records_.size() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const QString* f = field(records_[index.row()], index.column());
    return f ? QVariant(*f) : QVariant();
}

QVariant CallListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    return headers().at(section);
}

bool CallListModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > records_.size())
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    records_.remove(row, count);
    endRemoveRows();
    unsaved_ = true;
    return true;
}

void CallListModel::AddCall(
    QString Phn, QString Typ, QDate Dt, QString Tm, QString Number, QString Nam, QString Durat, QString Cost)
{
    Q_UNUSED(Nam) // the book decides the name, not the caller
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
        beginInsertRows({}, 0, 0);
        records_.prepend(
            CallRecord{Phn, Typ, Dt.toString(QStringLiteral("yyyy-MM-dd")), Tm, Number, name, Durat, Cost});
        endInsertRows();
    };
    QString lookup = Number;
    ++unsavedCalls_;
    unsaved_ = true;
    if (!writeThrough_) {
        prepend(PhoneToName(lookup, bookPath()));
        return;
    }
    const BookLookup book(bookPath()); // one read names the new call and every saved row
    prepend(book.nameFor(lookup));
    save(book);
}

void CallListModel::setWriteThrough(bool on)
{
    writeThrough_ = on;
}

QString CallListModel::toLine(const CallRecord& r)
{
    return QStringList{r.msn, r.type, r.date, r.time, r.number, r.name, r.duration, r.cost}.join(u'\t');
}

CallRecord CallListModel::fromLine(QStringView line)
{
    CallRecord r;
    int column = 0;
    for (QStringView part : line.tokenize(u'\t')) {
        if (QString* f = field(r, column++))
            *f = part.toString();
        else
            break;
    }
    return r;
}

bool CallListModel::SaveTheList()
{
    return save(BookLookup(bookPath())); // read once: every row sees the same book
}

bool CallListModel::save(const BookLookup& book)
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

bool CallListModel::readAgain()
{
    bool readable = true;
    const QString text = usertext::readFile(listPath(), &readable);
    if (readable)
        appendLines(text); // the file's records are older than every call kept meanwhile
    return readable;
}

void CallListModel::ReadTheList()
{
    bool readable = true;
    const QString text = usertext::readFile(listPath(), &readable);
    setFileState(!readable, saveFailed_);
    appendLines(text);
}

void CallListModel::appendLines(const QString& text)
{
    QList<CallRecord> added;
    usertext::forEachLine(text, [&](QStringView line) {
        if (line.size() >= kMinLineLength)
            added.append(fromLine(line));
        return false;
    });
    if (added.isEmpty())
        return;
    beginInsertRows({}, int(records_.size()), int(records_.size() + added.size() - 1));
    records_.append(added);
    endInsertRows();
}

CallListModel::FileProblem CallListModel::fileProblem() const
{
    if (unreadable_)
        return FileProblem::Unreadable;
    return saveFailed_ ? FileProblem::NotSaved : FileProblem::None;
}

QString CallListModel::fileProblemText() const
{
    const QString file = QDir::toNativeSeparators(listPath());
    switch (fileProblem()) {
    case FileProblem::Unreadable:
        return QStringLiteral("%1 could not be read: it is left as it is, new calls are kept in memory only").arg(file);
    case FileProblem::NotSaved: return QStringLiteral("Calls not saved: %1 could not be written").arg(file);
    case FileProblem::None: break;
    }
    return {};
}

QString CallListModel::unsavedCallsText() const
{
    if (unsavedCalls_ == 0)
        return {};
    const QString file = QDir::toNativeSeparators(listPath());
    return QStringLiteral("%1 %2 not saved: %3 could not be %4")
        .arg(unsavedCalls_)
        .arg(unsavedCalls_ == 1 ? QStringLiteral("call") : QStringLiteral("calls"), file,
            unreadable_ ? QStringLiteral("read") : QStringLiteral("written"));
}

void CallListModel::setFileState(bool unreadable, bool saveFailed)
{
    if (unreadable == unreadable_ && saveFailed == saveFailed_)
        return;
    unreadable_ = unreadable;
    saveFailed_ = saveFailed;
    emit fileProblemChanged();
}

void CallListModel::clearRows()
{
    beginResetModel();
    records_.clear();
    endResetModel();
    unsaved_ = false;
    unsavedCalls_ = 0;
}

const QList<CallRecord>& CallListModel::records() const
{
    return records_;
}

void CallListModel::setRecords(QList<CallRecord> records)
{
    beginResetModel();
    records_ = std::move(records);
    endResetModel();
}

void CallListModel::setListPath(const QString& path)
{
    listPath_ = path;
}

void CallListModel::setBookPath(const QString& path)
{
    bookPath_ = path;
    bookPathSet_ = true;
}

void CallListModel::setDialPrefix(const QString& prefix)
{
    dialPrefix_ = prefix;
}

QString CallListModel::listPath() const
{
    return listPath_.isEmpty() ? ProgramFolder::filePath(QStringLiteral("list.txt")) : listPath_;
}

QString CallListModel::bookPath() const
{
    return bookPathSet_ ? bookPath_ : BookFile::defaultPath();
}
