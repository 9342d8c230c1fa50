// The adapter's trace stream through Scan, at DebugLevel 0 and 5. A timed
// capture is fed chunk by chunk at its times (so the end-of-call timers run),
// anything else as raw bytes. The trace buffer, the three panes and the
// terminal tree must stay within their bounds whatever arrives, and a chunk
// taken at once must read as its characters one at a time.
#include "fuzz_entry.h"

#include "common/settings_store.h"
#include "monitor/engine/monitor_engine.h"
#include "monitor/engine/virtual_clock.h"
#include "common/timed_capture.h"

namespace {

constexpr qsizetype kBufferBound = TraceCapture::kTraceBufferLimit + TraceCapture::kTraceBufferLimit / 16;
constexpr qsizetype kPaneCharBound = TracePane::kMaxChars + TracePane::kMaxChars / 5;
constexpr qsizetype kPaneLineBound = TracePane::kMaxLines + TracePane::kMaxLines / 5;
// Beyond this the virtual clock stops: later hours would only repeat Timer1's ticks.
constexpr qint64 kHorizonMs = 3600 * 1000;

void checkPanes(MonitorEngine& engine)
{
    for (TracePane* pane : {&engine.Text1(), &engine.Text2(), &engine.Text3()}) {
        FUZZ_CHECK(pane->text().size() <= kPaneCharBound);
        FUZZ_CHECK(pane->text().count(u'\n') <= kPaneLineBound);
    }
    FUZZ_CHECK(engine.TreeIDs().nodes().size() <= TraceTree::kMaxNodes);
}

// What the engine shows after the chunks: the panes, the buffer and the state.
QString scanAtLevel(const QList<CaptureChunk>& chunks, int level, bool charByChar)
{
    VirtualClock clock;
    SettingsStore settings(fuzz::scratchPath(QStringLiteral("trace-settings.ini")));
    MonitorEngine engine(clock);
    engine.callList().setListPath(fuzz::scratchPath(QStringLiteral("trace-list.txt")));
    engine.reset();
    MonitorInputs inputs = readMonitorInputs(settings, level);
    inputs.bookPath = fuzz::scratchPath(QStringLiteral("trace-book.txt"));
    engine.setInputs(inputs);
    for (const CaptureChunk& chunk : chunks) {
        clock.advanceTo(std::min(chunk.ms, kHorizonMs));
        if (!charByChar)
            engine.Scan(chunk.bytes);
        for (qsizetype i = 0; charByChar && i < chunk.bytes.size(); ++i) {
            engine.Scan(chunk.bytes[i]);
            FUZZ_CHECK(engine.traceBuffer().size() <= kBufferBound);
        }
        FUZZ_CHECK(engine.traceBuffer().size() <= kBufferBound);
    }
    clock.advance(MonitorEngine::kEndOfCallDelayMs * 2); // the last call's end timers
    checkPanes(engine);
    return engine.Text1().text() + engine.Text2().text() + engine.Text3().text() + engine.traceBuffer().toString()
           + engine.stateSnapshot();
}

void traceScan(const QByteArray& data)
{
    const QList<CaptureChunk> chunks = TimedCapture::parse(data);
    scanAtLevel(chunks, 0, false);
    FUZZ_CHECK(scanAtLevel(chunks, 5, true) == scanAtLevel(chunks, 5, false));
}

} // namespace

CORVANE_FUZZ_HARNESS("trace_scan", traceScan)
