// The adapter went away while monitoring (unplugged, powered off, ser2net
// gone). Its calls cannot be followed any more: each call in progress is ended
// and logged now, as if the network had ended it at the moment of the loss,
// and nothing of the old line is carried over to the adapter that comes back.
#include "monitor/engine/call_tracking.h"

void CallTracker::lineLost()
{
    state_.CallWaiting = 0; // a waiting call is gone with the line
    for (int index = 0; index < int(state_.IdRecords.size()); ++index) {
        IdRecord& r = state_.IdRecords[size_t(index)];
        const int ch = channelOf(r);
        if (ch == kNoChannel || channel(ch).phase == CallPhase::Idle)
            continue;
        tei_ = index + 1;
        terminationStep(r);
    }
    reportPhases(); // the channels idle before their calls end
    for (int ch = 0; ch < CallState::kChannels; ++ch)
        if (endTimers_[size_t(ch)]->isActive())
            endOfCall(ch); // logged now, not after the end-of-call delay
    state_.IdRecords.fill(IdRecord{});
}
