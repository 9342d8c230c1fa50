// Call tracking per B-channel: the decode results of a terminal's frame turn
// into call events on channel A ("89") or B ("8A"). No explicit state machine:
// the flags and the terminal's record are the state.
#include "monitor/engine/monitor_engine.h"

#include "app/regional.h"
#include "phonebook/book_file.h"

namespace {

const QString kStars51(51, u'*');
const QString kStars22(22, u'*');
const QString kCrLf = QStringLiteral("\r\n");

} // namespace

MonitorEngine::Channel MonitorEngine::channelOf(const IdRecord& r) const
{
    if (r.Channel == QLatin1String("89"))
        return Channel::A;
    if (r.Channel == QLatin1String("8A"))
        return Channel::B;
    return Channel::None;
}

QString MonitorEngine::nameOf(const QString& number)
{
    QString copy = number;
    return PhoneToName(copy, bookPath());
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
    MonitorDisplay& d = display_;
    switch (channelOf(r)) {
    case Channel::A:
        StartTimeA = clock_.secondsSinceMidnight();
        d.Check3 = 1;
        d.Label19 = showPicture(d.Label1.trimmed(), d.Image2, d.ImageA);
        break;
    case Channel::B:
        StartTimeB = clock_.secondsSinceMidnight();
        d.Check4 = 1;
        d.Label20 = showPicture(d.Label2.trimmed(), d.Image2, d.ImageB);
        break;
    case Channel::None:
        break;
    }
    displayDirty_ = true;
}

void MonitorEngine::terminationStep(IdRecord& r)
{
    MonitorDisplay& d = display_;
    const Channel ch = channelOf(r);
    const int tei = tei_;
    displayDirty_ = true;
    if (r.Activated) {
        const QString type = r.Incoming ? QStringLiteral("Answer") : QStringLiteral("Called");
        xout(kStars51 + kCrLf);
        if (ch == Channel::A && CallWaiting == 0) {
            xout(QStringLiteral("TERMINATING AN ACTIVE (Connected) CALL on Channel A\r\n"));
            EndIdA = tei;
            EndTypeA = type;
            timerEndCallA_->start(kEndOfCallDelayMs);
            if (d.Check4 == 1 && d.Check2 == 0) { // a connected call left over on B ends with it
                d.Check4 = 0;
                EndIdB = tei;
                EndTypeB = type;
                timerEndCallB_->stop();
                CallWaiting = 0;
                StartTimeB = 0;
            }
        } else if (ch == Channel::B && CallWaiting == 0) {
            xout(QStringLiteral("TERMINATING AN ACTIVE (Connected) CALL on Channel B\r\n"));
            EndIdB = tei;
            EndTypeB = type;
            timerEndCallB_->start(kEndOfCallDelayMs);
            if (d.Check3 == 1 && d.Check1 == 0) {
                d.Check3 = 0;
                EndIdA = tei;
                EndTypeA = type;
                timerEndCallA_->stop();
                CallWaiting = 0;
                StartTimeA = 0;
            }
        }
        if (ch == Channel::A && CallWaiting == 2)
            xout(QStringLiteral("CALL Waiting Hang up on Channel B\r\n"));
        else if (ch == Channel::B && CallWaiting == 1)
            xout(QStringLiteral("CALL Waiting Hang up on Channel A\r\n"));
    } else {
        const QString type = r.Incoming ? QStringLiteral("Ring") : QStringLiteral("Try");
        xout(kStars51 + kCrLf);
        if (d.Check3 == 0 && ch == Channel::A) {
            xout(QStringLiteral("TERMINATING AN INACTIVE CALL on Channel A\r\n"));
            EndIdA = tei;
            EndTypeA = type;
            timerEndCallA_->start(kEndOfCallDelayMs);
        } else if (d.Check4 == 0 && ch == Channel::B) {
            xout(QStringLiteral("TERMINATING AN INACTIVE CALL on Channel B\r\n"));
            EndIdB = tei;
            EndTypeB = type;
            timerEndCallB_->start(kEndOfCallDelayMs);
        }
    }
    if (r.Incoming)
        xout(QStringLiteral("THIS WAS AN INCOMING CALL\r\n"));
    if (CallWaiting != 0) { // the waiting call hung up: the active one goes on
        CallWaiting = 0;
        return;
    }
    if (ch == Channel::A) {
        d.Check1 = 0;
        StartTimeA = 0;
        d.Check3 = 0;
        d.Check5 = 0;
    } else if (ch == Channel::B) {
        d.Check2 = 0;
        StartTimeB = 0;
        d.Check4 = 0;
        d.Check6 = 0;
    }
    r.CallerNumber.clear();
    r.ConnectedNumber.clear();
    r.DisplayCost.clear();
    r.CostUnits.clear();
}

