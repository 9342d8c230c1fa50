// Call tracking per B-channel: what the decoder saw in a terminal's frame
// turns into call events on channel A ("89") or B ("8A").
#include "monitor/engine/call_tracking.h"

#include "common/dss1_codes.h"
#include "common/regional.h"
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
    timerEndCallA_ = clock_.createTimer([this] { endOfCallTimer(u'A'); }, true);
    timerEndCallB_ = clock_.createTimer([this] { endOfCallTimer(u'B'); }, true);
}

void CallTracker::track(const DecodedFrame& frame)
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

CallTracker::Channel CallTracker::channelOf(const IdRecord& r) const
{
    if (r.Channel == QLatin1String(dss1::kChannelAText))
        return Channel::A;
    if (r.Channel == QLatin1String(dss1::kChannelBText))
        return Channel::B;
    return Channel::None;
}

CallTracker::ChannelSide CallTracker::side(Channel ch)
{
    MonitorDisplay& d = state_.display;
    if (ch == Channel::B)
        return {.letter = u'B',
            .code = QLatin1String(dss1::kChannelBText),
            .waitingCode = 2,
            .inUse = d.Check2,
            .connected = d.Check4,
            .ringing = d.Check6,
            .number = d.Label2,
            .name = d.Label20,
            .msn = d.LabelMSNB,
            .cost = d.Label10,
            .duration = d.LabelDur2,
            .picture = d.ImageB,
            .startTime = state_.StartTimeB,
            .startClock = state_.StartClockB,
            .startedAt = state_.StartedAtB,
            .endId = state_.EndIdB,
            .endType = state_.EndTypeB,
            .cidCaller = state_.CidCallerB,
            .cidCalled = state_.CidCalledB,
            .endTimer = *timerEndCallB_};
    return {.letter = u'A',
        .code = QLatin1String(dss1::kChannelAText),
        .waitingCode = 1,
        .inUse = d.Check1,
        .connected = d.Check3,
        .ringing = d.Check5,
        .number = d.Label1,
        .name = d.Label19,
        .msn = d.LabelMSNA,
        .cost = d.Label9,
        .duration = d.LabelDur1,
        .picture = d.ImageA,
        .startTime = state_.StartTimeA,
        .startClock = state_.StartClockA,
        .startedAt = state_.StartedAtA,
        .endId = state_.EndIdA,
        .endType = state_.EndTypeA,
        .cidCaller = state_.CidCallerA,
        .cidCalled = state_.CidCalledA,
        .endTimer = *timerEndCallA_};
}

// The picture rule: the entry's picture file, or "noname.jpg" for a number
// without an entry. Returns the name found.
QString CallTracker::showPicture(const QString& number, QString& first, QString& second)
{
    QString picture = number;
    const QString name = PhoneToName(picture, inputs_.bookPath, inputs_.numberPlan);
    const QString file = picture == QLatin1String("-") ? QStringLiteral("noname.jpg") : picture;
    first = file;
    second = file;
    displayDirty_ = true;
    return name;
}

void CallTracker::connectionStep(IdRecord& r)
{
    const Channel ch = channelOf(r);
    if (ch != Channel::None) {
        const ChannelSide s = side(ch);
        s.startTime = clock_.secondsSinceMidnight();
        s.connected = 1;
        s.name = showPicture(s.number.trimmed(), state_.display.Image2, s.picture);
    }
    displayDirty_ = true;
}

