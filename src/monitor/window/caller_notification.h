#pragma once
// The desktop notification of an announced caller: who calls, from which
// number, on which of the user's MSNs and channels. It goes to the desktop's
// notification service when "Notify" is on, and to the tray when no service
// answers; with neither, nothing is shown.
#include "monitor/engine/call_event.h"

#include <QObject>
#include <QString>
#include <functional>
#include <utility>

class DesktopNotifier;
class SettingsStore;

// Title and body of the tray's message.
std::pair<QString, QString> callerNotificationText(const QString& name, const QString& number, const QString& msn);

class CallerNotifier : public QObject {
    Q_OBJECT
public:
    using TrayMessage = std::function<void(const QString& title, const QString& body)>;

    CallerNotifier(SettingsStore& settings, TrayMessage tray, QObject* parent = nullptr);
    // Tests point the notifier at a private bus.
    void setDesktopNotifier(DesktopNotifier* notifier);

    // An announced caller (Incoming or Waiting) with the picture PhoneToName found.
    void announce(const CallEvent& event, const QString& picture);

private:
    void toTray(const CallEvent& event);

    SettingsStore& settings_;
    TrayMessage tray_;
    DesktopNotifier* desktop_ = nullptr;
};
