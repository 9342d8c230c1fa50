// Line extraction and octet parsing: the trims, the rewrites and the limits.
#include "engine_fixture.h"

namespace {

class CaptureTest : public EngineFixture {};

TEST_F(CaptureTest, LinesAreCutAsTheAdapterWritesThem)
{
    struct Case {
        const char* name;
        QByteArray input;
        qint64 frames;
        QByteArray octets; // hex of the last frame
    };
    const Case cases[] = {
        {"lower-case l never starts a pass", "L1   0 -> 00 81 7F  \r\n 00001234l", 0, ""},
        {"a line without trailer is not decoded", "L1   0 -> 00 81 7F  \r\nL", 0, ""},
        {"octet text without a last separator", "L1   0 -> 00 81 7F \r\n 00001234L", 1, "00817F"},
        {"hex digits of either case", "L1   0 -> 0a ff 7f  \r\n 00001234L", 1, "0AFF7F"},
        {"a digit pair stops at a non-hex character", "L1   0 -> 0G 81 7F  \r\n 00001234L", 1, "00817F"},
        {"the data-request noise line is removed",
         "L1 phid 0 PH_DATA_REQ  \r\n 00000001L1   0 -> 00 81 7F  \r\n 00001234L", 1, "00817F"},
        {"a line without L1: is no frame", "Lx   0 -> 00 81 7F  \r\n 00001234L", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        engine->reset();
        const qint64 before = engine->framesDecoded();
        feed(c.input);
        EXPECT_EQ(engine->framesDecoded() - before, c.frames);
        if (c.frames) {
            EXPECT_EQ(engine->lastFrame().toHex().toUpper(), c.octets);
        }
    }
    // The trims leave only the next line's start.
    engine->reset();
    frame({0x00, 0x81, 0x7F});
    EXPECT_EQ(engine->traceBuffer().toString(), QStringLiteral("L"));
}

TEST_F(CaptureTest, ShortBufferIsNotTrimmedByEight)
{
    feed("ab\r\nL");
    // "ab*$" is shorter than 8: kept, then the pass finds no " *$" and drops one character.
    EXPECT_EQ(engine->traceBuffer().toString(), QStringLiteral("b*$L"));
}

TEST_F(CaptureTest, FramesOfMoreThan128OctetsAreNotExamined)
{
    Octets big = frames::iframe(0x81, 0x05, frames::callingNumber("123"));
    big.resize(129, 0);
    frame(big);
    EXPECT_EQ(engine->framesDecoded(), 1);
    EXPECT_TRUE(engine->lastFrame().isEmpty());
    EXPECT_TRUE(rec(0x81).CallerNumber.isEmpty());
    big.resize(128);
    frame(big);
    EXPECT_EQ(rec(0x81).CallerNumber, QStringLiteral("123"));
}

TEST_F(CaptureTest, HexPairReadsLikeTheDevicesDigits)
{
    const std::pair<const char*, int> cases[] = {{"7F", 0x7F}, {"a0", 0xA0}, {" 5", 5}, {"5 ", 5},
                                                 {"G1", 0},    {"1G", 1},    {"", 0},   {"  ", 0}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(TraceCapture::hexPair(QString::fromLatin1(text)), value) << text;
}

} // namespace