void CallTracker::terminationStep(IdRecord& r)
{
    const Channel ch = channelOf(r);
    displayDirty_ = true;
    xout(kStars51 + kCrLf);
    if (ch != Channel::None) {
        const ChannelSide s = side(ch);
        const ChannelSide o = side(otherChannel(ch));
        if (r.Activated) { // a connected call ends
            const QString type = call_type::text(r.Incoming ? CallType::Answer : CallType::Called);
            if (state_.CallWaiting == 0) {
                xout(QLatin1String("TERMINATING AN ACTIVE (Connected) CALL on Channel ") + s.letter + kCrLf);
                s.endId = tei_;
                s.endType = type;
                s.endTimer.start(kEndOfCallDelayMs);
                if (o.connected == 1 && o.inUse == 0) { // a connected call left over on the other channel ends too
                    o.connected = 0;
                    o.endId = tei_;
                    o.endType = type;
                    o.endTimer.stop();
                    state_.CallWaiting = 0;
                    o.startTime = 0;
                }
            }
            if (state_.CallWaiting == o.waitingCode)
                xout(QLatin1String("CALL Waiting Hang up on Channel ") + o.letter + kCrLf);
        } else if (s.connected == 0) { // a call ends that never got connected
            xout(QLatin1String("TERMINATING AN INACTIVE CALL on Channel ") + s.letter + kCrLf);
            s.endId = tei_;
            s.endType = call_type::text(r.Incoming ? CallType::Ring : CallType::Try);
            s.endTimer.start(kEndOfCallDelayMs);
            if (r.Incoming && s.ringing != 0)
                emitRingEnded(s, false, s.startedAt);
        }
    }
    if (r.Incoming)
        xout(QStringLiteral("THIS WAS AN INCOMING CALL\r\n"));
    if (state_.CallWaiting != 0) { // the waiting call hung up: the active one goes on
        state_.CallWaiting = 0;
        return;
    }
    if (ch != Channel::None) {
        const ChannelSide s = side(ch);
        s.inUse = 0;
        s.startTime = 0;
        s.connected = 0;
        s.ringing = 0;
    }
    r.CallerNumber.clear();
    r.ConnectedNumber.clear();
    r.DisplayCost.clear();
    r.CostUnits.clear();
}

void CallTracker::perTerminalStage(IdRecord& r, const ElementResults& res)
{
    const Channel before = channelOf(r); // the channel until this frame's channel step
    if (!res.caller.isEmpty()) {
        r.CallerNumber = res.caller;
        xout(QLatin1String("CALLER #    : ") + res.caller + kCrLf);
    }
    if (!res.connected.isEmpty()) {
        r.ConnectedNumber = res.connected;
        xout(QStringLiteral("Call ActiVateD\r\n"));
        r.Activated = true;
        xout(QLatin1String("CALLING #   : ") + res.connected);
        if (r.Incoming) {
            if (before != Channel::None)
                side(before).msn = res.connected;
            xout(QStringLiteral(" of Incoming Call. "));
        }
        xout(kCrLf);
        displayDirty_ = true;
    }
    if (!res.called.isEmpty()) {
        r.CalledDigits = res.called;
        xout(QLatin1String("KEY DIGIT   : ") + res.called + kCrLf);
        if (before != Channel::None)
            side(before).number += res.called.right(2).trimmed(); // the last dialled digit
        displayDirty_ = true;
    }
    if (!res.display.isEmpty()) {
        r.DisplayCost = res.display;
        xout(QLatin1String("CALL COST 1 : ") + res.display + kCrLf);
    }
    if (!res.units.isEmpty()) {
        r.CostUnits = res.units;
        xout(QLatin1String("CALL COST 2 : ") + res.units + kCrLf);
        if (const auto units = regional::toNumber(res.units)) {
            if (before != Channel::None)
                side(before).cost = regional::money00(*units * double(inputs_.unitCost));
            displayDirty_ = true;
        }
    }
    if (res.channel.isEmpty())
        return;
    r.Channel = res.channel;
    xout(QLatin1String("B-CHANNEL   : ") + res.channel + kCrLf);
    displayDirty_ = true;
    const Channel ch = channelOf(r);
    if (!r.CallerNumber.isEmpty()) // a call from one of our ports
        outgoingStage(r, ch);
    else if (!res.connected.isEmpty()) // the ringing port answered
        answeredStage(r, ch);
    else if (r.ConnectedNumber.isEmpty()) // a port was given the channel of an offered call
        ringingStage(r, ch);
}

