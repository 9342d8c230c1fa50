#pragma once
// Call tracking per B-channel, the caller-ID announcement and the end of call:
// what the decoder saw in a terminal's frame turns into call events on
// channel A ("89") or B ("8A"), each channel's call kept in its record of the
// call state. Its parts live in call_tracking.cpp, caller_id.cpp,
// end_of_call.cpp and line_loss.cpp.
#include "monitor/engine/call_event.h"
#include "monitor/engine/call_state.h"
#include "monitor/engine/clock.h"
#include "monitor/engine/frame_decoder.h"
#include "monitor/engine/monitor_inputs.h"
#include "monitor/engine/trace_output.h"

#include <QString>
#include <array>
#include <functional>
#include <memory>

class CallList;
class MonitorHost;

class CallTracker {
public:
    static constexpr int kEndOfCallDelayMs = 800;

    // What tracking needs around it; all outlive the tracker.
    struct Context {
        Clock& clock;
        CallList& callList;
        TraceOutput& trace;
        CallState& state;
        const MonitorInputs& inputs;         // the user's settings, as the engine holds them
        const ViewState& view;               // the view showing the monitor, as last pushed
        bool& displayDirty;                  // the engine notifies the views once per character
        std::function<void()> notifyDisplay; // notifies them now
    };
    explicit CallTracker(const Context& c);

    void setHost(MonitorHost* host) { host_ = host; }

    // Everything one decoded frame means, in the order the monitor always did it,
    // then the channels' changed phases.
    void track(const DecodedFrame& frame);
    // A freshly loaded monitor: no end of call pending.
    void stopEndTimers();
    // A call waits for its end-of-call timer.
    bool endOfCallPending() const;
    // The adapter went away: calls in progress end and are logged now.
    void lineLost();

private:
    // Channels by index: 0 is A (B-channel 1), 1 is B (B-channel 2).
    static constexpr int kNoChannel = -1;
    static int channelOf(QStringView code); // kNoChannel unless "89" or "8A"
    static int channelOf(const IdRecord& r) { return channelOf(r.Channel); }
    static int other(int ch) { return 1 - ch; }
    static QChar letter(int ch) { return ch == 0 ? u'A' : u'B'; }
    static QLatin1String code(int ch);
    // CallWaiting when a waiting call was moved off the channel.
    static int waitingCode(int ch) { return ch + 1; }
    ChannelState& channel(int ch) { return state_.channels[size_t(ch)]; }
    template <typename... Parts>
    void xout(const Parts&... parts)
    {
        trace_.xout(parts...);
    }

    void trackFrame(const DecodedFrame& frame);
    // Connected and Phase events for each channel whose phase changed since
    // the last report, the talking time's start and end taken.
    void reportPhases();
    int secondsTalked(int ch) const;

    // Within the frame, where its elements stand.
    void applySeen(IdRecord* r, const SeenElement& seen);
    void connectionStep(IdRecord& r);
    void terminationStep(IdRecord& r);
    // Hands the channel's call to its end-of-call timer.
    void endCall(int ch, const QString& type);
    // A new call on the channel: the last one, still waiting for its end of
    // call, is logged now, as it was, before the new one changes the channel.
    void settleLastCall(int ch);
    // After the frame's elements.
    void perTerminalStage(IdRecord& r, const ElementResults& results);
    void outgoingStage(IdRecord& r, int ch);
    void answeredStage(IdRecord& r, int ch);
    void ringingStage(IdRecord& r, int ch);
    void stampStart(ChannelState& c);   // start clock and its moment
    void startRunning(ChannelState& c); // the duration counts from now
    void emitRingEnded(int ch, bool answered, const QDateTime& ringStart);
    // A call event of a call that begins now, or began at `start`.
    void emitEvent(CallEvent::Kind kind, int ch, const QString& msn, const QString& number, const QString& name,
        const QDateTime& start = {});
    // Hands an event to the host, with the name of its own number.
    void publish(CallEvent& e);
    // The picture rule on the large picture and, given one, the channel's.
    QString showPicture(const QString& number, ChannelState* c);
    // Where `number` is from when it has no `name`; nothing when it has one.
    PlaceOfNumber placeUnlessNamed(const QString& number, const QString& name) const;

    // Caller-ID announcement.
    void callerIdStage(const ElementResults& results);
    void logCid(const QString& called, const QString& caller, const QString& name);

    // End of call.
    void endOfCall(int ch, bool early = false);
    // Logged (unless `logged` is false) and Ended for the channel's call.
    void emitCallOver(int ch, std::optional<CallType> type, bool logged);

    Clock& clock_;
    CallList& callList_;
    TraceOutput& trace_;
    CallState& state_;
    const MonitorInputs& inputs_;
    const ViewState& view_;
    MonitorHost* host_ = nullptr;
    std::array<std::unique_ptr<ClockTimer>, CallState::kChannels> endTimers_; // TimerEndCallA, TimerEndCallB
    int tei_ = 0;                                                             // the terminal of the frame being tracked
    std::array<CallPhase, CallState::kChannels> reportedPhases_{};
    static constexpr qint64 kNotYet = -1;
    // Steady ms per channel, of its current or last call.
    std::array<qint64, CallState::kChannels> talkStart_{kNotYet, kNotYet}, talkEnd_{kNotYet, kNotYet};
    bool& displayDirty_;
    std::function<void()> notifyDisplay_;
};
