// The timed capture format, read by corvane-replay (TimedCapture::parse) and
// by the simulator's --play (sim::readCapture). Both readers must agree on
// every capture, times never go backwards, and escaping a payload and
// reading it back gives its bytes.
#include "fuzz_entry.h"

#include "sim/timed_capture.h"
#include "tools/replay_capture.h"

#include <sstream>

namespace {

// The simulator's chunks with those of the same millisecond joined, as the
// replay reader keeps them.
QList<CaptureChunk> joined(const std::vector<sim::CaptureChunk>& chunks)
{
    QList<CaptureChunk> out;
    for (const sim::CaptureChunk& c : chunks) {
        const QByteArray bytes = QByteArray::fromStdString(c.bytes);
        if (!out.isEmpty() && out.last().ms == c.ms)
            out.last().bytes += bytes;
        else
            out.append(CaptureChunk{c.ms, bytes});
    }
    return out;
}

void timedCapture(const QByteArray& data)
{
    const QList<CaptureChunk> replay = TimedCapture::parse(data);
    std::istringstream in(data.toStdString());
    const QList<CaptureChunk> simulator = joined(sim::readCapture(in));
    FUZZ_CHECK(replay.size() == simulator.size());
    qint64 last = 0;
    for (qsizetype i = 0; i < replay.size(); ++i) {
        FUZZ_CHECK(replay[i].ms == simulator[i].ms && replay[i].bytes == simulator[i].bytes);
        FUZZ_CHECK(replay[i].ms >= last);
        last = replay[i].ms;
    }
    FUZZ_CHECK(TimedCapture::unescape(TimedCapture::escape(data)) == data);
    FUZZ_CHECK(sim::unescapePayload(sim::escapePayload(data.toStdString())) == data.toStdString());
}

} // namespace

CORVANE_FUZZ_HARNESS("timed_capture", timedCapture)
