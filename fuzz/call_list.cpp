// list.txt as the call list reads it. Written back and read again it gives
// the same rows: the writer names each number afresh from the book (none
// here, so names come back empty), and the reader skips lines of 12
// characters or fewer, which no written record is.
#include "fuzz_entry.h"

#include "monitor/engine/call_list.h"

namespace {

constexpr qsizetype kShortestLine = 13; // list.txt lines shorter than this are skipped

void callList(const QByteArray& data)
{
    const QString path = fuzz::scratchPath(QStringLiteral("list.txt"));
    fuzz::writeScratch(path, data);
    CallList model;
    model.setListPath(path);
    model.setPhoneBook(fuzz::scratchPath(QStringLiteral("no-book.txt")), {});
    model.ReadTheList();
    QList<CallRecord> expected;
    for (CallRecord r : model.records()) {
        r.name.clear();
        if (CallList::toLine(r).size() >= kShortestLine)
            expected << r;
    }
    FUZZ_CHECK(model.SaveTheList());
    model.clearRows();
    model.ReadTheList();
    FUZZ_CHECK(model.records() == expected);
}

} // namespace

CORVANE_FUZZ_HARNESS("call_list", callList)
