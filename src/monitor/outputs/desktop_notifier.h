#pragma once
// The desktop notification of an announced caller through the freedesktop
// notification service (org.freedesktop.Notifications on the session bus), so
// desktops without a system tray show it too. The summary names the caller,
// the body the number, the MSN called and the channel; the caller's picture is
// the image, and each call's notification replaces the one before. When no
// service answers, unavailable() lets the window fall back to its tray.
#include "monitor/engine/call_event.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

class DesktopNotifier : public QObject {
    Q_OBJECT
public:
    static constexpr int kReplyTimeoutMs = 5000;

    // On the user's session bus.
    explicit DesktopNotifier(QObject* parent = nullptr);
    DesktopNotifier(const QDBusConnection& bus, QObject* parent = nullptr);

    // Sends the notification without waiting for the answer. `picture` is a
    // file (a relative one in the program folder) or "" for none.
    void notify(const CallEvent& event, const QString& picture);

    static QString summary(const CallEvent& event);
    static QString body(const CallEvent& event);
    // The notification's image: a file:// address of the picture, else of
    // noname.jpg, else "" when neither exists.
    static QString imageAddress(const QString& picture);

signals:
    // The service shows the event as notification `id` (the same id when it
    // replaced the previous call's).
    void shown(uint id);
    // No notification service took the event (none on the bus, no bus).
    void unavailable(const CallEvent& event);

private:
    QDBusConnection bus_;
    uint lastId_ = 0; // the previous call's notification, replaced by the next
};
