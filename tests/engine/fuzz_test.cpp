// After garbage from the line, decoding resumes on the next good line. (The
// bounds under random input are the trace fuzz harness's invariants; its
// saved inputs run in every test run.)
#include "engine_fixture.h"

using namespace frames;

namespace {

class ResyncTest : public EngineFixture, public ::testing::WithParamInterface<int> {};

TEST_P(ResyncTest, AFloodWithoutLineBreaksIsBoundedAndTheNextGoodLinesDecode)
{
    setLevel(GetParam());
    feed("L1   0 -> 02 FF 03 08 " + QByteArray(3 * 1024 * 1024, 'x'));
    EXPECT_LE(engine->traceBuffer().size(), TraceCapture::kTraceBufferLimit + TraceCapture::kTraceBufferLimit / 16);
    // The trims assume each line starts the buffer, so left-over garbage costs a
    // few lines; then every good line is decoded again, one per line.
    feed(" \r\n 00000000");
    int goodInARow = 0;
    for (int i = 0; i < 300 && goodInARow < 20; ++i) {
        const qint64 before = engine->framesDecoded();
        frame({0x00, 0x77, 0x7F});
        const bool good = engine->framesDecoded() == before + 1 && engine->lastFrame() == QByteArray::fromHex("00777F");
        goodInARow = good ? goodInARow + 1 : 0;
    }
    EXPECT_EQ(goodInARow, 20);
    EXPECT_LT(engine->traceBuffer().size(), 100);
}

INSTANTIATE_TEST_SUITE_P(Levels, ResyncTest, ::testing::Values(0, 5));

} // namespace
