#pragma once
// Event programs ("--hook PROGRAM", "Run program on call"): on each call
// event (CID incoming, WID call waiting, OUT outgoing, END call logged) the
// program runs with the eight lines an NCID output module reads on its
// standard input and the same data in CORVANE_* variables. It never holds the
// monitor up: it runs on its own, is ended after 10 s, at most four run at
// once, its output is thrown away and its failures are only logged.
#include "monitor/outputs/call_output.h"

#include <QList>
#include <QObject>
#include <QProcessEnvironment>
#include <QString>
#include <memory>

class Clock;
class QProcess;

class EventProgramRunner : public QObject, public CallOutput {
    Q_OBJECT
public:
    static constexpr int kMaxRunning = 4;
    static constexpr int kMaxQueued = 32; // events beyond this wait are dropped
    static constexpr int kTimeLimitMs = 10000;

    // The clock times the 10 s limit.
    explicit EventProgramRunner(Clock& clock, QObject* parent = nullptr);
    ~EventProgramRunner() override;

    // The command line (a program and its arguments, quoted as in a shell);
    // empty: no program runs.
    void setProgram(const QString& commandLine);
    QString program() const;
    int running() const;
    int queued() const;

    // The CORVANE_* variables of an event.
    static QProcessEnvironment environmentFor(const CallEvent& event);

public slots:
    void callEvent(const CallEvent& event) override;

signals:
    void logMessage(const QString& text); // failures, time-outs, dropped events
    void finished(int exitCode);          // one run ended (-1: crashed, killed or never started)

private:
    struct Job {
        QByteArray input;
        QProcessEnvironment environment;
    };
    struct Run;
    void startNext();
    void start(Job job);
    void ended(Run* run, int exitCode, const QString& failure);

    Clock& clock_;
    QStringList command_;
    QString commandLine_;
    QList<Job> queue_;
    QList<Run*> runs_;
    Run* starting_ = nullptr;
};
