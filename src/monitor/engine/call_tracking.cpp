// Call tracking per B-channel: what the decoder saw in a terminal's frame
// turns into call events on channel A ("89") or B ("8A").
#include "monitor/engine/call_tracking.h"
#include "monitor/engine/time_texts.h"

#include "common/dss1_codes.h"
#include "common/regional.h"
#include "common/user_text.h"
#include "monitor/engine/monitor_host.h"
#include "phonebook/book_file.h"

namespace {

const QString kStars51(51, u'*');
const QString kStars22(22, u'*');
const QString kCrLf = QStringLiteral("\r\n");

} // namespace

CallTracker::CallTracker(const Context& c)
    : clock_(c.clock), callList_(c.callList), trace_(c.trace), state_(c.state), inputs_(c.inputs), view_(c.view),
      displayDirty_(c.displayDirty), notifyDisplay_(c.notifyDisplay)
{
    // A first: at the same moment TimerEndCallA fires before TimerEndCallB.
    for (int ch = 0; ch < CallState::kChannels; ++ch)
        endTimers_[size_t(ch)] = clock_.createTimer([this, ch] { endOfCall(ch); }, true);
}

void CallTracker::track(const DecodedFrame& frame)
{
    trackFrame(frame);
    reportPhases();
}

void CallTracker::reportPhases()
{
    for (int ch = 0; ch < CallState::kChannels; ++ch) {
        if (channel(ch).ignored) // an ignored caller's call shows nowhere
            continue;
        const CallPhase now = channel(ch).phase;
        const CallPhase was = std::exchange(reportedPhases_[size_t(ch)], now);
        if (now == was)
            continue;
        if (was == CallPhase::Idle) { // a new call: nothing of the last one's talk
            talkStart_[size_t(ch)] = kNotYet;
            talkEnd_[size_t(ch)] = kNotYet;
        }
        if (now == CallPhase::Talking) {
            talkStart_[size_t(ch)] = clock_.steadyMs();
            const ChannelState& c = channel(ch);
            emitEvent(CallEvent::Kind::Connected, ch, c.msn == QLatin1String("-") ? QString() : c.msn,
                c.number.trimmed(), c.name, c.startedAt);
        } else if (was == CallPhase::Talking) {
            talkEnd_[size_t(ch)] = clock_.steadyMs();
        }
        if (host_) {
            CallEvent e;
            e.kind = CallEvent::Kind::Phase;
            e.time = e.start = clock_.now();
            e.channel = letter(ch);
            e.phase = now;
            publish(e);
        }
    }
}

int CallTracker::secondsTalked(int ch) const
{
    const qint64 start = talkStart_[size_t(ch)];
    if (start == kNotYet)
        return 0;
    const qint64 end = talkEnd_[size_t(ch)];
    return int(((end == kNotYet ? clock_.steadyMs() : end) - start) / 1000);
}

void CallTracker::trackFrame(const DecodedFrame& frame)
{
    tei_ = frame.tei;
    IdRecord* r = state_.record(tei_);
    if (frame.disconnect && r) {
        r->CallerNumber.clear();
        r->ConnectedNumber.clear();
        r->CalledDigits.clear();
        r->DisplayCost.clear();
        r->Channel.clear();
        r->CostUnits.clear();
    }
    for (const SeenElement& seen : frame.seen)
        applySeen(r, seen);
    if (frame.controlOnly)
        return;
    if (frame.announcement())
        callerIdStage(frame.results);
    else if (r)
        perTerminalStage(*r, frame.results);
}

// What must happen where the element stands, before the frame's later elements.
void CallTracker::applySeen(IdRecord* r, const SeenElement& seen)
{
    using Kind = SeenElement::Kind;
    if (seen.kind == Kind::Trace) {
        xout(seen.text);
        return;
    }
    if (!r)
        return;
    switch (seen.kind) {
    case Kind::Channel: r->Channel = seen.text; break;
    case Kind::Service: r->Activated = true; break;
    case Kind::Connected: connectionStep(*r); break;
    case Kind::NormalClearing: terminationStep(*r); break;
    case Kind::Trace: break;
    }
}

