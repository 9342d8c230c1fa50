#include "monitor/window/caller_notification.h"

#include "common/settings_store.h"
#include "monitor/outputs/desktop_notifier.h"

CallerNotice announcedCaller(const std::array<QString, 6>& before, const std::array<QString, 6>& after,
                             const QString& shownCaller)
{
    static const QChar channels[3] = {u'A', u'B', QChar()};
    for (int pair = 0; pair < 3; ++pair) {
        const int i = pair * 2;
        if (before[i] != after[i] || before[i + 1] != after[i + 1])
            return {after[i], after[i + 1], channels[pair]};
    }
    for (int pair = 0; pair < 3; ++pair) {
        const int i = pair * 2;
        if (!shownCaller.isEmpty() && after[i] == shownCaller)
            return {after[i], after[i + 1], channels[pair]};
    }
    return {shownCaller, {}, {}};
}

std::pair<QString, QString> callerNotificationText(const QString& name, const QString& number, const QString& msn)
{
    const QString caller = number.isEmpty() ? QStringLiteral("Unknown number") : number;
    const QString title = name.isEmpty() ? QStringLiteral("Call from %1").arg(caller)
                                         : QStringLiteral("Call from %1").arg(name);
    QString body;
    if (!name.isEmpty())
        body = caller + u'\n';
    body += msn.isEmpty() || msn == QLatin1String("UNKNOWN") ? QStringLiteral("to your line")
                                                             : QStringLiteral("to MSN %1").arg(msn);
    return {title, body};
}

CallEvent callerEvent(const CallerNotice& notice, const QString& name, const QDateTime& time)
{
    CallEvent e;
    e.kind = notice.channel.isNull() ? CallEvent::Kind::Waiting : CallEvent::Kind::Incoming;
    e.time = e.start = time;
    e.channel = notice.channel;
    e.msn = notice.msn;
    e.number = notice.number;
    e.name = name;
    return e;
}

CallerNotifier::CallerNotifier(SettingsStore& settings, TrayMessage tray, QObject* parent)
    : QObject(parent), settings_(settings), tray_(std::move(tray))
{
    setDesktopNotifier(new DesktopNotifier(this));
}

void CallerNotifier::setDesktopNotifier(DesktopNotifier* notifier)
{
    if (desktop_)
        disconnect(desktop_, nullptr, this, nullptr);
    desktop_ = notifier;
    connect(desktop_, &DesktopNotifier::unavailable, this, &CallerNotifier::toTray);
}

void CallerNotifier::announce(const CallEvent& event, const QString& picture)
{
    if (settings_.isOne(QStringLiteral("Notify")))
        desktop_->notify(event, picture);
}

void CallerNotifier::toTray(const CallEvent& event)
{
    const auto [title, body] = callerNotificationText(event.name, event.number, event.msn);
    if (tray_)
        tray_(title, body);
}
