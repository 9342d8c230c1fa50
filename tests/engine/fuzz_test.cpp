// Garbage from the line: random and mutated bytes never crash the engine,
// memory stays bounded, and decoding resumes on the next good line.
#include "engine_fixture.h"

#include <random>

using namespace frames;

namespace {

class FuzzTest : public EngineFixture, public ::testing::WithParamInterface<int> {};

TEST_P(FuzzTest, GarbageNeverBreaksDecoding)
{
    engine->DebugLevel = GetParam();
    std::mt19937 rng(1234 + GetParam());
    const QByteArray good = traceLine(iframe(0x81, 0x05, cat({callingNumber("4711"), channel(0x89)})));
    const QByteArray alphabet = "L1 0-><ABCDEF0123456789\r\n*$l";
    for (int round = 0; round < 40; ++round) {
        QByteArray chunk;
        const int n = 2000 + int(rng() % 6000);
        for (int i = 0; i < n; ++i) {
            switch (rng() % 4) {
            case 0: chunk += char(rng() & 0xFF); break;                       // any byte
            case 1: chunk += alphabet[int(rng() % alphabet.size())]; break;   // trace-like characters
            case 2: { // a good line with a few octets changed or cut
                QByteArray line = good;
                for (int k = 0; k < 3; ++k)
                    line[int(rng() % line.size())] = char(rng() & 0xFF);
                chunk += line.left(int(rng() % line.size()) + 1);
                break;
            }
            default: chunk += "L1   0 -> 02 FF 03 08 "; break; // long broadcast fragments
            }
        }
        feed(chunk);
        ASSERT_LE(engine->TraceBuffer.size(), MonitorEngine::kTraceBufferLimit + MonitorEngine::kTraceBufferLimit / 16);
        for (const TracePane* p : {&engine->Text1(), &engine->Text2(), &engine->Text3()})
            ASSERT_LE(p->text().size(), TracePane::kMaxChars + TracePane::kMaxChars / 5);
        ASSERT_LE(engine->TreeIDs().nodes().size(), TraceTree::kMaxNodes);
    }
    // A flood without any line break, then the next good line decodes.
    feed(QByteArray(3 * 1024 * 1024, 'x'));
    EXPECT_LE(engine->TraceBuffer.size(), MonitorEngine::kTraceBufferLimit + MonitorEngine::kTraceBufferLimit / 16);
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
    EXPECT_LT(engine->TraceBuffer.size(), 100);
}

INSTANTIATE_TEST_SUITE_P(Levels, FuzzTest, ::testing::Values(0, 5));

TEST_F(EngineFixture, TeiZeroAndGroupFramesOfAllLengthsAreSafe)
{
    engine->DebugLevel = 5;
    for (int tei : {0x00, 0xFF, 0x81})
        for (int len = 0; len <= 140; ++len) {
            Octets f(size_t(len), 0xFF);
            if (len > 1)
                f[1] = tei;
            frame(f);
        }
    SUCCEED();
}

} // namespace