QLatin1String CallTracker::code(int ch)
{
    return QLatin1String(ch == 0 ? dss1::kChannelAText : dss1::kChannelBText);
}

int CallTracker::channelOf(QStringView text)
{
    for (int ch = 0; ch < CallState::kChannels; ++ch)
        if (text == code(ch))
            return ch;
    return kNoChannel;
}

// The picture rule: the entry's picture file, or "noname.jpg" for a number
// without an entry. Returns the name found.
QString CallTracker::showPicture(const QString& number, ChannelState* c)
{
    QString picture = number;
    const QString name = inputs_.nameFor(picture);
    const QString file = picture == QLatin1String("-") ? QStringLiteral("noname.jpg") : picture;
    state_.lastPicture = file;
    if (c) {
        c->picture = file;
        c->place = placeUnlessNamed(number, name);
    }
    displayDirty_ = true;
    return name;
}

PlaceOfNumber CallTracker::placeUnlessNamed(const QString& number, const QString& name) const
{
    return name.isEmpty() ? inputs_.placeOf(number).value_or(PlaceOfNumber{}) : PlaceOfNumber{};
}

void CallTracker::connectionStep(IdRecord& r)
{
    if (const int ch = channelOf(r); ch != kNoChannel) {
        ChannelState& c = channel(ch);
        startRunning(c);
        c.phase = CallPhase::Talking;
        c.name = showPicture(c.number.trimmed(), &c);
    }
    displayDirty_ = true;
}

void CallTracker::endCall(int ch, const QString& type)
{
    ChannelState& c = channel(ch);
    c.endId = tei_;
    c.endType = type;
    c.endIgnored = c.ignored; // the caller's mark is gone by the end-of-call step
    endTimers_[size_t(ch)]->start(kEndOfCallDelayMs);
}

void CallTracker::terminationStep(IdRecord& r)
{
    const int ch = channelOf(r);
    displayDirty_ = true;
    xout(kStars51, kCrLf);
    if (ch != kNoChannel) {
        ChannelState& c = channel(ch);
        if (r.Activated) { // a connected call ends
            const QString type = call_type::text(r.Incoming ? CallType::Answer : CallType::Called);
            ChannelState& o = channel(other(ch));
            if (state_.CallWaiting == 0) {
                xout(QLatin1String("TERMINATING AN ACTIVE (Connected) CALL on Channel "), letter(ch), kCrLf);
                endCall(ch, type);
                // A call answered on the other channel without ringing there ends too;
                // only the main call is logged, but both got through and both end.
                if (o.phase == CallPhase::Talking && !o.active) {
                    emitCallOver(other(ch), call_type::fromText(type), false);
                    o.phase = CallPhase::Idle;
                    o.endId = tei_;
                    o.endType = type;
                    endTimers_[size_t(other(ch))]->stop();
                    state_.CallWaiting = 0;
                    o.startTime = 0;
                }
            }
            if (state_.CallWaiting == waitingCode(other(ch)))
                xout(QLatin1String("CALL Waiting Hang up on Channel "), letter(other(ch)), kCrLf);
        } else if (c.phase != CallPhase::Talking) { // a call ends that never got connected
            xout(QLatin1String("TERMINATING AN INACTIVE CALL on Channel "), letter(ch), kCrLf);
            endCall(ch, call_type::text(r.Incoming ? CallType::Ring : CallType::Try));
            if (r.Incoming && c.ringSounds)
                emitRingEnded(ch, false, c.startedAt);
        }
    }
    if (r.Incoming)
        xout(QStringLiteral("THIS WAS AN INCOMING CALL\r\n"));
    if (state_.CallWaiting != 0) { // the waiting call hung up: the active one goes on
        state_.CallWaiting = 0;
        return;
    }
    if (ch != kNoChannel) {
        ChannelState& c = channel(ch);
        c.phase = CallPhase::Idle;
        c.active = false;
        c.ringSounds = false;
        c.ignored = false;
        c.startTime = 0;
    }
    r.CallerNumber.clear();
    r.ConnectedNumber.clear();
    r.DisplayCost.clear();
    r.CostUnits.clear();
}

