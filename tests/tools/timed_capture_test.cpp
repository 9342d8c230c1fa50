// The timed capture format the simulator writes and the replay reads.
#include "common/timed_capture.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

TEST(TimedCapture, EscapesEveryByteAndReadsItBack)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const QByteArray escaped = TimedCapture::escape(all);
    EXPECT_EQ(escaped.indexOf('\r') + escaped.indexOf('\n') + escaped.indexOf('\t'), -3);
    EXPECT_EQ(TimedCapture::unescape(escaped), all);
    EXPECT_EQ(TimedCapture::escape("L1 \r\n 0\\"), "L1 \\r\\n 0\\\\");
    EXPECT_EQ(TimedCapture::escape("\x7f\x80"), "\\x7F\\x80");
    EXPECT_EQ(TimedCapture::unescape("a\\q\\x4G\\"), "a\\q\\x4G\\") << "malformed escapes stay as they are";
}

TEST(TimedCapture, SkipsGarbageHoldsTimesAndJoinsMoments)
{
    const QByteArray capture = "# corvane-trace 1\r\n# a comment\n0\tL1\\r\\n\n5\t\\x00\\\\\\t\\q\n5\tx\n"
                               "bad line\n\tx\n12x\ty\n-1\ty\n3\ty\n7\tlast";
    const QList<CaptureChunk> c = TimedCapture::parse(capture);
    ASSERT_EQ(c.size(), 3);
    EXPECT_EQ(c[0].ms, 0);
    EXPECT_EQ(c[0].bytes, QByteArray("L1\r\n"));
    EXPECT_EQ(c[1].ms, 5); // a time going backwards is held, so "y" joins the 5 ms chunk
    EXPECT_EQ(c[1].bytes, QByteArray("\x00\\\t\\qxy", 7));
    EXPECT_EQ(c[2].bytes, "last") << "the last line needs no line end";
}

TEST(TimedCapture, RawBytesArriveEvery87Microseconds)
{
    const QList<CaptureChunk> c = TimedCapture::parse(QByteArray(24, 'a'));
    // bytes 0..11 at 0 ms (11 * 87 = 957 us), 12..22 at 1 ms, 23 at 2 ms
    ASSERT_EQ(c.size(), 3);
    EXPECT_EQ(c[0].bytes.size(), 12);
    EXPECT_EQ(c[1].bytes.size(), 11);
    EXPECT_EQ(c[2].ms, 2);
    EXPECT_TRUE(TimedCapture::parse("# corvane-trace 1 \n1\tx").first().bytes.startsWith("# corvane"))
        << "a header with more on its line is raw bytes";
}

// Read a block of a few bytes at a time, a capture gives what parse() gives.
TEST(TimedCapture, ReaderInSmallBlocksGivesTheSameChunks)
{
    for (const QByteArray& capture :
        {QByteArray("# corvane-trace 1\n10\tab\\r\\n\n10\tc\n2000\t\\x41" + QByteArray(40, 'z')),
            QByteArray(100, 'r')}) {
        QBuffer in;
        in.setData(capture);
        in.open(QIODevice::ReadOnly);
        TimedCapture::Reader reader;
        reader.start(in, 3);
        QList<CaptureChunk> joined;
        for (CaptureChunk c; reader.next(c);)
            if (!joined.isEmpty() && joined.last().ms == c.ms)
                joined.last().bytes += c.bytes;
            else
                joined.append(c);
        const QList<CaptureChunk> whole = TimedCapture::parse(capture);
        ASSERT_EQ(joined.size(), whole.size()) << capture.left(20).constData();
        for (qsizetype i = 0; i < whole.size(); ++i)
            EXPECT_TRUE(joined[i].ms == whole[i].ms && joined[i].bytes == whole[i].bytes) << i;
    }
}

TEST(TimedCapture, WriterKeepsTheCommentOnOneLineAndTimesFromGoingBack)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    TimedCapture::Writer writer(out, "dodova-sim scenario a\nb");
    EXPECT_TRUE(writer.write(5, "L1 \r\n"));
    EXPECT_TRUE(writer.write(3, "\x01\t"));
    EXPECT_EQ(out.data(), "# corvane-trace 1\n# dodova-sim scenario a b\n5\tL1 \\r\\n\n5\t\\x01\\t\n");
}

} // namespace
