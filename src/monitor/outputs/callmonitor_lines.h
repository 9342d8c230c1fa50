#pragma once
// The lines of the port-1012 call-monitor protocol that home-automation
// systems and small apps read:
//   date;RING;id;callerNumber;calledMsn;line;
//   date;CALL;id;extension;ownNumber;calledNumber;line;
//   date;CONNECT;id;extension;number;
//   date;DISCONNECT;id;durationSeconds;
// date is "DD.MM.YY HH:MM:SS", id the connection: 0 for channel A, 1 for B,
// 2 for a caller waiting while both are busy. An outgoing call's number is
// dialled digit by digit after the call began, so its CALL line comes when the
// call connects or ends, whichever is first, with every digit dialled.
#include "monitor/engine/call_event.h"

#include <QByteArray>
#include <QList>
#include <array>

class CallMonitorLines {
public:
    static constexpr char kExtension[] = "4"; // the phones on the ISDN bus, as one port
    static constexpr char kLine[] = "ISDN";
    static constexpr int kWaitingId = 2;

    // The lines (without CR LF) one call event makes; often none.
    QList<QByteArray> linesFor(const CallEvent& event);

private:
    std::array<bool, 2> callPending_{}; // per channel: an outgoing call whose CALL line is still to come
};
