#include "phonebook/contact_table.h"

#include "common/regional.h"

#include <QCoreApplication>

#include <algorithm>
#include <optional>

namespace {

// The column titles, translated where shown (the window's context).
const char* const kTitles[ContactTable::ColumnCount] = {QT_TRANSLATE_NOOP("DialogpBook", "Name"),
    QT_TRANSLATE_NOOP("DialogpBook", "Phone 1"), QT_TRANSLATE_NOOP("DialogpBook", "Phone 2"),
    QT_TRANSLATE_NOOP("DialogpBook", "Mobile"), QT_TRANSLATE_NOOP("DialogpBook", "Other"),
    QT_TRANSLATE_NOOP("DialogpBook", "Other")};

int compareTexts(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseSensitive);
}

// Numbers by value; a number always goes before a cell that is not one,
// whichever the direction.
int compareNumbers(const QString& a, const QString& b, bool descending)
{
    const std::optional<double> x = regional::toNumber(a);
    const std::optional<double> y = regional::toNumber(b);
    if (x && y) {
        const int c = *x < *y ? -1 : (*x > *y ? 1 : 0);
        return descending ? -c : c;
    }
    if (x)
        return -1;
    if (y)
        return 1;
    return 0;
}

} // namespace

bool contactMatches(const BookEntry& e, const QString& text)
{
    const QString needle = text.trimmed();
    if (needle.isEmpty())
        return true;
    if (e.name.contains(needle, Qt::CaseInsensitive))
        return true;
    QString digits = needle;
    digits.remove(u' ');
    if (digits.isEmpty())
        return false;
    for (int c = ContactTable::Phone1; c <= ContactTable::Other; ++c)
        if (contactField(e, c).contains(digits))
            return true;
    return false;
}

int ContactTable::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int ContactTable::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ContactTable::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole || (role == Qt::ToolTipRole && index.column() == Picture)) {
        const QString& text = contactField(entries_.at(index.row()), index.column());
        return index.column() == Picture && pictureText_ ? pictureText_(text) : text;
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignVCenter | (index.column() == Picture ? Qt::AlignRight : Qt::AlignLeft));
    return {};
}

QVariant ContactTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return QCoreApplication::translate("DialogpBook", kTitles[section]);
    return {};
}

bool ContactTable::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > rowCount())
        return false;
    beginRemoveRows({}, row, row + count - 1);
    entries_.remove(row, count);
    endRemoveRows();
    return true;
}

void ContactTable::setEntries(QList<BookEntry> entries)
{
    beginResetModel();
    entries_ = std::move(entries);
    endResetModel();
}

void ContactTable::insertContact(int row, const BookEntry& entry)
{
    row = std::clamp(row, 0, rowCount());
    beginInsertRows({}, row, row);
    entries_.insert(row, entry);
    endInsertRows();
}

void ContactTable::replaceContact(int row, const BookEntry& entry)
{
    if (row < 0 || row >= rowCount())
        return;
    BookEntry& e = entries_[row];
    for (int c = Name; c <= Other; ++c)
        contactField(e, c) = contactField(entry, c);
    emit dataChanged(index(row, Name), index(row, Other));
}

void ContactTable::setPicture(int row, const QString& path)
{
    if (row < 0 || row >= rowCount())
        return;
    entries_[row].picture = path;
    emit dataChanged(index(row, Picture), index(row, Picture));
}

void ContactTable::reorder(const std::function<bool(const BookEntry&, const BookEntry&)>& less)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::stable_sort(entries_.begin(), entries_.end(), less);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ContactTable::sortByName()
{
    reorder([](const BookEntry& a, const BookEntry& b) { return compareTexts(a.name, b.name) < 0; });
}

void ContactTable::sortForSaving()
{
    reorder([](const BookEntry& a, const BookEntry& b) {
        for (int c = Name; c <= Other; ++c)
            if (const int r = compareTexts(contactField(a, c), contactField(b, c)))
                return r < 0;
        return false;
    });
}

void ContactTable::sortByTitle(int column, bool descending)
{
    column = std::clamp(column, static_cast<int>(Name), static_cast<int>(Other));
    reorder([column, descending](const BookEntry& a, const BookEntry& b) {
        for (int c = column; c <= Other; ++c) {
            const QString& x = contactField(a, c);
            const QString& y = contactField(b, c);
            int r = 0;
            if (c == Name)
                r = descending ? -compareTexts(x, y) : compareTexts(x, y);
            else
                r = compareNumbers(x, y, descending);
            if (r)
                return r < 0;
        }
        return false;
    });
}

void ContactTable::fillEmptyPictures()
{
    for (int r = 0; r < rowCount(); ++r)
        if (entries_[r].picture.size() < 2)
            setPicture(r, QStringLiteral("-"));
}
