#include "monitor/window/call_filter.h"

#include "monitor/engine/call_history.h"
#include "monitor/engine/call_list.h"
#include "monitor/window/call_list_model.h"

CallFilter::CallFilter(QObject* parent) : QSortFilterProxyModel(parent)
{
    setDynamicSortFilter(true);
}

void CallFilter::setCallList(CallListModel* list)
{
    list_ = list;
    setSourceModel(list);
}

void CallFilter::setSearchText(const QString& text)
{
    const QStringList words = callhistory::searchWords(text);
    if (words == words_)
        return;
    words_ = words;
    refilter();
}

void CallFilter::setMissedOnly(bool on)
{
    if (on == missedOnly_)
        return;
    missedOnly_ = on;
    refilter();
}

void CallFilter::setIgnored(const IgnoreList& list)
{
    if (list == ignored_)
        return;
    ignored_ = list;
    refilter();
}

void CallFilter::setShowIgnored(bool on)
{
    if (on == showIgnored_)
        return;
    showIgnored_ = on;
    refilter();
}

void CallFilter::setPlaces(callhistory::PlaceOf places)
{
    places_ = std::move(places);
    if (!words_.isEmpty())
        refilter();
}

void CallFilter::refilter()
{
    invalidateFilter();
}

bool CallFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (!list_ || sourceParent.isValid() || !active())
        return true;
    const QList<CallRecord>& records = list_->list().records();
    if (sourceRow < 0 || sourceRow >= records.size())
        return false;
    const CallRecord& r = records[sourceRow];
    return callhistory::accepts(r, words_, missedOnly_, places_) && (showIgnored_ || !ignored_.matches(r.number));
}

QList<int> CallFilter::shownRows() const
{
    QList<int> rows;
    const int n = rowCount();
    rows.reserve(n);
    for (int i = 0; i < n; ++i)
        rows << sourceRow(i);
    return rows;
}

int CallFilter::sourceRow(int shownRow) const
{
    return mapToSource(index(shownRow, 0)).row();
}

int CallFilter::shownRow(int sourceRow) const
{
    return list_ ? mapFromSource(list_->index(sourceRow, 0)).row() : -1;
}
