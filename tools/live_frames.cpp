#include "tools/live_frames.h"

LiveFrames::LiveFrames(FrameHandler handler)
    : handler_(std::move(handler)),
      capture_(quiet_, {[] {}, [this](const TraceCapture::Octets& octets, int count) { parsed(octets, count); }})
{
}

void LiveFrames::feed(QByteArrayView bytes)
{
    for (char c : bytes) {
        capture_.scan(c);
        if (c == 'L') {
            afterBreak_ = -1; // the scan cut the line before it
        } else if (c == '\n') {
            afterBreak_ = 0;
        } else if (afterBreak_ >= 0 && ++afterBreak_ == TraceCapture::kTrailerLength) {
            capture_.cutLine();
            afterBreak_ = -1;
        }
    }
}

void LiveFrames::parsed(const TraceCapture::Octets& octets, int count)
{
    if (count < 1 || count > TraceCapture::kMaxOctets)
        return;
    const QString& line = capture_.lastLine();
    const FrameDirection direction = TraceCapture::directionOf(line);
    if (direction == FrameDirection::Unknown || !TraceCapture::octetsIntact(line, count))
        return;
    handler_(QByteArray(reinterpret_cast<const char*>(octets.data()) + 1, count), direction);
}
