#include "app/simulator_process.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>

namespace {
constexpr int kStartLimitMs = 5000;
constexpr int kStopLimitMs = 3000;
} // namespace

SimulatorProcess::~SimulatorProcess()
{
    stop();
}

QString SimulatorProcess::defaultProgram()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("dodova-sim"));
}

QString SimulatorProcess::start(const QString& scenario, const QString& program)
{
    if (!dir_.isValid())
        return {};
    const QString link = dir_.filePath(QStringLiteral("dodova"));
    QStringList args{QStringLiteral("--link"), link};
    if (!scenario.isEmpty())
        args << QStringLiteral("--scenario") << scenario;
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.setStandardOutputFile(QProcess::nullDevice()); // we watch the link, not the chatter
    process_.start(program, args);
    if (!process_.waitForStarted(kStartLimitMs))
        return {};
    // The simulator makes the link once its pseudo-terminal is ready.
    const QDeadlineTimer deadline(kStartLimitMs);
    while (!QFileInfo::exists(link)) {
        // waitForFinished doubles as a short sleep that notices an early exit
        if (deadline.hasExpired() || process_.waitForFinished(20)) {
            stop();
            return {};
        }
    }
    return link;
}

void SimulatorProcess::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate(); // SIGTERM: the simulator ends cleanly
    if (!process_.waitForFinished(kStopLimitMs)) {
        process_.kill();
        process_.waitForFinished(kStopLimitMs);
    }
}
