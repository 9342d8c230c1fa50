#include "monitor/outputs/desktop_notifier.h"

#include "monitor/outputs/place_text.h"

#include "common/program_folder.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kNotifyMethod = QStringLiteral("Notify");
const QString kCloseMethod = QStringLiteral("CloseNotification");
const QString kDefaultAction = QStringLiteral("default");
constexpr int kOursKept = 16;
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
    if (e.number.isEmpty())
        return DesktopNotifier::tr("Unknown number");
    return e.groupedNumber.isEmpty() ? e.number : e.groupedNumber;
}

} // namespace

DesktopNotifier::DesktopNotifier(QObject* parent) : DesktopNotifier(QDBusConnection::sessionBus(), parent)
{
}

DesktopNotifier::DesktopNotifier(const QDBusConnection& bus, QObject* parent) : QObject(parent), bus_(bus)
{
    if (bus_.isConnected())
        bus_.connect(
            kService, kPath, kService, QStringLiteral("ActionInvoked"), this, SLOT(actionInvoked(uint, QString)));
}

void DesktopNotifier::actionInvoked(uint id, const QString& action)
{
    if (action == kDefaultAction && ours_.contains(id))
        emit activated();
}

QString DesktopNotifier::missedSummary(const CallEvent& event)
{
    return tr("Missed call from %1").arg(summary(event));
}

QString DesktopNotifier::missedBody(const CallEvent& event)
{
    const QString at = QLocale().toString(event.start.time(), QLocale::ShortFormat);
    return event.number.isEmpty() || event.name.isEmpty() ? tr("at %1").arg(at) : tr("%1, at %2").arg(event.number, at);
}

QString DesktopNotifier::summary(const CallEvent& event)
{
    if (!event.name.isEmpty())
        return event.name;
    if (event.numberKind == NumberKind::PremiumRate)
        return tr("Premium-rate number %1").arg(callerOf(event));
    const QString place = PlaceText::caller(event.place, event.numberKind);
    return place.isEmpty() ? callerOf(event) : tr("%1 (%2)", "number (place)").arg(callerOf(event), place);
}

QString DesktopNotifier::body(const CallEvent& event)
{
    const QString msn = event.msn.isEmpty() || event.msn == QLatin1String("UNKNOWN") ? tr("your line")
                        : event.msnName.isEmpty()                                    ? tr("MSN %1").arg(event.msn)
                                                  : tr("MSN %1 (%2)").arg(event.msn, event.msnName);
    const QString channel = event.kind == CallEvent::Kind::Waiting || event.channel.isNull()
                                ? tr("waiting, both channels busy")
                                : tr("channel %1").arg(event.channel);
    const QString place = event.name.isEmpty() ? PlaceText::caller(event.place, event.numberKind) : QString();
    const QString caller = place.isEmpty() ? callerOf(event)
                                           : tr("%1 (%2)", "number (place)").arg(callerOf(event), place);
    if (event.name.isEmpty() && event.numberKind == NumberKind::PremiumRate)
        return tr("%1\ncalls %2, %3\nCalling it back costs extra.").arg(caller, msn, channel);
    return tr("%1\ncalls %2, %3").arg(caller, msn, channel);
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
    else if (event.kind == CallEvent::Kind::RingEnded)
        withdraw();
    else if (event.missed())
        send(missedSummary(event), missedBody(event), QString(), 0, {});
}

void DesktopNotifier::notify(const CallEvent& event, const QString& picture)
{
    send(summary(event), body(event), imageAddress(picture), lastId_, [this](uint id) {
        lastId_ = id;
        ringing_ = true;
        emit shown(id);
    });
}

// The ringing is over: its notification goes (a missed call has its own).
void DesktopNotifier::withdraw()
{
    if (!std::exchange(ringing_, false) || !bus_.isConnected() || lastId_ == 0)
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, kCloseMethod);
    call << lastId_;
    bus_.asyncCall(call, kReplyTimeoutMs);
}

void DesktopNotifier::send(const QString& title, const QString& body, const QString& image, uint replaces,
    const std::function<void(uint id)>& done)
{
    if (!bus_.isConnected()) {
        if (fallback_)
            fallback_(title, body);
        return;
    }
    QVariantMap hints{{QStringLiteral("desktop-entry"), kDesktopEntry}};
    if (!image.isEmpty())
        hints.insert(QStringLiteral("image-path"), image);
    const QStringList actions{kDefaultAction, tr("Show the call monitor")};
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, kNotifyMethod);
    call << kApplication << replaces << image << title << body.toHtmlEscaped() << actions << hints
         << kServerDefaultTimeout;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, kReplyTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, title, body, done] {
        const QDBusPendingReply<uint> reply = *watcher;
        if (reply.isError()) {
            if (fallback_)
                fallback_(title, body);
        } else {
            ours_.removeAll(reply.value());
            ours_.append(reply.value());
            if (ours_.size() > kOursKept)
                ours_.removeFirst();
            if (done)
                done(reply.value());
        }
        watcher->deleteLater();
    });
}
