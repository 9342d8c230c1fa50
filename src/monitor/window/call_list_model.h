#pragma once
// FlexGrid1's model: the call list as a Qt table of eight columns under the
// list's titles. A view only: the records, their file and their names stay
// in the CallList (monitor/engine/call_list.h), which the engine fills.
#include <QAbstractTableModel>

class CallList;

class CallListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CallListModel(CallList& list, QObject* parent = nullptr);

    CallList& list() const { return list_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

private:
    CallList& list_;
};
