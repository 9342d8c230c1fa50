#include "monitor/window/missed_calls.h"

#include "monitor/engine/call_history.h"
#include "monitor/engine/call_list.h"
#include "monitor/engine/clock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSystemTrayIcon>
#include <QWidget>

namespace {
// The monitor window's own title, which the count follows.
QString monitorTitle()
{
    return QCoreApplication::translate("FormMonitor", "Call Monitor");
}
const QString kStampFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
} // namespace

MissedCalls::MissedCalls(const CallList& list, Clock& clock, QWidget& window)
    : QObject(&window), list_(list), clock_(clock), window_(window)
{
    since_ = clock_.now().toString(kStampFormat);
    window.installEventFilter(this);
    connect(&list, &CallList::changed, this, &MissedCalls::recount);
}

void MissedCalls::looked()
{
    since_ = clock_.now().toString(kStampFormat);
    recount();
}

QString MissedCalls::titled(const QString& title, int count)
{
    return count > 0 ? tr("%1 (%2 missed)").arg(title).arg(count) : title;
}

void MissedCalls::recount()
{
    const int n = callhistory::missedSince(list_.records(), since_);
    if (n == count_)
        return;
    count_ = n;
    show();
    emit changed(n);
}

void MissedCalls::show()
{
    window_.setWindowTitle(titled(monitorTitle(), count_));
    if (auto* tray = window_.findChild<QSystemTrayIcon*>())
        tray->setToolTip(titled(monitorTitle(), count_));
}

bool MissedCalls::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window_ && event->type() == QEvent::WindowActivate)
        looked();
    return QObject::eventFilter(watched, event);
}
