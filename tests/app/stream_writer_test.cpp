// A stream nobody reads: every write returns at once, the oldest lines past
// the bound are dropped (said once), and when the reader reads again the
// newest lines arrive whole and the count of the dropped ones is told.
#include "common/stream_writer.h"

#include <QTest>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

TEST(StreamWriter, AReaderThatStopsReadingLosesTheOldestLinesAndNeverStopsTheWriter)
{
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ::fcntl(fds[0], F_SETFL, O_NONBLOCK);
    constexpr int kLines = 20000; // 220 kB: more than the pipe and the bound hold
    QByteArray got;
    StreamWriter out(fds[1], 4096);
    int started = 0;
    qint64 caughtUp = 0;
    QObject::connect(&out, &StreamWriter::droppingStarted, [&] { ++started; });
    QObject::connect(&out, &StreamWriter::caughtUp, [&](qint64 n) { caughtUp = n; });
    for (int i = 0; i < kLines; ++i)
        out.write(QByteArray::number(i).rightJustified(10, '0') + '\n');
    EXPECT_EQ(started, 1);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            char buffer[65536];
            for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
                got.append(buffer, n);
            return caughtUp > 0;
        },
        30000));
    const QList<QByteArray> lines = got.chopped(1).split('\n');
    EXPECT_EQ(caughtUp, out.dropped());
    EXPECT_EQ(lines.size() + out.dropped(), kLines);
    EXPECT_EQ(lines.last(), QByteArray::number(kLines - 1).rightJustified(10, '0'));
    EXPECT_TRUE(std::all_of(lines.begin(), lines.end(), [](const QByteArray& l) { return l.size() == 10; }));
    ::close(fds[0]);
}
