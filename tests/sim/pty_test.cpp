// The simulator as a process and over a real pseudo-terminal opened like a
// serial port. (The command exchange over the line, the command log and the
// saved state are exercised by the device tests against the real channel.)
#include "sim/simulator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace sim;

namespace {

// Opens the terminal side as the program opens a serial port.
int openPort(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0) {
        termios t{};
        ::tcgetattr(fd, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(fd, TCSANOW, &t);
    }
    return fd;
}

// Sends a command and collects the answer until it ends in OK or ERROR. The
// limit only ends a broken test; a normal answer comes at once.
std::string exchange(int fd, const std::string& command)
{
    const std::string line = command + "\r";
    EXPECT_EQ(::write(fd, line.data(), line.size()), static_cast<ssize_t>(line.size()));
    std::string answer;
    QElapsedTimer limit;
    limit.start();
    while (limit.elapsed() < 10000 && !answer.ends_with("OK\r\n") && !answer.ends_with("ERROR\r\n")) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5) > 0) {
            char buf[512];
            const auto n = ::read(fd, buf, sizeof buf);
            if (n > 0)
                answer.append(buf, static_cast<std::size_t>(n));
        }
    }
    return answer;
}

TEST(PtyLine, RenderCaptureIsDeterministicAndTheProcessEndsCleanlyOnSigterm)
{
    const QString sim = QStringLiteral(CORVANE_BUILD_DIR "/dodova-sim");
    QTemporaryDir dir;
    const QString a = dir.filePath("a.trace"), b = dir.filePath("b.trace");
    for (const auto& out : {a, b})
        ASSERT_EQ(QProcess::execute(sim, {"--scenario", "two-calls", "--render-capture", out}), 0);
    QFile fa(a), fb(b);
    ASSERT_TRUE(fa.open(QIODevice::ReadOnly) && fb.open(QIODevice::ReadOnly));
    const auto bytes = fa.readAll();
    EXPECT_EQ(bytes, fb.readAll());
    EXPECT_TRUE(bytes.startsWith("# corvane-trace 1\n"));
    EXPECT_NE(QProcess::execute(sim, {"--scenario", "no-such-scenario", "--render-capture", a}), 0);

    const QString link = dir.filePath("port"), state = dir.filePath("state.txt");
    QProcess device;
    device.start(sim, {"--link", link, "--state", state, "--scenario", "none"});
    ASSERT_TRUE(device.waitForReadyRead(10000));
    EXPECT_EQ(device.readLine().trimmed(), link.toUtf8()) << "the link path is announced on its own line";
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    device.terminate(); // SIGTERM
    ASSERT_TRUE(device.waitForFinished(10000));
    EXPECT_EQ(device.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(device.exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(link));
    EXPECT_TRUE(QFileInfo::exists(state));
}

TEST(PtyLine, TraceModeSendsFramesAfterAtcd9)
{
    QTemporaryDir dir;
    SimOptions options;
    options.link = dir.filePath("dodova").toStdString();
    auto scenario = *parseScenario("in at=0 from=0301 to=4711 ring=1s talk=1s", "t").scenario;
    Simulator simulator(options, scenario);
    ASSERT_EQ(simulator.start(), "");
    const int fd = openPort(options.link);
    ASSERT_GE(fd, 0);
    exchange(fd, "ATE0");
    ASSERT_EQ(::write(fd, "ATCD9\r", 6), 6);
    // The answer comes first, then the offer due at once with its trailer.
    std::string trace;
    QElapsedTimer limit;
    limit.start();
    while (limit.elapsed() < 10000 && trace.find(" 00000000") == std::string::npos) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        char buf[512];
        const auto n = ::read(fd, buf, sizeof buf);
        if (n > 0)
            trace.append(buf, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(trace.rfind("\r\nOK\r\nL1   0 <- 02 FF 03 08 01 01 05 04 03 80 90 A3 18 01 89 ", 0), 0u) << trace;
    EXPECT_NE(trace.find("34 37 31 31  \r\n 00000000"), std::string::npos)
        << "the offer's trailer: 0 ms since trace on";
    ::close(fd);
}

} // namespace
