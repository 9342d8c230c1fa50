#include "monitor/window/grid_sort.h"

#include "common/regional.h"
#include "monitor/engine/call_list.h"

#include <algorithm>
#include <optional>

namespace gridsort {

int& SortState()
{
    static int state = 0;
    return state;
}

QString field(const CallRecord& r, int column)
{
    switch (column) {
    case 0: return r.msn;
    case 1: return r.type;
    case 2: return r.date;
    case 3: return r.time;
    case 4: return r.number;
    case 5: return r.name;
    case 6: return r.duration;
    case 7: return r.cost;
    default: return {};
    }
}

namespace {

// < 0, 0, > 0 as the sort direction reads it; a cell that is not a number
// always ends up below the numbers, whichever way the list is sorted.
int compareNumeric(const QString& a, const QString& b, bool descending)
{
    const std::optional<double> x = regional::toNumber(a);
    const std::optional<double> y = regional::toNumber(b);
    const int below = descending ? -1 : 1; // "a comes after b"
    if (!x && !y)
        return 0;
    if (!x)
        return below;
    if (!y)
        return -below;
    return *x < *y ? -1 : (*x > *y ? 1 : 0);
}

int compareText(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseSensitive);
}

} // namespace

void sortRecords(QList<CallRecord>& records, int column, bool descending)
{
    column = std::clamp(column, 0, kCostColumn);
    const bool numeric = column == kCostColumn;
    std::stable_sort(records.begin(), records.end(), [&](const CallRecord& l, const CallRecord& r) {
        for (int c = column; c <= kCostColumn; ++c) {
            const int cmp = numeric ? compareNumeric(field(l, c), field(r, c), descending)
                                    : compareText(field(l, c), field(r, c));
            if (cmp != 0)
                return descending ? cmp > 0 : cmp < 0;
        }
        return false;
    });
}

bool headerClick(QList<CallRecord>& records, int column)
{
    int& state = SortState();
    if (state != kAscending && state != kDescending)
        state = kAscending;
    const bool descending = state == kAscending;
    sortRecords(records, column, descending);
    state = descending ? kDescending : kAscending;
    return descending;
}

} // namespace gridsort
