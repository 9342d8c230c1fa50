#pragma once
// dodova-sim as a child process on a pseudo-terminal, for tests that talk to
// a real device over a real serial line.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>

class SimProcess {
public:
    static QString program() { return QStringLiteral(CORVANE_BUILD_DIR "/dodova-sim"); }
    static bool available() { return QFileInfo(program()).isExecutable(); }

    explicit SimProcess(const QString& folder) : folder_(folder) {}
    ~SimProcess() { stop(); }

    QString link() const { return folder_ + QStringLiteral("/link"); }
    QString logPath() const { return folder_ + QStringLiteral("/sim.log"); }
    QString statePath() const { return folder_ + QStringLiteral("/state"); }

    // Starts with --link, --log and --state in the folder; true once the link exists.
    bool start(const QStringList& extra = {})
    {
        QFile::remove(link());
        process_.setProgram(program());
        process_.setArguments(QStringList{"--link", link(), "--log", logPath(), "--state", statePath()} + extra);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start();
        if (!process_.waitForStarted(5000))
            return false;
        for (int i = 0; i < 500 && !QFileInfo::exists(link()); ++i) // readiness, not a timing assertion
            QThread::msleep(10);
        return QFileInfo::exists(link());
    }

    // SIGTERM: the simulator saves its state and ends.
    void stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

    void kill()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        ::kill(pid_t(process_.processId()), SIGKILL);
        process_.waitForFinished(5000);
    }

    // The commands the simulator received, in order (its log without the times).
    QStringList commands() const
    {
        QFile f(logPath());
        QStringList out;
        if (!f.open(QIODevice::ReadOnly))
            return out;
        for (const QByteArray& line : f.readAll().split('\n')) {
            const qsizetype tab = line.indexOf('\t');
            if (tab >= 0)
                out << QString::fromLatin1(line.mid(tab + 1)).remove(u'\r');
        }
        return out;
    }

private:
    QString folder_;
    QProcess process_;
};
