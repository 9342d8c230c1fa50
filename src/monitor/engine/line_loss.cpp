// The adapter went away while monitoring (unplugged, powered off, ser2net
// gone). Its calls cannot be followed any more: each call in progress is ended
// and logged now, as if the network had ended it at the moment of the loss,
// and nothing of the old line is carried over to the adapter that comes back.
#include "monitor/engine/monitor_engine.h"

void MonitorEngine::lineLost()
{
    trace_.xout(QStringLiteral("ADAPTER LOST: ENDING THE CALLS IN PROGRESS\r\n"));
    Timer1_Timer(); // durations up to this moment
    CallWaiting = 0; // a waiting call is gone with the line
    for (int index = 0; index < int(IdRecords.size()); ++index) {
        IdRecord& r = IdRecords[index];
        const Channel ch = channelOf(r);
        if (ch == Channel::None)
            continue;
        const ChannelSide s = side(ch);
        if (s.inUse == 0 && s.connected == 0 && s.ringing == 0)
            continue;
        tei_ = index + 1;
        terminationStep(r);
    }
    for (const Channel ch : {Channel::A, Channel::B}) {
        const ChannelSide s = side(ch);
        if (s.endTimer.isActive())
            endOfCall(s); // logged now, not after the end-of-call delay
    }
    IdRecords.fill(IdRecord{});
    capture_.clear(); // a line cut off by the loss
    notifyDisplay();
}
