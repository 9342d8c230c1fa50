#include "monitor/window/caller_notification.h"
#include "common/settings_keys.h"

#include "common/settings_store.h"
#include "monitor/outputs/desktop_notifier.h"

std::pair<QString, QString> callerNotificationText(const QString& name, const QString& number, const QString& msn)
{
    const QString caller = number.isEmpty() ? DesktopNotifier::tr("Unknown number") : number;
    // A whole sentence without name and number, so a translation can inflect it.
    const QString title = !name.isEmpty()    ? CallerNotifier::tr("Call from %1").arg(name)
                          : number.isEmpty() ? CallerNotifier::tr("Call from Unknown number")
                                             : CallerNotifier::tr("Call from %1").arg(number);
    QString body;
    if (!name.isEmpty())
        body = caller + u'\n';
    body += msn.isEmpty() || msn == QLatin1String("UNKNOWN") ? CallerNotifier::tr("to your line")
                                                             : CallerNotifier::tr("to MSN %1").arg(msn);
    return {title, body};
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
    if (settings_.isOne(key::Notify))
        desktop_->notify(event, picture);
}

void CallerNotifier::toTray(const CallEvent& event)
{
    const auto [title, body] = callerNotificationText(event.name, event.number, event.msn);
    if (tray_)
        tray_(title, body);
}
