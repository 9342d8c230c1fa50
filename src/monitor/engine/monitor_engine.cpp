#include "monitor/engine/monitor_engine.h"

#include "common/regional.h"
#include "common/settings_store.h"
#include "phonebook/book_file.h"

MonitorEngine::MonitorEngine(Clock& clock, SettingsStore& settings, QObject* parent)
    : QObject(parent), clock_(clock), settings_(settings),
      capture_(trace_, {[this] {
                           display_.ImageLED = 2;
                           displayDirty_ = true;
                       },
                        [this](const TraceCapture::Octets& octets, int count) { decodeParsedFrame(octets, count); }})
{
    // Creation order is the tie order on a virtual clock: Timer1, then A, then B.
    timer1_ = clock_.createTimer([this] { Timer1_Timer(); }, false);
    timerEndCallA_ = clock_.createTimer([this] { TimerEndCallA_Timer(); }, true);
    timerEndCallB_ = clock_.createTimer([this] { TimerEndCallB_Timer(); }, true);
    tree_.reset();
}

MonitorEngine::~MonitorEngine() = default;

void MonitorEngine::setHost(MonitorHost* host)
{
    host_ = host;
}

void MonitorEngine::setBookPath(const QString& path)
{
    bookPath_ = path;
    bookPathSet_ = true;
    callList_.setBookPath(path);
}

QString MonitorEngine::bookPath() const
{
    return bookPathSet_ ? bookPath_ : BookFile::defaultPath();
}

void MonitorEngine::reset()
{
    IdRecords.fill(IdRecord{});
    CallWaiting = 0;
    EndIdA = EndIdB = 0;
    EndTypeA.clear();
    EndTypeB.clear();
    StartTimeA = StartTimeB = 0;
    StartClockA.clear();
    StartClockB.clear();
    StartedAtA = StartedAtB = QDateTime();
    CidCallerA.clear();
    CidCalledA.clear();
    CidCallerB.clear();
    CidCalledB.clear();
    CidCallerBusy.clear();
    CidCalledBusy.clear();
    PopupWasVisible = false;
    capture_.clear();
    frameOctets_.fill(0);
    frameCount_ = 0;
    trace_.clear();
    tree_.reset();
    display_ = MonitorDisplay{};
    timerEndCallA_->stop();
    timerEndCallB_->stop();
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
    trace_.level = s.debugLevel;
    DialPrefix = s.dialPrefix;
    UnitCost = s.unitCost;
    callList_.setDialPrefix(DialPrefix);
}

MonitorSettings MonitorEngine::settings() const
{
    return {trace_.level, DialPrefix, UnitCost};
}

void MonitorEngine::traceModeStarted()
{
    CallWaiting = 0;
}

void MonitorEngine::clearCallLabels()
{
    StartTimeA = StartTimeB = 0;
    display_.Label1.clear();
    display_.Label2.clear();
    notifyDisplay();
}

void MonitorEngine::stopRingLoop(QChar channel)
{
    (channel == u'A' ? display_.Check5 : display_.Check6) = 0;
    notifyDisplay();
}

QString MonitorEngine::stateSnapshot() const
{
    const MonitorDisplay& d = display_;
    const QList<std::pair<const char*, QString>> items{
        {"Check1", QString::number(d.Check1)}, {"Check2", QString::number(d.Check2)},
        {"Check3", QString::number(d.Check3)}, {"Check4", QString::number(d.Check4)},
        {"Check5", QString::number(d.Check5)}, {"Check6", QString::number(d.Check6)},
        {"Label1", d.Label1},                  {"Label2", d.Label2},
        {"Label19", d.Label19},                {"Label20", d.Label20},
        {"LabelMSNA", d.LabelMSNA},            {"LabelMSNB", d.LabelMSNB},
        {"Label9", d.Label9},                  {"Label10", d.Label10},
        {"LabelDur1", d.LabelDur1},            {"LabelDur2", d.LabelDur2},
        {"LabelCID", d.LabelCID},              {"CallWaiting", QString::number(CallWaiting)},
        {"CidCallerA", CidCallerA},            {"CidCalledA", CidCalledA},
        {"CidCallerB", CidCallerB},            {"CidCalledB", CidCalledB},
        {"CidCallerBusy", CidCallerBusy},      {"CidCalledBusy", CidCalledBusy},
    };
    QString text;
    for (const auto& [name, value] : items)
        text += QLatin1String(name) + u'=' + value + u'\n';
    return text;
}

MonitorDisplay& MonitorEngine::display()
{
    return display_;
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
    capture_.scan(c);
    if (displayDirty_)
        notifyDisplay();
}

QStringView MonitorEngine::traceBuffer() const
{
    return capture_.buffer();
}

void MonitorEngine::decodeParsedFrame(const TraceCapture::Octets& octets, int count)
{
    frameOctets_ = octets;
    frameCount_ = count;
    decodeOctets(count);

    lastFrame_.clear();
    if (count >= 1 && count <= TraceCapture::kMaxOctets)
        lastFrame_ = QByteArray(reinterpret_cast<const char*>(frameOctets_.data()) + 1, count);
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
    return timerEndCallA_->isActive();
}

bool MonitorEngine::timerEndCallBActive() const
{
    return timerEndCallB_->isActive();
}

// Seconds since midnight are single precision as the monitor keeps them; a
// call across midnight gets a day added, and hours have no upper limit.
QString MonitorEngine::formatDuration(float nowSeconds, float startSeconds)
{
    float d = nowSeconds - startSeconds;
    if (d < 0)
        d += 86400.0f;
    const long long s = regional::roundHalfEven(double(d));
    const auto twoDigits = [](long long v) { return QString::number(v).rightJustified(2, u'0'); };
    return QString::number(s / 3600) + u':' + twoDigits((s / 60) % 60) + u':' + twoDigits(s % 60);
}

void MonitorEngine::Timer1_Timer()
{
    display_.ImageLED = 1;
    display_.LabelNOW = clock_.now().toString(QStringLiteral("HH:mm:ss"));
    const float now = clock_.secondsSinceMidnight();
    if (StartTimeA > 0)
        display_.LabelDur1 = formatDuration(now, StartTimeA);
    if (StartTimeB > 0)
        display_.LabelDur2 = formatDuration(now, StartTimeB);
    notifyDisplay();
    emit timer1Ticked();
}
