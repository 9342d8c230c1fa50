#include "monitor/engine/monitor_engine.h"

#include "common/regional.h"
#include "common/settings_store.h"

#include <algorithm>
#include <charconv>

MonitorEngine::MonitorEngine(Clock& clock, SettingsStore& settings, QObject* parent)
    : QObject(parent), clock_(clock), timer1_(clock_.createTimer([this] { Timer1_Timer(); }, false)),
      decoder_(trace_, tree_),
      tracker_({clock_, settings, callList_, trace_, state_, settings_, displayDirty_, [this] { notifyDisplay(); }}),
      capture_(trace_, {[this] {
                            state_.display.ImageLED = 2;
                            displayDirty_ = true;
                        },
                           [this](const TraceCapture::Octets& octets, int count) { decodeParsedFrame(octets, count); }})
{
    tree_.reset();
}

MonitorEngine::~MonitorEngine() = default;

void MonitorEngine::setHost(MonitorHost* host)
{
    tracker_.setHost(host);
}

void MonitorEngine::setBookPath(const QString& path)
{
    tracker_.setBookPath(path);
    callList_.setBookPath(path);
}

QString MonitorEngine::bookPath() const
{
    return tracker_.bookPath();
}

void MonitorEngine::reset()
{
    state_ = CallState{};
    capture_.clear();
    trace_.clear();
    tree_.reset();
    tracker_.stopEndTimers();
    timer1_->start(kTimer1IntervalMs);
    notifyDisplay();
}

void MonitorEngine::clearWindows()
{
    trace_.clear();
    capture_.clear();
}

void MonitorEngine::setSettings(const MonitorSettings& s)
{
    settings_ = s;
    trace_.level = s.debugLevel;
    callList_.setDialPrefix(s.dialPrefix);
}

MonitorSettings MonitorEngine::settings() const
{
    return settings_;
}

void MonitorEngine::traceModeStarted()
{
    state_.CallWaiting = 0;
}

void MonitorEngine::clearCallLabels()
{
    state_.StartTimeA = state_.StartTimeB = 0;
    state_.display.Label1.clear();
    state_.display.Label2.clear();
    notifyDisplay();
}

void MonitorEngine::stopRingLoop(QChar channel)
{
    (channel == u'A' ? state_.display.Check5 : state_.display.Check6) = 0;
    notifyDisplay();
}

void MonitorEngine::lineLost()
{
    trace_.xout(QStringLiteral("ADAPTER LOST: ENDING THE CALLS IN PROGRESS\r\n"));
    Timer1_Timer(); // durations up to this moment
    tracker_.lineLost();
    capture_.clear(); // a line cut off by the loss
    notifyDisplay();
}

QString MonitorEngine::stateSnapshot() const
{
    const MonitorDisplay& d = state_.display;
    const CallState& c = state_;
    const QList<std::pair<const char*, QString>> items{
        {"Check1", QString::number(d.Check1)},
        {"Check2", QString::number(d.Check2)},
        {"Check3", QString::number(d.Check3)},
        {"Check4", QString::number(d.Check4)},
        {"Check5", QString::number(d.Check5)},
        {"Check6", QString::number(d.Check6)},
        {"Label1", d.Label1},
        {"Label2", d.Label2},
        {"Label19", d.Label19},
        {"Label20", d.Label20},
        {"LabelMSNA", d.LabelMSNA},
        {"LabelMSNB", d.LabelMSNB},
        {"Label9", d.Label9},
        {"Label10", d.Label10},
        {"LabelDur1", d.LabelDur1},
        {"LabelDur2", d.LabelDur2},
        {"LabelCID", d.LabelCID},
        {"CallWaiting", QString::number(c.CallWaiting)},
        {"CidCallerA", c.CidCallerA},
        {"CidCalledA", c.CidCalledA},
        {"CidCallerB", c.CidCallerB},
        {"CidCalledB", c.CidCalledB},
        {"CidCallerBusy", c.CidCallerBusy},
        {"CidCalledBusy", c.CidCalledBusy},
    };
    QString text;
    for (const auto& [name, value] : items)
        text += QLatin1String(name) + u'=' + value + u'\n';
    return text;
}

void MonitorEngine::notifyDisplay()
{
    displayDirty_ = false;
    emit displayChanged();
}

