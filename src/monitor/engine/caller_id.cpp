// The caller-ID announcement: a call offered to all terminals (group TEI) is
// announced, its numbers kept per channel for the ringing display, and
// optionally logged as "CID".
#include "monitor/engine/call_tracking.h"

#include "common/dss1_codes.h"
#include "common/regional.h"
#include "common/settings_keys.h"
#include "common/settings_store.h"
#include "monitor/engine/call_list_model.h"
#include "monitor/engine/monitor_host.h"

void CallTracker::callerIdStage(const ElementResults& res)
{
    MonitorDisplay& d = state_.display;
    if (trace_.info())
        xout(QStringLiteral("Storing info in CALLER_ID Location\r\n"));
    if (res.channel.isEmpty())
        return;
    state_.PopupWasVisible = host_ && host_->windowVisible();
    if (host_ && settings_.isOne(key::Popup))
        host_->popupRequested();
    if (host_ && settings_.isOne(key::IDSound))
        host_->playCallerIdSound(settings_.read(key::WavFile));
    if (host_ && host_->windowStateNormal())
        host_->keepOnTop(true);
    xout(QLatin1String("CALLER ID B-CHANNEL   : ") + res.channel + QLatin1String("\r\n"));
    d.LabelCID = res.caller;
    displayDirty_ = true;

    const QDateTime now = clock_.now();
    const QString timeText = regional::longTime(now.time());
    const bool channelA = res.channel == QLatin1String(dss1::kChannelAText);
    if (channelA || res.channel == QLatin1String(dss1::kChannelBText)) {
        const ChannelSide s = side(channelA ? Channel::A : Channel::B);
        s.cidCaller = res.caller;
        d.LabelCID = res.caller;
        d.LabelTIM = timeText;
        QString unused;
        const QString name = showPicture(s.cidCaller, d.Image2, unused);
        if (!res.caller.isEmpty())
            xout(QLatin1String("CALLER ID CALLER ") + s.letter + QLatin1String(" #    : ") + res.caller
                 + QLatin1String("\r\n"));
        if (!res.called.isEmpty()) {
            s.cidCalled = res.calledNumber;
            xout(QLatin1String("CALLER ID CALLED ") + s.letter + QLatin1String(" #    : ") + res.called
                 + QLatin1String("\r\n"));
        } else {
            s.cidCalled = QStringLiteral("UNKNOWN");
        }
        logCid(s.cidCalled, s.cidCaller, name);
        emitEvent(CallEvent::Kind::Incoming, &s, s.cidCalled, s.cidCaller, name);
    } else if (res.channel == QLatin1String(dss1::kChannelNoneText)) { // both channels busy: a waiting call
        xout(QStringLiteral("CALLER ID ONLY. BOTH CHANNELS ARE BUSY!\r\n"));
        d.LabelCID = res.caller;
        d.LabelTIM = timeText;
        state_.CidCallerBusy = res.caller;
        state_.CidCalledBusy = res.called.isEmpty() ? QStringLiteral("UNKNOWN") : res.calledNumber;
        QString unused;
        const QString name = showPicture(state_.CidCallerBusy, d.Image2, unused);
        logCid(state_.CidCalledBusy, state_.CidCallerBusy, name);
        emitEvent(CallEvent::Kind::Waiting, nullptr, state_.CidCalledBusy, state_.CidCallerBusy, name);
    }
}

void CallTracker::logCid(const QString& called, const QString& caller, const QString& name)
{
    if (!settings_.isOne(key::LogCID))
        return;
    const QDateTime now = clock_.now();
    callList_.AddCall(called, call_type::text(CallType::CID), now.date(), now.toString(QStringLiteral("HH:mm:ss")),
        caller, name, QStringLiteral("-"), QStringLiteral("-"));
}