void CallTracker::stampStart(const ChannelSide& s)
{
    s.startedAt = clock_.now();
    s.startClock = s.startedAt.toString(QStringLiteral("HH:mm:ss"));
}

void CallTracker::emitRingEnded(const ChannelSide& s, bool answered, const QDateTime& ringStart)
{
    if (!host_)
        return;
    CallEvent e;
    e.kind = CallEvent::Kind::RingEnded;
    e.time = clock_.now();
    e.start = ringStart.isValid() ? ringStart : e.time;
    e.channel = s.letter;
    e.msn = s.msn;
    e.number = s.number.trimmed();
    e.name = s.name;
    e.answered = answered;
    host_->callEvent(e);
}

void CallTracker::emitEvent(
    CallEvent::Kind kind, const ChannelSide* s, const QString& msn, const QString& number, const QString& name)
{
    if (!host_)
        return;
    CallEvent e;
    e.kind = kind;
    e.time = clock_.now();
    e.start = e.time; // a call that begins now
    e.channel = s ? s->letter : QChar();
    e.msn = msn;
    e.number = number;
    e.name = name;
    host_->callEvent(e);
}

void CallTracker::outgoingStage(IdRecord& r, Channel ch)
{
    if (ch == Channel::None)
        return;
    const ChannelSide s = side(ch);
    if (!r.Activated) {
        xout(QLatin1String("OUTGOING Call started on Channel ") + s.letter + kCrLf);
        s.inUse = 1;
        s.startTime = clock_.secondsSinceMidnight();
        stampStart(s);
        s.number.clear();
        s.name.clear();
        s.cost = QStringLiteral("-");
        s.picture.clear();
        s.msn = r.CallerNumber;
        r.Incoming = false;
        emitEvent(CallEvent::Kind::Outgoing, &s, s.msn, {}, {});
    } else { // a connected terminal given a channel again: a second call is waiting
        xout(QStringLiteral("Got It!!!! This is a CALL WAITING CASE!!!\r\n"));
        state_.CallWaiting = s.waitingCode;
        r.Channel = side(otherChannel(ch)).code;
    }
}

void CallTracker::answeredStage(IdRecord& r, Channel ch)
{
    xout(kStars22 + kCrLf);
    xout(QStringLiteral("INCOMING CALL STARTED!\r\n"));
    if (ch != Channel::None) {
        const ChannelSide s = side(ch);
        xout(QLatin1String("Incoming Call started on Channel ") + s.letter + kCrLf);
        const bool wasRinging = s.ringing != 0;
        const QDateTime ringStart = s.startedAt;
        s.connected = 1;
        s.startTime = clock_.secondsSinceMidnight();
        stampStart(s);
        s.ringing = 0;
        s.msn = r.ConnectedNumber;
        r.Incoming = true;
        if (wasRinging)
            emitRingEnded(s, true, ringStart);
    }
    if (r.Incoming)
        xout(QStringLiteral("STOP RINGING!!!!\r\n"));
}

void CallTracker::ringingStage(IdRecord& r, Channel ch)
{
    xout(QStringLiteral("Incoming Call.\r\n"));
    xout(QStringLiteral("RINGING!!!!!!!!!!!!!!!!!!!!!!!!\r\n"));
    if (ch == Channel::None)
        return;
    const ChannelSide s = side(ch);
    if (s.inUse != 0)
        return;
    state_.display.LabelTIM = regional::longTime(clock_.now().time());
    s.duration = QStringLiteral("-");
    s.inUse = 1;
    s.ringing = 1;
    s.startTime = clock_.secondsSinceMidnight();
    stampStart(s);
    s.msn = s.cidCalled;
    s.number = s.cidCaller;
    s.name = showPicture(s.cidCaller, state_.display.Image2, s.picture);
    s.cost = QStringLiteral("-");
    r.Incoming = true;
}
