#pragma once
// The call list as FlexGrid1 shows it: the records that match the search
// field and the "Missed" toggle, in the list's own order (the grid sorts the
// list itself). Which records match is the core's (call_history.h).
#include <QSortFilterProxyModel>
#include <QStringList>

class CallListModel;

class CallFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit CallFilter(QObject* parent = nullptr);

    void setCallList(CallListModel* list);
    void setSearchText(const QString& text);
    void setMissedOnly(bool on);
    bool missedOnly() const { return missedOnly_; }
    bool active() const { return missedOnly_ || !words_.isEmpty(); }

    // The list rows shown, top to bottom.
    QList<int> shownRows() const;
    int sourceRow(int shownRow) const;
    int shownRow(int sourceRow) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    void refilter();

    CallListModel* list_ = nullptr;
    QStringList words_;
    bool missedOnly_ = false;
};