TracePane& MonitorEngine::Text1()
{
    return trace_.text1;
}

TracePane& MonitorEngine::Text2()
{
    return trace_.text2;
}

TracePane& MonitorEngine::Text3()
{
    return trace_.text3;
}

TraceTree& MonitorEngine::TreeIDs()
{
    return tree_;
}

CallListModel& MonitorEngine::callList()
{
    return callList_;
}

void MonitorEngine::Scan(char c)
{
    Scan(QByteArrayView(&c, 1));
}

// Only an "L" starts a decode pass, and with it a change of the display: the
// characters up to each "L" go to the capture at once.
void MonitorEngine::Scan(QByteArrayView chars)
{
    while (!chars.isEmpty()) {
        const qsizetype l = chars.indexOf('L');
        const qsizetype n = l < 0 ? chars.size() : l + 1;
        capture_.scan(chars.first(n));
        chars = chars.sliced(n);
        if (displayDirty_)
            notifyDisplay();
    }
}

void MonitorEngine::decodeParsedFrame(const TraceCapture::Octets& octets, int count)
{
    tracker_.track(decoder_.decode(octets, count));
    const bool stored = count >= 1 && count <= TraceCapture::kMaxOctets;
    lastFrame_.resize(stored ? count : 0); // keeps its room: no allocation per frame
    if (stored)
        std::copy_n(octets.begin() + 1, count, lastFrame_.begin());
    lastDirection_ = TraceCapture::directionOf(capture_.lastLine());
    ++framesDecoded_;
    emit frameDecoded();
}

const QByteArray& MonitorEngine::lastFrame() const
{
    return lastFrame_;
}

qint64 MonitorEngine::framesDecoded() const
{
    return framesDecoded_;
}

bool MonitorEngine::timerEndCallAActive() const
{
    return tracker_.endTimerActive(u'A');
}

bool MonitorEngine::timerEndCallBActive() const
{
    return tracker_.endTimerActive(u'B');
}

void MonitorEngine::TimerEndCallA_Timer()
{
    tracker_.endOfCallTimer(u'A');
}

void MonitorEngine::TimerEndCallB_Timer()
{
    tracker_.endOfCallTimer(u'B');
}

// Seconds since midnight are single precision as the monitor keeps them; a
// call across midnight gets a day added, and hours have no upper limit.
// Written into a buffer: Timer1 formats a running call's duration at every tick.
QString MonitorEngine::formatDuration(float nowSeconds, float startSeconds)
{
    float d = nowSeconds - startSeconds;
    if (d < 0)
        d += 86400.0f;
    const long long s = regional::roundHalfEven(double(d));
    constexpr int kLongestText = 28; // 20 characters of hours, then ":" and at most 3 per part, twice
    char text[kLongestText];
    char* end = std::to_chars(text, text + kLongestText, s / 3600).ptr;
    for (const long long part : {(s / 60) % 60, s % 60}) {
        *end++ = ':';
        if (part >= 0 && part < 10) // one character: padded to two
            *end++ = '0';
        end = std::to_chars(end, text + kLongestText, part).ptr;
    }
    return QString::fromLatin1(text, end - text);
}

namespace {

// "HH:mm:ss" as QDateTime::toString writes it (nothing for an invalid time),
// by hand: through QDateTime it cost more than the rest of a tick.
QString clockText(const QTime& time)
{
    if (!time.isValid())
        return {};
    const int parts[] = {time.hour(), time.minute(), time.second()};
    char text[] = "00:00:00";
    for (int i = 0; i < 3; ++i) {
        text[3 * i] = char('0' + parts[i] / 10);
        text[3 * i + 1] = char('0' + parts[i] % 10);
    }
    return QLatin1String(text);
}

} // namespace

void MonitorEngine::Timer1_Timer()
{
    MonitorDisplay& d = state_.display;
    d.ImageLED = 1;
    d.LabelNOW = clockText(clock_.now().time());
    const float now = clock_.secondsSinceMidnight();
    if (state_.StartTimeA > 0)
        d.LabelDur1 = formatDuration(now, state_.StartTimeA);
    if (state_.StartTimeB > 0)
        d.LabelDur2 = formatDuration(now, state_.StartTimeB);
    notifyDisplay();
    emit timer1Ticked();
}
