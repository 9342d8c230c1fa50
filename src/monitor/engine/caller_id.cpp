// The caller-ID announcement: a call offered to all terminals (group TEI) is
// announced, its numbers kept per channel for the ringing display, and
// optionally logged as "CID".
#include "monitor/engine/call_tracking.h"
#include "monitor/engine/time_texts.h"

#include "common/dss1_codes.h"
#include "common/regional.h"
#include "monitor/engine/call_list.h"
#include "monitor/engine/monitor_host.h"

void CallTracker::callerIdStage(const ElementResults& res)
{
    if (trace_.info())
        xout(QStringLiteral("Storing info in CALLER_ID Location\r\n"));
    if (res.channel.isEmpty())
        return;
    // An ignored caller is logged as any other, but nothing announces it.
    const bool ignored = inputs_.ignored.matches(res.caller);
    if (host_ && !ignored)
        announceCaller(*host_, inputs_, view_);
    xout(QLatin1String("CALLER ID B-CHANNEL   : "), res.channel, QLatin1String("\r\n"));
    state_.lastCaller = res.caller;
    state_.lastCallerPlace = {};
    displayDirty_ = true;

    const QString timeText = regional::longTime(clock_.now().time());
    if (const int ch = channelOf(res.channel); ch != kNoChannel) {
        settleLastCall(ch);
        state_.waitingOffered = false; // a new call offered: nothing waits any more
        ChannelState& c = channel(ch);
        c.cidCaller = res.caller;
        c.ignored = ignored;
        state_.lastCallTime = timeText;
        const QString name = showPicture(c.cidCaller, nullptr);
        state_.lastCallerPlace = placeUnlessNamed(res.caller, name);
        if (!res.caller.isEmpty())
            xout(QLatin1String("CALLER ID CALLER "), letter(ch), QLatin1String(" #    : "), res.caller,
                QLatin1String("\r\n"));
        if (!res.called.isEmpty()) {
            c.cidCalled = res.calledNumber;
            xout(QLatin1String("CALLER ID CALLED "), letter(ch), QLatin1String(" #    : "), res.called,
                QLatin1String("\r\n"));
        } else {
            c.cidCalled = QStringLiteral("UNKNOWN");
        }
        logCid(c.cidCalled, c.cidCaller, name);
        if (!ignored)
            emitEvent(CallEvent::Kind::Incoming, ch, c.cidCalled, c.cidCaller, name);
    } else if (res.channel == QLatin1String(dss1::kChannelNoneText)) { // both channels busy: a waiting call
        xout(QStringLiteral("CALLER ID ONLY. BOTH CHANNELS ARE BUSY!\r\n"));
        state_.lastCallTime = timeText;
        state_.CidCallerBusy = res.caller;
        state_.CidCalledBusy = res.called.isEmpty() ? QStringLiteral("UNKNOWN") : res.calledNumber;
        state_.waitingOffered = true;
        const QString name = showPicture(state_.CidCallerBusy, nullptr);
        state_.lastCallerPlace = placeUnlessNamed(res.caller, name);
        logCid(state_.CidCalledBusy, state_.CidCallerBusy, name);
        if (!ignored)
            emitEvent(CallEvent::Kind::Waiting, kNoChannel, state_.CidCalledBusy, state_.CidCallerBusy, name);
    }
}

void CallTracker::logCid(const QString& called, const QString& caller, const QString& name)
{
    if (!inputs_.logCid)
        return;
    const QDateTime now = clock_.now();
    callList_.AddCall(called, call_type::text(CallType::CID), now.date(), timetext::clock(now.time()), caller, name,
        QStringLiteral("-"), QStringLiteral("-"));
}
