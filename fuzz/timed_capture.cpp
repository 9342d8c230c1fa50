// The timed capture format, as the replay and the simulator's --play read it
// and --record writes it. Read in blocks of any size a capture gives the same
// chunks, times never go backwards, and what the reader gives the writer
// writes back into a capture that reads the same; escaping a payload and
// reading it back gives its bytes.
#include "fuzz_entry.h"

#include "common/timed_capture.h"

#include <QBuffer>

namespace {

// The chunks of `data` read in blocks of `blockBytes`, those of one moment joined.
QList<CaptureChunk> readInBlocks(const QByteArray& data, qint64 blockBytes)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    TimedCapture::Reader reader;
    reader.start(buffer, blockBytes);
    QList<CaptureChunk> chunks;
    for (CaptureChunk c; reader.next(c);) {
        if (!chunks.isEmpty() && chunks.last().ms == c.ms)
            chunks.last().bytes += c.bytes;
        else
            chunks.append(c);
    }
    return chunks;
}

bool same(const QList<CaptureChunk>& a, const QList<CaptureChunk>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
        [](const CaptureChunk& x, const CaptureChunk& y) { return x.ms == y.ms && x.bytes == y.bytes; });
}

void timedCapture(const QByteArray& data)
{
    const QList<CaptureChunk> chunks = TimedCapture::parse(data);
    FUZZ_CHECK(same(chunks, readInBlocks(data, 7)));
    qint64 last = 0;
    for (const CaptureChunk& c : chunks) {
        FUZZ_CHECK(c.ms >= last);
        last = c.ms;
    }
    QBuffer written;
    written.open(QIODevice::WriteOnly);
    TimedCapture::Writer writer(written, "fuzz");
    for (const CaptureChunk& c : chunks)
        FUZZ_CHECK(writer.write(c.ms, c.bytes));
    FUZZ_CHECK(same(TimedCapture::parse(written.data()), chunks));
    FUZZ_CHECK(TimedCapture::unescape(TimedCapture::escape(data)) == data);
}

} // namespace

CORVANE_FUZZ_HARNESS("timed_capture", timedCapture)
