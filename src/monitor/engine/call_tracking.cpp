// Call tracking per B-channel: the decode results of a terminal's frame turn
// into call events on channel A ("89") or B ("8A"). No explicit state machine:
// the flags and the terminal's record are the state.
#include "monitor/engine/monitor_engine.h"

#include "common/dss1_codes.h"
#include "common/regional.h"
#include "phonebook/book_file.h"

namespace {

const QString kStars51(51, u'*');
const QString kStars22(22, u'*');
const QString kCrLf = QStringLiteral("\r\n");

} // namespace

MonitorEngine::Channel MonitorEngine::channelOf(const IdRecord& r) const
{
    if (r.Channel == QLatin1String(dss1::kChannelAText))
        return Channel::A;
    if (r.Channel == QLatin1String(dss1::kChannelBText))
        return Channel::B;
    return Channel::None;
}

MonitorEngine::ChannelSide MonitorEngine::side(Channel ch)
{
    MonitorDisplay& d = display_;
    if (ch == Channel::B)
        return {.letter = u'B', .code = QLatin1String(dss1::kChannelBText), .waitingCode = 2,
                .inUse = d.Check2, .connected = d.Check4, .ringing = d.Check6,
                .number = d.Label2, .name = d.Label20, .msn = d.LabelMSNB, .cost = d.Label10,
                .duration = d.LabelDur2, .picture = d.ImageB,
                .startTime = StartTimeB, .startClock = StartClockB, .startedAt = StartedAtB, .endId = EndIdB, .endType = EndTypeB,
                .cidCaller = CidCallerB, .cidCalled = CidCalledB, .endTimer = *timerEndCallB_};
    return {.letter = u'A', .code = QLatin1String(dss1::kChannelAText), .waitingCode = 1,
            .inUse = d.Check1, .connected = d.Check3, .ringing = d.Check5,
            .number = d.Label1, .name = d.Label19, .msn = d.LabelMSNA, .cost = d.Label9,
            .duration = d.LabelDur1, .picture = d.ImageA,
            .startTime = StartTimeA, .startClock = StartClockA, .startedAt = StartedAtA, .endId = EndIdA, .endType = EndTypeA,
            .cidCaller = CidCallerA, .cidCalled = CidCalledA, .endTimer = *timerEndCallA_};
}

// The picture rule: the entry's picture file, or "noname.jpg" for a number
// without an entry. Returns the name found.
QString MonitorEngine::showPicture(const QString& number, QString& first, QString& second)
{
    QString picture = number;
    const QString name = PhoneToName(picture, bookPath());
    const QString file = picture == QLatin1String("-") ? QStringLiteral("noname.jpg") : picture;
    first = file;
    second = file;
    displayDirty_ = true;
    return name;
}

void MonitorEngine::connectionStep(IdRecord& r)
{
    const Channel ch = channelOf(r);
    if (ch != Channel::None) {
        const ChannelSide s = side(ch);
        s.startTime = clock_.secondsSinceMidnight();
        s.connected = 1;
        s.name = showPicture(s.number.trimmed(), display_.Image2, s.picture);
    }
    displayDirty_ = true;
}