void MonitorEngine::perTerminalStage(IdRecord& r, const ElementResults& res)
{
    MonitorDisplay& d = display_;
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
            if (channelOf(r) == Channel::A)
                d.LabelMSNA = res.connected;
            else if (channelOf(r) == Channel::B)
                d.LabelMSNB = res.connected;
            xout(QStringLiteral(" of Incoming Call. "));
        }
        xout(kCrLf);
        displayDirty_ = true;
    }
    if (!res.called.isEmpty()) {
        r.CalledDigits = res.called;
        xout(QLatin1String("KEY DIGIT   : ") + res.called + kCrLf);
        const QString digit = res.called.right(2).trimmed(); // the last dialled digit
        if (channelOf(r) == Channel::A)
            d.Label1 += digit;
        else if (channelOf(r) == Channel::B)
            d.Label2 += digit;
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
            const QString cost = regional::money00(*units * double(UnitCost));
            if (channelOf(r) == Channel::A)
                d.Label9 = cost;
            else if (channelOf(r) == Channel::B)
                d.Label10 = cost;
            displayDirty_ = true;
        }
    }
    if (res.channel.isEmpty())
        return;
    r.Channel = res.channel;
    xout(QLatin1String("B-CHANNEL   : ") + res.channel + kCrLf);
    displayDirty_ = true;
    const Channel ch = channelOf(r);
    const QString clockText = clock_.now().toString(QStringLiteral("HH:mm:ss"));

    if (!r.CallerNumber.isEmpty()) { // a call from one of our ports
        if (ch == Channel::A && !r.Activated) {
            xout(QStringLiteral("OUTGOING Call started on Channel A\r\n"));
            d.Check1 = 1;
            StartTimeA = clock_.secondsSinceMidnight();
            StartClockA = clockText;
            d.Label1.clear();
            d.Label19.clear();
            d.Label9 = QStringLiteral("-");
            d.ImageA.clear();
            d.LabelMSNA = r.CallerNumber;
            r.Incoming = false;
        } else if (ch == Channel::B && !r.Activated) {
            xout(QStringLiteral("OUTGOING Call started on Channel B\r\n"));
            d.Check2 = 1;
            StartTimeB = clock_.secondsSinceMidnight();
            StartClockB = clockText;
            d.Label2.clear();
            d.Label20.clear();
            d.Label10 = QStringLiteral("-");
            d.ImageB.clear();
            d.LabelMSNB = r.CallerNumber;
            r.Incoming = false;
        }
        // A connected terminal given a channel again: a second call is waiting.
        if (ch == Channel::A && r.Activated) {
            xout(QStringLiteral("Got It!!!! This is a CALL WAITING CASE!!!\r\n"));
            CallWaiting = 1;
            r.Channel = QStringLiteral("8A");
        } else if (ch == Channel::B && r.Activated) {
            CallWaiting = 2;
            r.Channel = QStringLiteral("89");
            xout(QStringLiteral("Got It!!!! This is a CALL WAITING CASE!!!\r\n"));
        }
    } else if (!res.connected.isEmpty()) { // the ringing port answered
        xout(kStars22 + kCrLf);
        xout(QStringLiteral("INCOMING CALL STARTED!\r\n"));
        if (ch == Channel::A) {
            xout(QStringLiteral("Incoming Call started on Channel A\r\n"));
            d.Check3 = 1;
            StartTimeA = clock_.secondsSinceMidnight();
            StartClockA = clockText;
            d.Check5 = 0;
            d.LabelMSNA = r.ConnectedNumber;
            r.Incoming = true;
        } else if (ch == Channel::B) {
            xout(QStringLiteral("Incoming Call started on Channel B\r\n"));
            d.Check4 = 1;
            StartTimeB = clock_.secondsSinceMidnight();
            StartClockB = clockText;
            d.Check6 = 0;
            d.LabelMSNB = r.ConnectedNumber;
            r.Incoming = true;
        }
        if (r.Incoming)
            xout(QStringLiteral("STOP RINGING!!!!\r\n"));
    } else if (r.ConnectedNumber.isEmpty()) { // a port was given the channel of an offered call
        xout(QStringLiteral("Incoming Call.\r\n"));
        xout(QStringLiteral("RINGING!!!!!!!!!!!!!!!!!!!!!!!!\r\n"));
        const QString longTime = QLocale().toString(clock_.now().time(), QLocale::LongFormat);
        if (d.Check1 == 0 && ch == Channel::A) {
            d.LabelTIM = longTime;
            d.LabelDur1 = QStringLiteral("-");
            d.Check1 = 1;
            d.Check5 = 1;
            StartTimeA = clock_.secondsSinceMidnight();
            StartClockA = clockText;
            d.LabelMSNA = CidCalledA;
            d.Label1 = CidCallerA;
            d.Label19 = showPicture(CidCallerA, d.Image2, d.ImageA);
            d.Label9 = QStringLiteral("-");
            r.Incoming = true;
        } else if (d.Check2 == 0 && ch == Channel::B) {
            d.LabelTIM = longTime;
            d.LabelDur2 = QStringLiteral("-");
            d.Check2 = 1;
            d.Check6 = 1;
            StartTimeB = clock_.secondsSinceMidnight();
            StartClockB = clockText;
            d.LabelMSNB = CidCalledB;
            d.Label2 = CidCallerB;
            d.Label20 = showPicture(CidCallerB, d.Image2, d.ImageB);
            d.Label10 = QStringLiteral("-");
            r.Incoming = true;
        }
    }
}
