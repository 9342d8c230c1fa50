#pragma once
// The call monitor's engine: trace capture (Scan, through TraceCapture), frame and
// element decoding, call tracking per B-channel, the caller-ID announcement,
// the trace panes, the end-of-call timers and Timer1's clock and durations.
// Qt Core only: the window draws what this keeps.
#include "monitor/engine/call_event.h"
#include "monitor/engine/call_list_model.h"
#include "monitor/engine/clock.h"
#include "monitor/engine/monitor_display.h"
#include "monitor/engine/monitor_host.h"
#include "monitor/engine/monitor_settings.h"
#include "monitor/engine/trace_capture.h"
#include "monitor/engine/trace_output.h"
#include "monitor/engine/trace_tree.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <array>
#include <memory>

class SettingsStore;

// What the decoder knows about one terminal (TEI), gathered over its frames.
struct IdRecord {
    bool Activated = false;
    bool Incoming = false;
    QString CallerNumber;
    QString ConnectedNumber;
    QString CalledDigits;
    QString DisplayCost;
    QString Channel;
    QString CostUnits;
};

// Results of one decode pass, filled by the element handlers.
struct ElementResults {
    QString channel, caller, connected, called, units, display;
};

// One information element of a frame: its length, the positions of its first
// and last content octets, and its content as "hh " text.
struct ElementView {
    int len, first, last;
    QString text;
};

class MonitorEngine : public QObject {
    Q_OBJECT
public:
    static constexpr int kTimer1IntervalMs = 400;
    static constexpr int kEndOfCallDelayMs = 800;

    MonitorEngine(Clock& clock, SettingsStore& settings, QObject* parent = nullptr);
    ~MonitorEngine() override;

    void setHost(MonitorHost* host);
    void setBookPath(const QString& path); // book.txt used by PhoneToName
    QString bookPath() const;

    // The user's choices; the dial prefix reaches the call list too.
    void setSettings(const MonitorSettings& s);
    MonitorSettings settings() const;
    // Trace mode was just switched on: no call is waiting.
    void traceModeStarted();
    // The window was just opened: no start times, no numbers shown.
    void clearCallLabels();
    // A click on a ring lamp ends that channel's ring sound loop ('A' or 'B').
    void stopRingLoop(QChar channel);
    // Whether the window was visible when the last caller was announced.
    bool popupWasVisible() const { return PopupWasVisible; }
    // The adapter went away: calls in progress are ended and logged now, and
    // the terminals and the half-received line are forgotten.
    void lineLost();
    // The monitor's state as name=value lines (LF), in the order state.txt keeps.
    QString stateSnapshot() const;

    QString DialPrefix;
    float UnitCost = 0.026f;
    bool PopupWasVisible = false;

    // State of a freshly loaded monitor window; starts Timer1 (400 ms).
    void reset();
    // One received character.
    void Scan(char c);
    // "CLEAR THE WINDOWS": the panes and the trace buffer emptied.
    void clearWindows();

    MonitorDisplay& display();
    const MonitorDisplay& display() const { return display_; }
    void notifyDisplay();
    TracePane& Text1();
    TracePane& Text2();
    TracePane& Text3();
    TraceTree& TreeIDs();
    CallListModel& callList();

    // The capture's buffer: what arrived since the last line was cut out.
    QStringView traceBuffer() const;

    // The monitor's variables under their own names.
    std::array<IdRecord, 255> IdRecords{};
    int CallWaiting = 0;
    int EndIdA = 0, EndIdB = 0;
    QString EndTypeA, EndTypeB;
    float StartTimeA = 0, StartTimeB = 0;
    QString StartClockA, StartClockB;
    QDateTime StartedAtA, StartedAtB; // the moment each start clock was taken
    QString CidCallerA, CidCalledA, CidCallerB, CidCalledB, CidCallerBusy, CidCalledBusy;

    // Octets of the frame decoded last (octet 1 first) and how many frames so far.
    const QByteArray& lastFrame() const;
    qint64 framesDecoded() const;
    bool timerEndCallAActive() const;
    bool timerEndCallBActive() const;

    // Timer handlers, public so tests can drive them directly.
    void Timer1_Timer();
    void TimerEndCallA_Timer();
    void TimerEndCallB_Timer();

