#include "monitor/window/call_list_model.h"

#include "monitor/engine/call_list.h"

CallListModel::CallListModel(CallList& list, QObject* parent) : QAbstractTableModel(parent), list_(list)
{
    connect(&list, &CallList::recordsAboutToBeInserted, this,
        [this](int first, int last) { beginInsertRows({}, first, last); });
    connect(&list, &CallList::recordsInserted, this, &CallListModel::endInsertRows);
    connect(&list, &CallList::recordsAboutToBeRemoved, this,
        [this](int first, int last) { beginRemoveRows({}, first, last); });
    connect(&list, &CallList::recordsRemoved, this, &CallListModel::endRemoveRows);
    connect(&list, &CallList::recordsAboutToBeReset, this, &CallListModel::beginResetModel);
    connect(&list, &CallList::recordsReset, this, &CallListModel::endResetModel);
}

int CallListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : list_.count();
}

int CallListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : CallList::kColumns;
}

QVariant CallListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= list_.count() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const QString* f = CallList::field(list_.records()[index.row()], index.column());
    return f ? QVariant(*f) : QVariant();
}

QVariant CallListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= CallList::kColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    return tr(CallList::headers().at(section).toLatin1().constData());
}

bool CallListModel::removeRows(int row, int count, const QModelIndex& parent)
{
    return !parent.isValid() && list_.remove(row, count);
}
