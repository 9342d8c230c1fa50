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

void CallFilter::refilter()
{
    invalidateFilter();
}

bool CallFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (!list_ || sourceParent.isValid() || !active())
        return true;
    const QList<CallRecord>& records = list_->list().records();
    return sourceRow >= 0 && sourceRow < records.size()
           && callhistory::accepts(records[sourceRow], words_, missedOnly_);
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
