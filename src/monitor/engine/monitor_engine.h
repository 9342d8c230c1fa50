#pragma once
// The call monitor's engine: its stages one after the other. Trace capture
// (Scan, through TraceCapture) cuts lines into frames, the frame decoder reads their
// elements, call tracking (with the caller-ID announcement and the end of
// call) turns them into the call state; Timer1 shows the clock and durations.
// Qt Core only: the window draws what this keeps.
#include "monitor/engine/call_list.h"
#include "monitor/engine/call_state.h"
#include "monitor/engine/call_tracking.h"
#include "monitor/engine/clock.h"
#include "monitor/engine/frame_decoder.h"
#include "monitor/engine/monitor_display.h"
#include "monitor/engine/monitor_host.h"
#include "monitor/engine/monitor_inputs.h"
#include "monitor/engine/trace_capture.h"
#include "monitor/engine/trace_output.h"

#include <algorithm>
#include "monitor/engine/trace_tree.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QObject>
#include <algorithm>
#include <QString>
#include <array>
#include <memory>

class MonitorEngine : public QObject {
    Q_OBJECT
public:
    static constexpr int kTimer1IntervalMs = 400;
    static constexpr int kEndOfCallDelayMs = CallTracker::kEndOfCallDelayMs;

    explicit MonitorEngine(Clock& clock, QObject* parent = nullptr);
    ~MonitorEngine() override;

    void setHost(MonitorHost* host);

    // What the user's settings say (readMonitorInputs); the dial prefix and
    // the phone book reach the call list too.
    void setInputs(const MonitorInputs& inputs);
    const MonitorInputs& inputs() const { return inputs_; }
    // The trace level alone: a front end of the service asks for another.
    void setTraceLevel(int level) { inputs_.debugLevel = trace_.level = level; }
    // The view showing the monitor, pushed whenever it changes.
    void setViewState(const ViewState& view) { view_ = view; }
    // Trace mode was just switched on: no call is waiting.
    void traceModeStarted();
    // The window was just opened: no start times, no numbers shown.
    void clearCallLabels();
    // A click on a ring lamp ends that channel's ring sound loop ('A' or 'B').
    void stopRingLoop(QChar channel);
    // The adapter went away: calls in progress are ended and logged now, and
    // the terminals and the half-received line are forgotten.
    void lineLost();
    // The monitor's state as name=value lines (LF), in the order state.txt keeps.
    QString stateSnapshot() const;

    // State of a freshly loaded monitor window; starts Timer1 (400 ms).
    void reset();
    // One received character.
    void Scan(char c);
    // Received characters, as if one at a time.
    void Scan(QByteArrayView chars);
    // "CLEAR THE WINDOWS": the panes and the trace buffer emptied.
    void clearWindows();

    // The channel display as the window draws it.
    MonitorDisplay display() const { return displayOf(state_); }
    // A call rings, is dialled or talks on a channel.
    bool callOnChannel() const
    {
        return std::any_of(state_.channels.begin(), state_.channels.end(),
            [](const ChannelState& c) { return c.phase != CallPhase::Idle; });
    }
    // What is known of a terminal (TEI 1 ... 255); nullptr for others.
    const IdRecord* idRecord(int tei) const { return state_.record(tei); }
    // The capture's buffer: what arrived since the last line was cut out.
    QStringView traceBuffer() const { return capture_.buffer(); }
    TracePane& Text1();
    TracePane& Text2();
    TracePane& Text3();
    TraceTree& TreeIDs();
    CallList& callList();

    // Octets of the frame decoded last (octet 1 first), who sent it, and how many frames so far.
    const QByteArray& lastFrame() const;
    FrameDirection lastFrameDirection() const { return lastDirection_; }
    qint64 framesDecoded() const;
    bool endOfCallPending() const;

    // Timer1's tick: the clock and the durations of running calls.
    void Timer1_Timer();

    // A pure helper, public for tests.
    static QString formatDuration(float nowSeconds, float startSeconds);

signals:
    void displayChanged();
    void timer1Ticked();
    void frameDecoded();

private:
    friend struct EngineProbe; // the tests' way to set up display states
    void notifyDisplay();
    // A frame the capture cut out and parsed: decoded and tracked.
    void decodeParsedFrame(const TraceCapture::Octets& octets, int count);

    Clock& clock_;
    MonitorInputs inputs_;
    ViewState view_;
    CallState state_;
    TraceOutput trace_;
    TraceTree tree_;
    CallList callList_;
    bool displayDirty_ = false;
    // Created first: Timer1 fires before the end-of-call timers at the same moment.
    std::unique_ptr<ClockTimer> timer1_;
    FrameDecoder decoder_;
    CallTracker tracker_;

    QByteArray lastFrame_;
    FrameDirection lastDirection_ = FrameDirection::Unknown;
    qint64 framesDecoded_ = 0;
    TraceCapture capture_;
};