void CallTracker::perTerminalStage(IdRecord& r, const ElementResults& res)
{
    const int before = channelOf(r); // the channel until this frame's channel step
    if (!res.caller.isEmpty()) {
        r.CallerNumber = res.caller;
        xout(QLatin1String("CALLER #    : "), res.caller, kCrLf);
    }
    if (!res.connected.isEmpty()) {
        r.ConnectedNumber = res.connected;
        xout(QStringLiteral("Call ActiVateD\r\n"));
        r.Activated = true;
        xout(QLatin1String("CALLING #   : "), res.connected);
        if (r.Incoming) {
            if (before != kNoChannel)
                channel(before).msn = res.connected;
            xout(QStringLiteral(" of Incoming Call. "));
        }
        xout(kCrLf);
        displayDirty_ = true;
    }
    if (!res.called.isEmpty()) {
        r.CalledDigits = res.called;
        xout(QLatin1String("KEY DIGIT   : "), res.called, kCrLf);
        if (before != kNoChannel)
            channel(before).number += res.called.right(2).trimmed(); // the last dialled digit
        displayDirty_ = true;
    }
    if (!res.display.isEmpty()) {
        r.DisplayCost = res.display;
        xout(QLatin1String("CALL COST 1 : "), res.display, kCrLf);
    }
    if (!res.units.isEmpty()) {
        r.CostUnits = res.units;
        xout(QLatin1String("CALL COST 2 : "), res.units, kCrLf);
        if (const auto units = regional::toNumber(res.units)) {
            if (before != kNoChannel)
                channel(before).cost = regional::money00(*units * double(inputs_.unitCost));
            displayDirty_ = true;
        }
    }
    if (res.channel.isEmpty())
        return;
    r.Channel = res.channel;
    xout(QLatin1String("B-CHANNEL   : "), res.channel, kCrLf);
    displayDirty_ = true;
    const int ch = channelOf(r);
    if (!r.CallerNumber.isEmpty()) // a call from one of our ports
        outgoingStage(r, ch);
    else if (!res.connected.isEmpty()) // the ringing port answered
        answeredStage(r, ch);
    else if (r.ConnectedNumber.isEmpty()) // a port was given the channel of an offered call
        ringingStage(r, ch);
}

void CallTracker::startRunning(ChannelState& c)
{
    c.startTime = clock_.secondsSinceMidnight();
    c.startSteadyMs = clock_.steadyMs();
}

void CallTracker::stampStart(ChannelState& c)
{
    c.startedAt = clock_.now();
    c.startClock = timetext::clock(c.startedAt.time());
}

void CallTracker::emitRingEnded(int ch, bool answered, const QDateTime& ringStart)
{
    if (!host_)
        return;
    const ChannelState& c = channel(ch);
    if (c.ignored) // never announced, so its ringing never ends for anyone
        return;
    CallEvent e;
    e.kind = CallEvent::Kind::RingEnded;
    e.time = clock_.now();
    e.start = ringStart.isValid() ? ringStart : e.time;
    e.channel = letter(ch);
    e.msn = c.msn;
    e.number = c.number.trimmed();
    e.name = c.name;
    e.answered = answered;
    publish(e);
}

void CallTracker::emitEvent(CallEvent::Kind kind, int ch, const QString& msn, const QString& number,
    const QString& name, const QDateTime& start)
{
    if (!host_)
        return;
    CallEvent e;
    e.kind = kind;
    e.time = clock_.now();
    e.start = start.isValid() ? start : e.time;
    e.channel = ch == kNoChannel ? QChar() : letter(ch);
    e.msn = msn;
    e.number = number;
    e.name = name;
    if (kind == CallEvent::Kind::Incoming || kind == CallEvent::Kind::Waiting)
        e.picture = state_.lastPicture; // the announcement has just looked the caller up
    publish(e);
}

