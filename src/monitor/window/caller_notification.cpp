#include "monitor/window/caller_notification.h"

CallerNotice announcedCaller(const std::array<QString, 6>& before, const std::array<QString, 6>& after,
                             const QString& shownCaller)
{
    for (int pair = 0; pair < 3; ++pair) {
        const int i = pair * 2;
        if (before[i] != after[i] || before[i + 1] != after[i + 1])
            return {after[i], after[i + 1]};
    }
    for (int pair = 0; pair < 3; ++pair) {
        const int i = pair * 2;
        if (!shownCaller.isEmpty() && after[i] == shownCaller)
            return {after[i], after[i + 1]};
    }
    return {shownCaller, {}};
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
