#pragma once
// The desktop notification of an announced caller: who calls, from which
// number, on which of the user's MSNs.
#include <QString>
#include <array>
#include <utility>

struct CallerNotice {
    QString number; // caller's number as announced
    QString msn;    // the MSN called, "UNKNOWN" when the network did not say
};

// The announcement's caller from the caller-ID values before and after the
// announcing frame (CidCallerA, CidCalledA, CidCallerB, CidCalledB,
// CidCallerBusy, CidCalledBusy): the pair that changed, else the pair whose
// caller is the one shown (the same caller again on the same channel).
CallerNotice announcedCaller(const std::array<QString, 6>& before, const std::array<QString, 6>& after,
                             const QString& shownCaller);

// Title and body of the notification.
std::pair<QString, QString> callerNotificationText(const QString& name, const QString& number, const QString& msn);