void CallTracker::publish(CallEvent& e)
{
    // The names come cleaned from the book and the settings; the numbers from the line are bounded here.
    e.msn = usertext::cleaned(e.msn, usertext::kMaxNumberLength);
    e.number = usertext::cleaned(e.number, usertext::kMaxNumberLength);
    e.msnName = inputs_.msnName(e.msn);
    if (e.name.isEmpty())
        if (const std::optional<PlaceOfNumber> p = inputs_.placeOf(e.number)) {
            e.place = usertext::cleaned(p->place, usertext::kMaxNameLength);
            e.numberKind = p->kind;
            e.groupedNumber = usertext::cleaned(p->grouped, usertext::kMaxNumberLength);
        }
    host_->callEvent(e);
}

void CallTracker::outgoingStage(IdRecord& r, int ch)
{
    if (ch == kNoChannel)
        return;
    ChannelState& c = channel(ch);
    if (!r.Activated) {
        xout(QLatin1String("OUTGOING Call started on Channel "), letter(ch), kCrLf);
        settleLastCall(ch);
        c.active = true;
        if (c.phase != CallPhase::Talking)
            c.phase = CallPhase::Dialing;
        startRunning(c);
        stampStart(c);
        c.number.clear();
        c.name.clear();
        c.place = {};
        c.cost = QStringLiteral("-");
        c.picture.clear();
        c.msn = r.CallerNumber;
        r.Incoming = false;
        emitEvent(CallEvent::Kind::Outgoing, ch, c.msn, {}, {});
    } else { // a connected terminal given a channel again: a second call is waiting
        xout(QStringLiteral("Got It!!!! This is a CALL WAITING CASE!!!\r\n"));
        state_.CallWaiting = waitingCode(ch);
        r.Channel = code(other(ch));
    }
}

void CallTracker::answeredStage(IdRecord& r, int ch)
{
    xout(kStars22, kCrLf);
    xout(QStringLiteral("INCOMING CALL STARTED!\r\n"));
    if (ch != kNoChannel) {
        ChannelState& c = channel(ch);
        xout(QLatin1String("Incoming Call started on Channel "), letter(ch), kCrLf);
        const bool wasRinging = c.ringSounds;
        const QDateTime ringStart = c.startedAt;
        if (!wasRinging)
            settleLastCall(ch);
        if (!wasRinging && std::exchange(state_.waitingOffered, false)) {
            // The waiting call is taken: its caller, not the one who talked here before.
            c.number = state_.CidCallerBusy;
            c.name = showPicture(state_.CidCallerBusy, &c);
            c.cost = QStringLiteral("-");
        }
        c.phase = CallPhase::Talking;
        startRunning(c);
        stampStart(c);
        c.ringSounds = false;
        c.msn = r.ConnectedNumber;
        r.Incoming = true;
        if (wasRinging)
            emitRingEnded(ch, true, ringStart);
    }
    if (r.Incoming)
        xout(QStringLiteral("STOP RINGING!!!!\r\n"));
}

void CallTracker::ringingStage(IdRecord& r, int ch)
{
    xout(QStringLiteral("Incoming Call.\r\n"));
    xout(QStringLiteral("RINGING!!!!!!!!!!!!!!!!!!!!!!!!\r\n"));
    if (ch == kNoChannel)
        return;
    ChannelState& c = channel(ch);
    if (c.active)
        return;
    settleLastCall(ch);
    state_.lastCallTime = regional::longTime(clock_.now().time());
    c.duration = QStringLiteral("-");
    c.active = true;
    c.ringSounds = true;
    if (c.phase != CallPhase::Talking)
        c.phase = CallPhase::Ringing;
    startRunning(c);
    stampStart(c);
    c.msn = c.cidCalled;
    c.number = c.cidCaller;
    c.name = showPicture(c.cidCaller, &c);
    c.cost = QStringLiteral("-");
    r.Incoming = true;
}
