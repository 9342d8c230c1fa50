// The corvane program as a whole: started against dodova-sim, ended by SIGTERM.
#include "app/simulator_fixture.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A program run with its own config, runtime and program folders.
struct ProgramRun {
    explicit ProgramRun(const QStringList& args)
    {
        QDir().mkpath(dir.filePath("run"));
        QFile(dir.filePath("run")).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        env.insert("XDG_RUNTIME_DIR", dir.filePath("run"));
        env.remove("CORVANE_HOME");
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(CORVANE_BUILD_DIR "/corvane"),
                      args + QStringList{"--home", dir.filePath("home")});
    }
    ~ProgramRun()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
    QString setting(const QString& key)
    {
        QSettings s(dir.filePath("config/Corvane Controller.ini"), QSettings::IniFormat);
        return s.value("Startup/" + key, "<none>").toString();
    }
    QTemporaryDir dir;
    QProcess process;
};

bool waitFor(const std::function<bool()>& done, int limitMs = 20000)
{
    const QDeadlineTimer deadline(limitMs);
    while (!done() && !deadline.hasExpired())
        QThread::msleep(20);
    return done();
}

} // namespace

TEST(Program, ProbesReadsAndSavesOnSigterm)
{
    SimulatorLink sim;
    ASSERT_TRUE(sim.up());
    ProgramRun run({"--port", sim.link()});
    ASSERT_TRUE(run.process.waitForStarted(5000));
    // The first read ends with the own numbers.
    ASSERT_TRUE(waitFor([&] { return sim.commands().contains("AT&ZO?"); }));
    const QStringList commands = sim.commands();
    ASSERT_GE(commands.size(), 3);
    EXPECT_EQ(commands.mid(0, 3), (QStringList{"ATCD8", "ATE1", "ATI4"}));

    run.process.terminate();
    ASSERT_TRUE(run.process.waitForFinished(10000));
    EXPECT_EQ(run.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run.process.exitCode(), 0);
    EXPECT_EQ(run.setting("CommPort"), "1"); // the settings were saved on the way out
    EXPECT_TRUE(QFile::exists(run.dir.filePath("home/log.txt")));
}

TEST(Program, SigtermWhileAskingForThePortEndsCleanly)
{
    ProgramRun run({"--port", "/nonexistent/tty"});
    ASSERT_TRUE(run.process.waitForStarted(5000));
    // The log file is made just before the port error and the detection
    // question, which then wait for the user; the signal is handled inside them.
    ASSERT_TRUE(waitFor([&] { return QFile::exists(run.dir.filePath("home/log.txt")); }));
    ASSERT_EQ(run.process.state(), QProcess::Running);
    run.process.terminate();
    ASSERT_TRUE(run.process.waitForFinished(10000));
    EXPECT_EQ(run.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run.setting("CommPort"), "1"); // the final save still happens
}
