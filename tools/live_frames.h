#pragma once
// The adapter's trace cut into frames as the monitor cuts it (TraceCapture),
// without waiting for the next line: a line is complete once its trailer is
// in, the characters the monitor's trims take off when the next "L" arrives.
// So the last frame of a burst is not held back until the next one comes (an
// idle link is polled only every 10 s). Only whole frame lines become frames:
// a line without the sender's mark, with damaged octets or longer than the
// decoder reads is skipped.
#include "monitor/engine/frame_direction.h"
#include "monitor/engine/trace_capture.h"
#include "monitor/engine/trace_output.h"

#include <QByteArray>
#include <QByteArrayView>
#include <functional>

class LiveFrames {
public:
    using FrameHandler = std::function<void(const QByteArray& frame, FrameDirection direction)>;

    explicit LiveFrames(FrameHandler handler);

    void feed(QByteArrayView bytes);

private:
    void parsed(const TraceCapture::Octets& octets, int count);

    FrameHandler handler_;
    TraceOutput quiet_; // no trace panes
    TraceCapture capture_;
    qsizetype afterBreak_ = -1; // characters since a line break; -1 while no line waits for its trailer
};