    // Pure helpers of the decoder, public for tests.
    // The digits of a number element's text; "Unknown" (calling, connected)
    // or "UNKNOWN" (called) when it is too short to hold any.
    enum class NumberElement { Calling, Called }; // calling and connected read alike
    static QString parseNumber(const QString& elementText, NumberElement kind);
    static QString displayDigits(const QByteArray& content);
    static QString formatDuration(float nowSeconds, float startSeconds);

signals:
    void displayChanged();
    void timer1Ticked();
    void frameDecoded();

private:
    enum class Channel { None, A, B };

    // What belongs to one B-channel: its flags, labels, times, caller-ID texts
    // and end-of-call timer, so each step is written once for both channels.
    struct ChannelSide {
        QChar letter;             // 'A' or 'B' in the trace texts
        QLatin1String code;       // channel identification "89" or "8A"
        int waitingCode;          // CallWaiting when a waiting call is moved off this channel
        int& inUse;               // Check1 / Check2
        int& connected;           // Check3 / Check4
        int& ringing;             // Check5 / Check6
        QString& number;          // Label1 / Label2
        QString& name;            // Label19 / Label20
        QString& msn;             // LabelMSNA / LabelMSNB
        QString& cost;            // Label9 / Label10
        QString& duration;        // LabelDur1 / LabelDur2
        QString& picture;         // ImageA / ImageB
        float& startTime;         // StartTimeA / StartTimeB
        QString& startClock;      // StartClockA / StartClockB
        QDateTime& startedAt;     // when startClock was taken: the record's date
        int& endId;               // EndIdA / EndIdB
        QString& endType;         // EndTypeA / EndTypeB
        QString& cidCaller;       // CidCallerA / CidCallerB
        QString& cidCalled;       // CidCalledA / CidCalledB
        ClockTimer& endTimer;     // TimerEndCallA / TimerEndCallB
    };
    ChannelSide side(Channel ch);
    static Channel otherChannel(Channel ch) { return ch == Channel::A ? Channel::B : Channel::A; }


    // A frame the capture cut out and parsed.
    void decodeParsedFrame(const TraceCapture::Octets& octets, int count);

    // Frame dispatch and the element walk.
    void decodeOctets(int count);
    int octet(int n) const;
    void walkElements(int count, ElementResults& results);
    void handleElement(int id, const ElementView& e, ElementResults& results);
    // The element handlers (frame_decoder.cpp holds their table).
    void onChannel(const ElementView& e, ElementResults& results);
    void onCallingNumber(const ElementView& e, ElementResults& results);
    void onConnectedNumber(const ElementView& e, ElementResults& results);
    void onCalledNumber(const ElementView& e, ElementResults& results);
    void onFacility(const ElementView& e, ElementResults& results);
    void onDisplay(const ElementView& e, ElementResults& results);
    void onCause(const ElementView& e, ElementResults& results);
    void addElementNode(int id, const QString& content, const QString& expand);
    void stageAfterWalk(int count, const ElementResults& results);
    IdRecord* record();
    QString terminalKey() const;

    // Call tracking.
    Channel channelOf(const IdRecord& r) const;
    void connectionStep(IdRecord& r);
    void terminationStep(IdRecord& r);
    void perTerminalStage(IdRecord& r, const ElementResults& results);
    void outgoingStage(IdRecord& r, Channel ch);
    void answeredStage(IdRecord& r, Channel ch);
    void ringingStage(IdRecord& r, Channel ch);
    QString clockText() const; // the current time as "HH:MM:SS"
    void stampStart(const ChannelSide& s); // start clock and its moment
    void emitRingEnded(const ChannelSide& s, bool answered, const QDateTime& ringStart);
    void emitEvent(CallEvent::Kind kind, const ChannelSide* s, const QString& msn, const QString& number,
                   const QString& name);
    QString showPicture(const QString& number, QString& first, QString& second);

    // Caller-ID announcement.
    void callerIdStage(const ElementResults& results);
    void logCid(const QString& called, const QString& caller, const QString& name);

    // End of call.
    void endOfCall(const ChannelSide& s);

    Clock& clock_;
    SettingsStore& settings_;
    MonitorHost* host_ = nullptr;
    QString bookPath_;
    bool bookPathSet_ = false;

    MonitorDisplay display_;
    TraceOutput trace_;
    TraceTree tree_;
    CallListModel callList_;
    std::unique_ptr<ClockTimer> timer1_, timerEndCallA_, timerEndCallB_;

    TraceCapture::Octets frameOctets_{};
    int frameCount_ = 0;
    int tei_ = 0;
    QByteArray lastFrame_;
    qint64 framesDecoded_ = 0;
    TraceCapture capture_;
    bool displayDirty_ = false;
};
