#pragma once
// The running device: the pseudo-terminal, the AT interpreter, the command
// log, and in trace mode the scenario's frames or a capture played back,
// optionally recorded as a timed capture.
#include "sim/at_interpreter.h"
#include "sim/pty_transport.h"
#include "sim/sim_options.h"
#include "sim/trace_session.h"

#include "common/timed_capture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QTimer>

#include <fstream>
#include <memory>

class QSocketNotifier;

namespace sim {

class Simulator : public QObject {
    Q_OBJECT
public:
    Simulator(SimOptions options, Scenario scenario, QObject* parent = nullptr);
    ~Simulator() override;

    // Opens the line and the files; error text, or "" on success.
    std::string start();
    // Saves the device state and removes the link.
    void stop();

    const PtyTransport& transport() const { return pty_; }
    DeviceState& device() { return device_; }

private:
    void onReadable();
    void answer(const AtCommand& command);
    void deliver(const AtReply& reply);
    void switchTrace(bool on);
    void pump();
    void schedulePump();
    void send(const std::string& bytes, std::int64_t atMs);
    std::int64_t lineMs() const { return lineClock_.isValid() ? lineClock_.elapsed() : 0; }

    SimOptions options_;
    DeviceState device_;
    std::unique_ptr<AtInterpreter> interpreter_;
    PtyTransport pty_;
    QSocketNotifier* readNotifier_ = nullptr;
    QElapsedTimer sinceStart_;
    std::ofstream log_;

    std::unique_ptr<TraceSession> session_;
    QList<CaptureChunk> playback_;
    qsizetype playIndex_ = 0;
    QFile recordFile_;
    std::unique_ptr<TimedCapture::Writer> recorder_;

    bool traceOn_ = false;
    QElapsedTimer lineClock_;      // the line's time: since the first ATCD9
    std::int64_t traceOnAtMs_ = 0; // line time of the latest ATCD9
    QTimer pumpTimer_;
};

} // namespace sim
