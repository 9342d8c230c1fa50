#include "monitor/outputs/event_program_runner.h"

#include "monitor/engine/clock.h"
#include "monitor/outputs/event_names.h"
#include "monitor/outputs/ncid_lines.h"

#include <QProcess>

namespace {

// What a failing program wrote to stderr is kept up to this much, for the log.
constexpr qsizetype kMaxErrorText = 200;

} // namespace

struct EventProgramRunner::Run {
    QProcess* process = nullptr;
    std::unique_ptr<ClockTimer> limit;
    QByteArray errors;
    bool killed = false;
    bool over = false;
};

EventProgramRunner::EventProgramRunner(Clock& clock, QObject* parent) : QObject(parent), clock_(clock)
{
}

EventProgramRunner::~EventProgramRunner()
{
    queue_.clear();
    for (Run* run : std::exchange(runs_, {})) {
        disconnect(run->process, nullptr, this, nullptr);
        run->process->kill();
        run->process->waitForFinished(1000);
        delete run->process;
        delete run;
    }
}

void EventProgramRunner::setProgram(const QString& commandLine)
{
    commandLine_ = commandLine.trimmed();
    command_ = QProcess::splitCommand(commandLine_);
}

QString EventProgramRunner::program() const
{
    return commandLine_;
}

int EventProgramRunner::running() const
{
    return int(runs_.size());
}

int EventProgramRunner::queued() const
{
    return int(queue_.size());
}

QProcessEnvironment EventProgramRunner::environmentFor(const CallEvent& e)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CORVANE_EVENT"), event_names::kind(e.kind));
    env.insert(QStringLiteral("CORVANE_NUMBER"), e.number);
    env.insert(QStringLiteral("CORVANE_NAME"), e.name);
    env.insert(QStringLiteral("CORVANE_PLACE"), e.place);
    env.insert(QStringLiteral("CORVANE_NUMBER_KIND"), event_names::numberKind(e));
    env.insert(QStringLiteral("CORVANE_MSN"), e.msn);
    env.insert(QStringLiteral("CORVANE_MSN_NAME"), e.msnName);
    env.insert(QStringLiteral("CORVANE_CHANNEL"), event_names::channel(e));
    env.insert(QStringLiteral("CORVANE_TYPE"), e.type ? call_type::text(*e.type) : QString());
    env.insert(QStringLiteral("CORVANE_DURATION"), e.duration);
    env.insert(QStringLiteral("CORVANE_COST"), e.cost);
    return env;
}

void EventProgramRunner::callEvent(const CallEvent& event)
{
    if (command_.isEmpty())
        return;
    QByteArray input = ncid::moduleInput(event);
    if (input.isEmpty())
        return; // not an event programs hear of
    Job job{std::move(input), environmentFor(event)};
    if (runs_.size() < kMaxRunning)
        return start(std::move(job));
    if (queue_.size() >= kMaxQueued) {
        emit logMessage(QStringLiteral("Event program busy: %1 event at %2 dropped")
                            .arg(QString::fromLatin1(ncid::lineType(event)), event.time.toString(Qt::ISODate)));
        return;
    }
    queue_.append(std::move(job));
}

void EventProgramRunner::startNext()
{
    while (!queue_.isEmpty() && runs_.size() < kMaxRunning)
        start(queue_.takeFirst());
}

void EventProgramRunner::start(Job job)
{
    auto* run = new Run;
    run->process = new QProcess(this);
    QProcess* p = run->process;
    p->setProgram(command_.first());
    p->setArguments(command_.mid(1));
    p->setProcessEnvironment(job.environment);
    p->setStandardOutputFile(QProcess::nullDevice()); // a flood of output goes nowhere
    connect(p, &QProcess::readyReadStandardError, this, [run] {
        const QByteArray bytes = run->process->readAllStandardError();
        run->errors += bytes.left(std::max<qsizetype>(0, kMaxErrorText - run->errors.size()));
    });
    connect(p, &QProcess::finished, this, [this, run](int code, QProcess::ExitStatus status) {
        ended(run, status == QProcess::NormalExit ? code : -1, {});
    });
    connect(p, &QProcess::errorOccurred, this, [this, run](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            ended(run, -1, QStringLiteral("could not be started: ") + run->process->errorString());
    });
    run->limit = clock_.createTimer(
        [run] {
            run->killed = true;
            run->process->kill();
        },
        true);
    runs_.append(run);
    starting_ = run;
    p->start();
    starting_ = nullptr;
    if (run->over) { // failed to start, and already accounted for
        delete run;
        return;
    }
    p->write(job.input);
    p->closeWriteChannel();
    run->limit->start(kTimeLimitMs);
}

void EventProgramRunner::ended(Run* run, int exitCode, const QString& failure)
{
    if (std::exchange(run->over, true))
        return;
    runs_.removeOne(run);
    disconnect(run->process, nullptr, this, nullptr);
    run->process->deleteLater(); // ended from within one of its own signals
    QString why = failure;
    if (why.isEmpty() && run->killed)
        why = QStringLiteral("was ended after %1 s").arg(kTimeLimitMs / 1000);
    else if (why.isEmpty() && exitCode != 0)
        why = exitCode < 0 ? QStringLiteral("crashed") : QStringLiteral("exited with code %1").arg(exitCode);
    if (!why.isEmpty()) {
        const QString detail = QString::fromLocal8Bit(run->errors).section(u'\n', 0, 0).trimmed();
        emit logMessage(QStringLiteral("Event program %1 %2%3")
                            .arg(commandLine_, why, detail.isEmpty() ? QString() : QStringLiteral(": ") + detail));
    }
    if (run != starting_) // start() still uses it
        delete run;
    emit finished(exitCode);
    startNext();
}
