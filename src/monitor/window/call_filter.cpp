#include "monitor/window/call_filter.h"

#include "monitor/engine/call_list.h"
#include "monitor/window/call_list_model.h"

namespace {

// What people type between the digits of a number.
QString withoutSeparators(const QString& word)
{
    QString out = word;
    out.remove(u'-');
    out.remove(u'/');
    out.remove(u'.');
    return out;
}

bool wordFound(const CallRecord& r, const QString& word)
{
    for (const QString* f : {&r.name, &r.msn, &r.type})
        if (f->contains(word, Qt::CaseInsensitive))
            return true;
    return r.number.contains(word, Qt::CaseInsensitive) || r.number.contains(withoutSeparators(word));
}

} // namespace

CallFilter::CallFilter(QObject* parent) : QSortFilterProxyModel(parent)
{
    setDynamicSortFilter(true);
}

void CallFilter::setCallList(CallListModel* list)
{
    list_ = list;
    setSourceModel(list);
}

QStringList CallFilter::searchWords(const QString& text)
{
    // "030 1234" is found in 0301234567 as two words.
    return text.simplified().split(u' ', Qt::SkipEmptyParts);
}

bool CallFilter::isMissed(const CallRecord& r)
{
    return r.type == QLatin1String("Ring") || r.type == QLatin1String("Ring*");
}

bool CallFilter::accepts(const CallRecord& r, const QStringList& words, bool missedOnly)
{
    if (missedOnly && !isMissed(r))
        return false;
    for (const QString& w : words)
        if (!wordFound(r, w))
            return false;
    return true;
}

void CallFilter::setSearchText(const QString& text)
{
    const QStringList words = searchWords(text);
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
    return sourceRow >= 0 && sourceRow < records.size() && accepts(records[sourceRow], words_, missedOnly_);
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
