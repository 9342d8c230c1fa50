#pragma once
// Sorting of the call list by a header click: the clicked column decides and
// the columns after it break ties; "Cost" compares as numbers, every other
// column as case-sensitive text. The direction alternates with every click
// for as long as the program runs (SortState), whichever column is clicked.
#include <QList>
#include <QString>

struct CallRecord;

namespace gridsort {

constexpr int kCostColumn = 7;
constexpr int kAscending = 7;  // SortState after an ascending sort
constexpr int kDescending = 8; // SortState after a descending sort

// SortState: 0 (unset) until the first header click of the program's life.
int& SortState();

QString field(const CallRecord& r, int column);

// Sorts by columns column..7; numeric for the "Cost" column, where cells that
// are not numbers stay below every number in either direction. Stable.
void sortRecords(QList<CallRecord>& records, int column, bool descending);

// A header click on `column`: sorts and flips SortState. Returns whether the
// sort was descending.
bool headerClick(QList<CallRecord>& records, int column);

} // namespace gridsort
