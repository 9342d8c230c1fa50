#pragma once
// corvane-monitor as users run it, on a simulator, program folder and settings
// store of its own; what it says is kept.
#include "simulator_fixture.h"
#include "test_files.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>

class ServiceRun {
public:
    ~ServiceRun() { stop(); }

    QString home() const { return dir_.filePath(QStringLiteral("home")); }
    // On a simulator playing `scenario`, with `settings` as its store and `args`
    // added; standard output into `outFile` when one is given (what it says is then stderr).
    void start(
        const QString& scenario, const QByteArray& settings, const QStringList& args = {}, const QString& outFile = {})
    {
        sim_ = std::make_unique<SimulatorLink>(QStringList{"--scenario", scenario});
        startOn(sim_->link(), settings, args, outFile);
    }
    // The same on a simulator the test runs itself.
    void startOn(
        const QString& link, const QByteArray& settings, const QStringList& args = {}, const QString& outFile = {})
    {
        QDir().mkpath(home());
        writeBytes(dir_.filePath(QStringLiteral("config/Corvane Controller.ini")), settings);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(outFile.isEmpty() ? QProcess::MergedChannels : QProcess::SeparateChannels);
        if (!outFile.isEmpty())
            process_.setStandardOutputFile(outFile), process_.setReadChannel(QProcess::StandardError);
        process_.start(
            QStringLiteral(CORVANE_BUILD_DIR "/corvane-monitor"), QStringList{"--port", link, "--home", home()} + args);
    }
    // SIGTERM without waiting for the end.
    void terminate() { process_.terminate(); }
    // SIGTERM: the service saves its list and ends.
    void stop()
    {
        process_.terminate();
        process_.waitForFinished(10000);
    }

    // True once the service has said `text` `count` times in all; a minute is
    // a bound for a busy machine, never a wait. The event loop runs meanwhile.
    bool said(const QByteArray& text, int count = 1, int ms = 60000)
    {
        return QTest::qWaitFor([&] { return (log_ += process_.readAll()).count(text) >= count; }, ms);
    }
    QString log() { return QString::fromUtf8(log_ += process_.readAll()); }
    SimulatorLink& sim() { return *sim_; }
    void kill9() { ::kill(pid_t(process_.processId()), SIGKILL), process_.waitForFinished(10000); }

private:
    QTemporaryDir dir_;
    std::unique_ptr<SimulatorLink> sim_;
    QProcess process_;
    QByteArray log_;
};
