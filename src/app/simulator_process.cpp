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

QStringList SimulatorProcess::scenarioNames(const QString& program)
{
    QProcess list;
    list.start(program, {QStringLiteral("--list-scenarios")});
    if (!list.waitForFinished(kStartLimitMs) || list.exitCode() != 0)
        return {};
    return QString::fromUtf8(list.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

QString scenarioProblem(const QString& scenario, const QStringList& known)
{
    if (scenario.isEmpty() || known.contains(scenario) || QFileInfo(scenario).isFile())
        return {};
    return QCoreApplication::translate("Startup", "The simulator has no scenario \"%1\".\n\nIts scenarios are: %2.\n"
                                                  "A scenario file is named by its path.")
        .arg(scenario, known.join(QLatin1String(", ")));
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
