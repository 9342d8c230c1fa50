#pragma once
// Call tracking per B-channel, the caller-ID announcement and the end of call:
// what the decoder saw in a terminal's frame turns into call events on
// channel A ("89") or B ("8A"). No explicit state machine: the flags of the
// display and the terminal's record are the state. Its parts live in
// call_tracking.cpp, caller_id.cpp, end_of_call.cpp and line_loss.cpp.
#include "monitor/engine/call_event.h"
#include "monitor/engine/call_state.h"
#include "monitor/engine/clock.h"
#include "monitor/engine/frame_decoder.h"
#include "monitor/engine/monitor_inputs.h"
#include "monitor/engine/trace_output.h"

#include <QString>
#include <functional>
#include <memory>

class CallListModel;
class MonitorHost;

class CallTracker {
public:
    static constexpr int kEndOfCallDelayMs = 800;

    // What tracking needs around it; all outlive the tracker.
    struct Context {
        Clock& clock;
        CallListModel& callList;
        TraceOutput& trace;
        CallState& state;
        const MonitorInputs& inputs;         // the user's settings, as the engine holds them
        const ViewState& view;               // the view showing the monitor, as last pushed
        bool& displayDirty;                  // the engine notifies the views once per character
        std::function<void()> notifyDisplay; // notifies them now
    };
    explicit CallTracker(const Context& c);

    void setHost(MonitorHost* host) { host_ = host; }

    // Everything one decoded frame means, in the order the monitor always did it.
    void track(const DecodedFrame& frame);
    // A freshly loaded monitor: no end of call pending.
    void stopEndTimers();
    bool endTimerActive(QChar channel) const;
    void endOfCallTimer(QChar channel);
    // The adapter went away: calls in progress end and are logged now.
    void lineLost();

private:
    enum class Channel { None, A, B };

    // What belongs to one B-channel: its flags, labels, times, caller-ID texts
    // and end-of-call timer, so each step is written once for both channels.
    struct ChannelSide {
        QChar letter;         // 'A' or 'B' in the trace texts
        QLatin1String code;   // channel identification "89" or "8A"
        int waitingCode;      // CallWaiting when a waiting call is moved off this channel
        int& inUse;           // Check1 / Check2
        int& connected;       // Check3 / Check4
        int& ringing;         // Check5 / Check6
        QString& number;      // Label1 / Label2
        QString& name;        // Label19 / Label20
        QString& msn;         // LabelMSNA / LabelMSNB
        QString& cost;        // Label9 / Label10
        QString& duration;    // LabelDur1 / LabelDur2
        QString& picture;     // ImageA / ImageB
        float& startTime;     // StartTimeA / StartTimeB
        QString& startClock;  // StartClockA / StartClockB
        QDateTime& startedAt; // when startClock was taken: the record's date
        int& endId;           // EndIdA / EndIdB
        QString& endType;     // EndTypeA / EndTypeB
        QString& cidCaller;   // CidCallerA / CidCallerB
        QString& cidCalled;   // CidCalledA / CidCalledB
        ClockTimer& endTimer; // TimerEndCallA / TimerEndCallB
    };
    ChannelSide side(Channel ch);
    static Channel otherChannel(Channel ch) { return ch == Channel::A ? Channel::B : Channel::A; }
    Channel channelOf(const IdRecord& r) const;
    void xout(const QString& deb) { trace_.xout(deb); }

    // Within the frame, where its elements stand.
    void applySeen(IdRecord* r, const SeenElement& seen);
    void connectionStep(IdRecord& r);
    void terminationStep(IdRecord& r);
    // After the frame's elements.
    void perTerminalStage(IdRecord& r, const ElementResults& results);
    void outgoingStage(IdRecord& r, Channel ch);
    void answeredStage(IdRecord& r, Channel ch);
    void ringingStage(IdRecord& r, Channel ch);
    void stampStart(const ChannelSide& s); // start clock and its moment
    void emitRingEnded(const ChannelSide& s, bool answered, const QDateTime& ringStart);
    void emitEvent(
        CallEvent::Kind kind, const ChannelSide* s, const QString& msn, const QString& number, const QString& name);
    QString showPicture(const QString& number, QString& first, QString& second);

    // Caller-ID announcement.
    void callerIdStage(const ElementResults& results);
    void logCid(const QString& called, const QString& caller, const QString& name);

    // End of call.
    void endOfCall(const ChannelSide& s);

    Clock& clock_;
    CallListModel& callList_;
    TraceOutput& trace_;
    CallState& state_;
    const MonitorInputs& inputs_;
    const ViewState& view_;
    MonitorHost* host_ = nullptr;
    std::unique_ptr<ClockTimer> timerEndCallA_, timerEndCallB_;
    int tei_ = 0; // the terminal of the frame being tracked
    bool& displayDirty_;
    std::function<void()> notifyDisplay_;
};
