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
        QString left;      // the buffer: what the trims leave for the next line
    };
    const Case cases[] = {
        {"lower-case l never starts a pass", "L1   0 -> 00 81 7F  \r\n 00001234l", 0, "",
            "L1   0 -> 00 81 7F  *$ 00001234l"},
        {"a line without trailer is not decoded", "L1   0 -> 00 81 7F  \r\nL", 0, "", "1: -> 00 L"},
        {"octet text without a last separator", "L1   0 -> 00 81 7F \r\n 00001234L", 1, "00817F", "L"},
        {"hex digits of either case", "L1   0 -> 0a ff 7f  \r\n 00001234L", 1, "0AFF7F", "L"},
        {"a digit pair stops at a non-hex character", "L1   0 -> 0G 81 7F  \r\n 00001234L", 1, "00817F", "L"},
        {"the data-request noise line is removed",
            "L1 phid 0 PH_DATA_REQ  \r\n 00000001L1   0 -> 00 81 7F  \r\n 00001234L", 1, "00817F", "L"},
        {"a line without L1: is no frame", "Lx   0 -> 00 81 7F  \r\n 00001234L", 0, "", "L"},
        // Shorter than 8: kept, then the pass finds no " *$" and drops one character.
        {"a short buffer is not trimmed by eight", "ab\r\nL", 0, "", "b*$L"},
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
        EXPECT_EQ(engine->traceBuffer().toString(), c.left);
    }
}

// Level 5 copies a long buffer into Text1 only once the text is read: it reads
// as when a listener takes every text at once, after each flood and the next.
TEST_F(CaptureTest, Text1ReadsAsAListenerHeardIt)
{
    const QByteArray line = traceLine({0x00, 0x81, 0x7F});
    const QByteArray floods[] = {(QByteArray(line).replace("\r\n", "") + QByteArray(2000, 'x')).repeated(150),
        (line + (" \r\n" + QByteArray(30, 'y')).repeated(50)).repeated(150),
        (line + " \r\n" + QByteArray(2000, 'z')).repeated(150)};
    MonitorEngine listened(clock);
    listened.callList().setListPath(path("list2.txt"));
    QObject::connect(&listened.Text1(), &TracePane::appended, [](const QString&) {});
    setLevel(5);
    listened.setInputs(engine->inputs());
    for (const QByteArray& flood : floods) {
        feed(flood);
        for (char c : flood)
            listened.Scan(c);
        EXPECT_EQ(engine->Text1().text(), listened.Text1().text());
    }
}

// The characters between two "L"s go to the capture at once: they read as
// when each comes on its own, also where a removed line-end junk leaves more
// junk, where a flood passes the buffer's bound, and at any split.
TEST_F(CaptureTest, CharactersTakenAtOnceReadAsOneAtATime)
{
    const QByteArray line = traceLine(frames::iframe(0x81, 0x05, frames::callingNumber("123")));
    const QByteArray inputs[] = {
        line + "L" + line + "L",
        "ab \r\n\r\r \r\n   \r\n  00001234L  x  \r\n  yL" + line + "L",
        "L1 phid 0 PH_DATA_REQ  \r\n 00000001l1   0 -> 00 81 7F  \r\n 00001234L" + line + "L",
        QByteArray(70000, 'x') + line + "L" + QByteArray(140000, 'y') + "\r\n  L",
    };
    setLevel(5);
    for (const qsizetype split : {1, 7, 1 << 20}) {
        for (const QByteArray& input : inputs) {
            SCOPED_TRACE(split);
            engine->reset();
            MonitorEngine whole(clock);
            whole.callList().setListPath(path("list2.txt"));
            whole.setInputs(engine->inputs());
            feed(input);
            for (qsizetype at = 0; at < input.size(); at += split)
                whole.Scan(QByteArrayView(input).sliced(at, std::min(split, input.size() - at)));
            EXPECT_EQ(whole.traceBuffer(), engine->traceBuffer());
            EXPECT_EQ(whole.Text1().text(), engine->Text1().text());
            EXPECT_EQ(whole.Text2().text(), engine->Text2().text());
            EXPECT_EQ(whole.stateSnapshot(), engine->stateSnapshot());
        }
    }
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
    const std::pair<const char*, int> cases[] = {
        {"7F", 0x7F}, {"a0", 0xA0}, {" 5", 5}, {"5 ", 5}, {"G1", 0}, {"1G", 1}, {"", 0}, {"  ", 0}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(TraceCapture::hexPair(QString::fromLatin1(text)), value) << text;
}

} // namespace