void MonitorEngine::terminationStep(IdRecord& r)
{
    const Channel ch = channelOf(r);
    displayDirty_ = true;
    trace_.xout(kStars51 + kCrLf);
    if (ch != Channel::None) {
        const ChannelSide s = side(ch);
        const ChannelSide o = side(otherChannel(ch));
        if (r.Activated) { // a connected call ends
            const QString type = call_type::text(r.Incoming ? CallType::Answer : CallType::Called);
            if (CallWaiting == 0) {
                trace_.xout(QLatin1String("TERMINATING AN ACTIVE (Connected) CALL on Channel ") + s.letter + kCrLf);
                s.endId = tei_;
                s.endType = type;
                s.endTimer.start(kEndOfCallDelayMs);
                if (o.connected == 1 && o.inUse == 0) { // a connected call left over on the other channel ends too
                    o.connected = 0;
                    o.endId = tei_;
                    o.endType = type;
                    o.endTimer.stop();
                    CallWaiting = 0;
                    o.startTime = 0;
                }
            }
            if (CallWaiting == o.waitingCode)
                trace_.xout(QLatin1String("CALL Waiting Hang up on Channel ") + o.letter + kCrLf);
        } else if (s.connected == 0) { // a call ends that never got connected
            trace_.xout(QLatin1String("TERMINATING AN INACTIVE CALL on Channel ") + s.letter + kCrLf);
            s.endId = tei_;
            s.endType = call_type::text(r.Incoming ? CallType::Ring : CallType::Try);
            s.endTimer.start(kEndOfCallDelayMs);
            if (r.Incoming && s.ringing != 0)
                emitRingEnded(s, false, s.startedAt);
        }
    }
    if (r.Incoming)
        trace_.xout(QStringLiteral("THIS WAS AN INCOMING CALL\r\n"));
    if (CallWaiting != 0) { // the waiting call hung up: the active one goes on
        CallWaiting = 0;
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

void MonitorEngine::perTerminalStage(IdRecord& r, const ElementResults& res)
{
    const Channel before = channelOf(r); // the channel until this frame's channel step
    if (!res.caller.isEmpty()) {
        r.CallerNumber = res.caller;
        trace_.xout(QLatin1String("CALLER #    : ") + res.caller + kCrLf);
    }
    if (!res.connected.isEmpty()) {
        r.ConnectedNumber = res.connected;
        trace_.xout(QStringLiteral("Call ActiVateD\r\n"));
        r.Activated = true;
        trace_.xout(QLatin1String("CALLING #   : ") + res.connected);
        if (r.Incoming) {
            if (before != Channel::None)
                side(before).msn = res.connected;
            trace_.xout(QStringLiteral(" of Incoming Call. "));
        }
        trace_.xout(kCrLf);
        displayDirty_ = true;
    }
    if (!res.called.isEmpty()) {
        r.CalledDigits = res.called;
        trace_.xout(QLatin1String("KEY DIGIT   : ") + res.called + kCrLf);
        if (before != Channel::None)
            side(before).number += res.called.right(2).trimmed(); // the last dialled digit
        displayDirty_ = true;
    }
    if (!res.display.isEmpty()) {
        r.DisplayCost = res.display;
        trace_.xout(QLatin1String("CALL COST 1 : ") + res.display + kCrLf);
    }
    if (!res.units.isEmpty()) {
        r.CostUnits = res.units;
        trace_.xout(QLatin1String("CALL COST 2 : ") + res.units + kCrLf);
        if (const auto units = regional::toNumber(res.units)) {
            if (before != Channel::None)
                side(before).cost = regional::money00(*units * double(UnitCost));
            displayDirty_ = true;
        }
    }
    if (res.channel.isEmpty())
        return;
    r.Channel = res.channel;
    trace_.xout(QLatin1String("B-CHANNEL   : ") + res.channel + kCrLf);
    displayDirty_ = true;
    const Channel ch = channelOf(r);
    if (!r.CallerNumber.isEmpty()) // a call from one of our ports
        outgoingStage(r, ch);
    else if (!res.connected.isEmpty()) // the ringing port answered
        answeredStage(r, ch);
    else if (r.ConnectedNumber.isEmpty()) // a port was given the channel of an offered call
        ringingStage(r, ch);
}

QString MonitorEngine::clockText() const
{
    return clock_.now().toString(QStringLiteral("HH:mm:ss"));
}

void MonitorEngine::stampStart(const ChannelSide& s)
{
    s.startedAt = clock_.now();
    s.startClock = s.startedAt.toString(QStringLiteral("HH:mm:ss"));
}

void MonitorEngine::emitRingEnded(const ChannelSide& s, bool answered, const QDateTime& ringStart)
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

void MonitorEngine::emitEvent(CallEvent::Kind kind, const ChannelSide* s, const QString& msn, const QString& number,
                              const QString& name)
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

void MonitorEngine::outgoingStage(IdRecord& r, Channel ch)
{
    if (ch == Channel::None)
        return;
    const ChannelSide s = side(ch);
    if (!r.Activated) {
        trace_.xout(QLatin1String("OUTGOING Call started on Channel ") + s.letter + kCrLf);
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
        trace_.xout(QStringLiteral("Got It!!!! This is a CALL WAITING CASE!!!\r\n"));
        CallWaiting = s.waitingCode;
        r.Channel = side(otherChannel(ch)).code;
    }
}

void MonitorEngine::answeredStage(IdRecord& r, Channel ch)
{
    trace_.xout(kStars22 + kCrLf);
    trace_.xout(QStringLiteral("INCOMING CALL STARTED!\r\n"));
    if (ch != Channel::None) {
        const ChannelSide s = side(ch);
        trace_.xout(QLatin1String("Incoming Call started on Channel ") + s.letter + kCrLf);
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
        trace_.xout(QStringLiteral("STOP RINGING!!!!\r\n"));
}

void MonitorEngine::ringingStage(IdRecord& r, Channel ch)
{
    trace_.xout(QStringLiteral("Incoming Call.\r\n"));
    trace_.xout(QStringLiteral("RINGING!!!!!!!!!!!!!!!!!!!!!!!!\r\n"));
    if (ch == Channel::None)
        return;
    const ChannelSide s = side(ch);
    if (s.inUse != 0)
        return;
    display_.LabelTIM = regional::longTime(clock_.now().time());
    s.duration = QStringLiteral("-");
    s.inUse = 1;
    s.ringing = 1;
    s.startTime = clock_.secondsSinceMidnight();
    stampStart(s);
    s.msn = s.cidCalled;
    s.number = s.cidCaller;
    s.name = showPicture(s.cidCaller, display_.Image2, s.picture);
    s.cost = QStringLiteral("-");
    r.Incoming = true;
}
