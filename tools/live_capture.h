#pragma once
// corvane-capture's capture phase: the pcap opened on Wireshark's fifo, the
// adapter found and switched into trace mode with the monitor's commands,
// every frame of its trace one record with its direction and arrival time,
// flushed at once. Stopping takes the adapter out of trace mode with the
// monitor's closing sequence. Errors are sentences on stderr, which Wireshark
// shows.
#include "common/system_clock.h"
#include "device/at_channel.h"
#include "tools/capture_options.h"
#include "tools/live_frames.h"
#include "tools/pcap_writer.h"

#include <QObject>
#include <QTextStream>

class QSocketNotifier;
class SettingsStore;

class LiveCapture : public QObject {
    Q_OBJECT
public:
    LiveCapture(const CaptureOptions& options, SettingsStore& settings, QObject* parent = nullptr);
    ~LiveCapture() override;

    // Starts capturing. 0 when running or stopped meanwhile, else the exit
    // status after saying why on stderr.
    int start();
    bool running() const { return running_; }
    // SIGTERM or SIGINT: stop now, or, while start() waits for the adapter,
    // as soon as it can.
    void requestStop();

    // The port a capture uses when none is given: the settings window's.
    static QString storedPort(const SettingsStore& settings);

signals:
    // The capture ended by itself: its reader went away (0) or the adapter did (1).
    void ended(int status);

private:
    void readSettings();
    void watchReader();
    void received();
    void writeFrame(const QByteArray& frame, FrameDirection direction);
    void stop(bool adapterThere);
    void end(int status, const QString& why);
    void endSoon(int status, const QString& why);
    void say(const QString& text);

    CaptureOptions options_;
    SettingsStore& settings_;
    SystemClock clock_;
    AtChannel at_;
    PcapWriter pcap_;
    LiveFrames frames_;
    QSocketNotifier* readerGone_ = nullptr;
    QTextStream err_;
    qint64 arrivalUs_ = 0; // when the bytes being cut arrived
    bool running_ = false;
    bool stopRequested_ = false;
};
