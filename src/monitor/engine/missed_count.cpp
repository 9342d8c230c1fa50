#include "monitor/engine/missed_count.h"

#include "monitor/engine/call_history.h"
#include "monitor/engine/call_list.h"
#include "monitor/engine/clock.h"

namespace {
const QString kStampFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
}

MissedCount::MissedCount(const CallList& list, Clock& clock, QObject* parent)
    : QObject(parent), list_(list), clock_(clock), since_(clock.now().toString(kStampFormat))
{
    connect(&list, &CallList::changed, this, &MissedCount::recount);
}

void MissedCount::looked()
{
    since_ = clock_.now().toString(kStampFormat);
    recount();
}

void MissedCount::recount()
{
    if (const int n = callhistory::missedSince(list_.records(), since_); n != count_) {
        count_ = n;
        emit changed(n);
    }
}
