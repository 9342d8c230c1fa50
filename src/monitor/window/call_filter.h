#pragma once
// The call list as FlexGrid1 shows it: the records that match the search
// field and the "Missed" toggle, in the list's own order (the grid sorts the
// list itself). Which records match is the core's (call_history.h); calls
// from callers on the ignore list can be hidden.
#include "monitor/engine/call_history.h"
#include "phonebook/ignore_list.h"

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
    // The monitor's ignore list, and whether the calls of its callers show.
    void setIgnored(const IgnoreList& list);
    void setShowIgnored(bool on);
    // The places of callers without a name, which the search finds too.
    void setPlaces(callhistory::PlaceOf places);
    bool active() const { return missedOnly_ || !words_.isEmpty() || (!showIgnored_ && !ignored_.isEmpty()); }

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
    IgnoreList ignored_;
    bool showIgnored_ = true;
    callhistory::PlaceOf places_;
};
