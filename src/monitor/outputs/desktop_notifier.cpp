#include "monitor/outputs/desktop_notifier.h"

#include "common/program_folder.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kNotifyMethod = QStringLiteral("Notify");
const QString kApplication = QStringLiteral("ISDN Corvane");
const QString kDesktopEntry = QStringLiteral("corvane"); // corvane.desktop
constexpr int kServerDefaultTimeout = -1;

QString existingFile(const QString& name)
{
    if (name.size() < 2) // "-" or empty: no picture
        return {};
    const QString path = QDir::isAbsolutePath(name) ? name : ProgramFolder::filePath(name);
    return QFileInfo(path).isFile() ? QFileInfo(path).absoluteFilePath() : QString();
}

QString callerOf(const CallEvent& e)
{
    return e.number.isEmpty() ? DesktopNotifier::tr("Unknown number") : e.number;
}

} // namespace

DesktopNotifier::DesktopNotifier(QObject* parent) : DesktopNotifier(QDBusConnection::sessionBus(), parent)
{
}

DesktopNotifier::DesktopNotifier(const QDBusConnection& bus, QObject* parent) : QObject(parent), bus_(bus)
{
}

QString DesktopNotifier::summary(const CallEvent& event)
{
    return event.name.isEmpty() ? callerOf(event) : event.name;
}

QString DesktopNotifier::body(const CallEvent& event)
{
    const QString msn = event.msn.isEmpty() || event.msn == QLatin1String("UNKNOWN") ? tr("your line")
                        : event.msnName.isEmpty()                                    ? tr("MSN %1").arg(event.msn)
                                                  : tr("MSN %1 (%2)").arg(event.msn, event.msnName);
    const QString channel = event.kind == CallEvent::Kind::Waiting || event.channel.isNull()
                                ? tr("waiting, both channels busy")
                                : tr("channel %1").arg(event.channel);
    return tr("%1\ncalls %2, %3").arg(callerOf(event), msn, channel);
}

QString DesktopNotifier::imageAddress(const QString& picture)
{
    QString file = existingFile(picture);
    if (file.isEmpty())
        file = existingFile(QStringLiteral("noname.jpg"));
    return file.isEmpty() ? QString() : QUrl::fromLocalFile(file).toString();
}

void DesktopNotifier::callEvent(const CallEvent& event)
{
    if (event.kind == CallEvent::Kind::Incoming || event.kind == CallEvent::Kind::Waiting)
        notify(event, event.picture);
}

void DesktopNotifier::toFallback(const CallEvent& event)
{
    if (fallback_)
        fallback_(summary(event), body(event));
}

void DesktopNotifier::notify(const CallEvent& event, const QString& picture)
{
    if (!bus_.isConnected())
        return toFallback(event);
    const QString image = imageAddress(picture);
    QVariantMap hints{{QStringLiteral("desktop-entry"), kDesktopEntry}};
    if (!image.isEmpty())
        hints.insert(QStringLiteral("image-path"), image);
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, kNotifyMethod);
    call << kApplication << lastId_ << image << summary(event) << body(event).toHtmlEscaped() << QStringList() << hints
         << kServerDefaultTimeout;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, kReplyTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, event] {
        const QDBusPendingReply<uint> reply = *watcher;
        if (reply.isError()) {
            toFallback(event);
        } else {
            lastId_ = reply.value();
            emit shown(lastId_);
        }
        watcher->deleteLater();
    });
}
