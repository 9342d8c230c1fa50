#include "monitor/engine/monitor_engine.h"

#include "common/regional.h"

#include "monitor/engine/time_texts.h"

#include <algorithm>
#include <charconv>

MonitorEngine::MonitorEngine(Clock& clock, QObject* parent)
    : QObject(parent), clock_(clock), timer1_(clock_.createTimer([this] { Timer1_Timer(); }, false)),
      decoder_(trace_, tree_),
      tracker_({clock_, callList_, trace_, state_, inputs_, view_, displayDirty_, [this] { notifyDisplay(); }}),
      capture_(trace_, {[this] {
                            state_.trafficLamp = 2;
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

void MonitorEngine::setInputs(const MonitorInputs& inputs)
{
    inputs_ = inputs;
    trace_.level = inputs.debugLevel;
    callList_.setDialPrefix(inputs.dialPrefix);
    callList_.setPhoneBook(inputs.bookPath, inputs.numberPlan, inputs.contacts, inputs.bookCache);
}

void MonitorEngine::traceModeStarted()
{
    state_.CallWaiting = 0;
}

void MonitorEngine::clearCallLabels()
{
    for (ChannelState& c : state_.channels) {
        c.startTime = 0;
        c.number.clear();
    }
    notifyDisplay();
}

void MonitorEngine::stopRingLoop(QChar channel)
{
    state_.channels[channel == u'A' ? 0 : 1].ringSounds = false;
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
    return stateText(state_);
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

CallList& MonitorEngine::callList()
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

bool MonitorEngine::endOfCallPending() const
{
    return tracker_.endOfCallPending();
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

void MonitorEngine::Timer1_Timer()
{
    state_.trafficLamp = 1;
    state_.clockText = timetext::clock(clock_.now().time());
    const qint64 now = clock_.steadyMs(); // a wall clock set back or on changes no duration
    for (ChannelState& c : state_.channels)
        if (c.startTime > 0)
            c.duration = formatDuration(float(double(now - c.startSteadyMs) / 1000.0), 0.0f);
    notifyDisplay();
    emit timer1Ticked();
}
