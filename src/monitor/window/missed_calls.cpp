#include "monitor/window/missed_calls.h"

#include "monitor/engine/missed_count.h"

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
} // namespace

MissedCalls::MissedCalls(MissedCount& count, QWidget& window)
    : QObject(&window), count_(count), window_(window), title_(monitorTitle())
{
    window.installEventFilter(this);
    connect(&count, &MissedCount::changed, this, &MissedCalls::show);
}

int MissedCalls::count() const
{
    return count_.count();
}

QString MissedCalls::titled(const QString& title, int count)
{
    return count > 0 ? tr("%1 (%2 missed)").arg(title).arg(count) : title;
}

void MissedCalls::setTitle(const QString& title)
{
    title_ = title;
    show();
}

void MissedCalls::show()
{
    window_.setWindowTitle(titled(title_, count()));
    if (auto* tray = window_.findChild<QSystemTrayIcon*>())
        tray->setToolTip(titled(title_, count()));
}

bool MissedCalls::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window_ && event->type() == QEvent::WindowActivate)
        count_.looked();
    return QObject::eventFilter(watched, event);
}
