#pragma once
// The desktop notification of an announced caller through the freedesktop
// notification service (org.freedesktop.Notifications on the session bus), so
// desktops without a system tray show it too. The summary names the caller
// (an unknown one by the number and its place, a premium-rate number flagged),
// the body the number, the MSN called and the channel; the caller's picture is
// the image, and each call's notification replaces the one before. When no
// service answers, the same title and body go to the fallback (the window's
// tray), so both say the same words. The notification's default action (a
// click on it) asks for the monitor window; the ringing call's notification is
// withdrawn when the ringing stops, and a call nobody answered leaves a
// notice of its own ("Missed call").
#include "monitor/outputs/call_output.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>

class DesktopNotifier : public QObject, public CallOutput {
    Q_OBJECT
public:
    static constexpr int kReplyTimeoutMs = 5000;
    using Fallback = std::function<void(const QString& title, const QString& body)>;

    // On the user's session bus.
    explicit DesktopNotifier(QObject* parent = nullptr);
    DesktopNotifier(const QDBusConnection& bus, QObject* parent = nullptr);

    // Where a notification goes that no service took; none: it is dropped.
    void setFallback(Fallback fallback) { fallback_ = std::move(fallback); }
    // An announced caller (Incoming, Waiting), with the picture the tracker
    // found; RingEnded withdraws it, a missed call (Ended) leaves its notice.
    void callEvent(const CallEvent& event) override;

    // Sends the notification without waiting for the answer. `picture` is a
    // file (a relative one in the program folder) or "" for none.
    void notify(const CallEvent& event, const QString& picture);

    // The title and body of the notice of a missed call.
    static QString missedSummary(const CallEvent& event);
    static QString missedBody(const CallEvent& event);

    // The title and body of a caller notification, on the bus and in the tray.
    static QString summary(const CallEvent& event);
    static QString body(const CallEvent& event);
    // The notification's image: a file:// address of the picture, else of
    // noname.jpg, else "" when neither exists.
    static QString imageAddress(const QString& picture);

signals:
    // The service shows the event as notification `id` (the same id when it
    // replaced the previous call's).
    void shown(uint id);
    // The user clicked one of our notifications: show the monitor.
    void activated();

private slots:
    void actionInvoked(uint id, const QString& action);

private:
    void send(const QString& title, const QString& body, const QString& picture, uint replaces,
        const std::function<void(uint id)>& done);
    void withdraw();

    QDBusConnection bus_;
    Fallback fallback_;
    uint lastId_ = 0;      // the previous call's notification, replaced by the next
    bool ringing_ = false; // lastId_ is a caller's still ringing
    QList<uint> ours_;     // ids whose click shows the monitor (the latest few)
};
