// The programs as a whole: corvane against dodova-sim and ended by SIGTERM;
// every program's command line against data/command_lines.txt and its manual page.
#include "common/simulator_fixture.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <set>

namespace {

const QStringList kPrograms{"corvane", "dodova-sim", "corvane-replay", "corvane-monitor", "corvane-capture"};

// A program run offscreen with its own config, runtime and program folders.
struct ProgramRun {
    // `beside`: the folders of that run, as two programs of one user have them.
    explicit ProgramRun(const QStringList& args, const QString& program = "corvane", const QString& startIn = {},
        const ProgramRun* beside = nullptr)
    {
        const QDir folders(beside ? beside->dir.path() : dir.path());
        QDir().mkpath(folders.filePath("run"));
        QFile(folders.filePath("run")).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* folder : {"XDG_CONFIG_HOME=config", "XDG_RUNTIME_DIR=run", "XDG_DATA_HOME=data"})
            env.insert(QString(folder).section('=', 0, 0), folders.filePath(QString(folder).section('=', 1)));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("CORVANE_HOME", folders.filePath("home"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(startIn);
        process.start(QStringLiteral(CORVANE_BUILD_DIR "/") + program, args);
    }
    ~ProgramRun()
    {
        process.kill();
        process.waitForFinished(5000);
    }
    QString setting(const QString& key)
    {
        return QSettings(dir.filePath("config/Corvane Controller.ini"), QSettings::IniFormat)
            .value("Startup/" + key, "<none>")
            .toString();
    }
    bool waitFor(const std::function<bool()>& done)
    {
        for (const QDeadlineTimer deadline(20000); !done() && !deadline.hasExpired();)
            process.waitForReadyRead(20);
        return done();
    }
    QTemporaryDir dir;
    QProcess process;
};

// The programs this build has (corvane-monitor comes with the service).
QStringList builtPrograms()
{
    QStringList built;
    for (const QString& p : kPrograms)
        if (QFile::exists(QStringLiteral(CORVANE_BUILD_DIR "/") + p))
            built << p;
    return built;
}

// Every long option a text names.
std::set<QString> longOptions(const QString& text)
{
    std::set<QString> options;
    static const QRegularExpression option(QStringLiteral("(?<![\\w-])--[a-z][a-z-]*"));
    for (const auto& m : option.globalMatch(text))
        options.insert(m.captured());
    return options;
}

} // namespace

TEST(Program, SigtermEndsCleanlyWithTheFinalSaveAlsoWhileAsking)
{
    SimulatorLink sim;
    ASSERT_TRUE(sim.up());
    // With the adapter: once the first read is done. Without: while the port
    // error and the detection question wait for the user (log.txt comes just before).
    // The port named relative to where the program starts is the same adapter.
    const QFileInfo link(sim.link());
    const std::pair<QString, QString> ports[] = {
        {sim.link(), {}}, {"/nonexistent/tty", {}}, {link.fileName(), link.path()}};
    for (const auto& [port, startIn] : ports) {
        const bool adapter = port != "/nonexistent/tty";
        const qsizetype before = sim.commands().size();
        ProgramRun run({"--port", port}, "corvane", startIn);
        ASSERT_TRUE(run.waitFor([&] {
            return adapter ? sim.commandsSince(before).contains("AT&ZO?")
                           : QFile::exists(run.dir.filePath("home/log.txt"));
        })) << port.toStdString();
        ASSERT_EQ(run.process.state(), QProcess::Running);
        run.process.terminate();
        ASSERT_TRUE(run.process.waitForFinished(10000));
        EXPECT_EQ(run.process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(run.process.exitCode(), 0);
        EXPECT_EQ(run.setting("CommPort"), "1") << port.toStdString();
    }
}

// corvane-monitor on the adapter and on the program folder: a window of the
// same user, started without options, is its front end instead of being
// refused the folder. It reads the adapter through the service (the window's
// own port is another), which leaves its trace for that and takes it again.
TEST(Program, AWindowBesideTheServiceIsItsFrontEnd)
{
    SimulatorLink sim;
    ASSERT_TRUE(sim.up());
    ProgramRun service({"--port", sim.link()}, "corvane-monitor");
    QByteArray serviceSaid;
    ASSERT_TRUE(service.waitFor([&] { return QFile::exists(service.dir.filePath("run/corvane/monitor.json")); }));
    const qsizetype before = sim.commands().size();
    ProgramRun window({}, "corvane", {}, &service);
    ASSERT_TRUE(window.waitFor([&] { return sim.commandsSince(before).contains("AT&ZO?"); }));
    ASSERT_TRUE(
        service.waitFor([&] { return (serviceSaid += service.process.readAllStandardError()).contains("on again"); }));
    EXPECT_TRUE(serviceSaid.contains("configuring the adapter (settings-read): trace mode off")) << serviceSaid.data();
    EXPECT_EQ(window.process.state(), QProcess::Running);
    window.process.terminate();
    ASSERT_TRUE(window.process.waitForFinished(10000));
    EXPECT_EQ(window.process.exitCode(), 0) << window.process.readAllStandardError().data();
    EXPECT_EQ(service.process.state(), QProcess::Running); // its lock and its calls untouched
}

TEST(Program, UnknownScenarioIsRefusedBeforeAnyPortIsTried)
{
    ProgramRun run({"--simulate", "dmeo"});
    QByteArray said;
    ASSERT_TRUE(
        run.waitFor([&] { return (said += run.process.readAllStandardError()).contains("no scenario \"dmeo\""); }));
    EXPECT_EQ(run.process.state(), QProcess::Running);             // the box waits for the user
    EXPECT_FALSE(QFile::exists(run.dir.filePath("home/log.txt"))); // start-up did not go on
}

TEST(Programs, CommandLinesPrintAndEndAsDocumented)
{
    QFile table(QStringLiteral(CORVANE_SOURCE_DIR "/tests/app/data/command_lines.txt"));
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    const QStringList built = builtPrograms();
    int checked = 0;
    for (const QString& line : QString::fromUtf8(table.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split(u'\t');
        if (line.startsWith(u'#') || !built.contains(f[0]))
            continue;
        ASSERT_EQ(f.size(), 5) << line.toStdString();
        ProgramRun run(f[1].split(u' '), f[0]);
        ASSERT_TRUE(run.process.waitForFinished(10000)) << line.toStdString();
        const QString out = run.process.readAllStandardOutput(), err = run.process.readAllStandardError();
        EXPECT_EQ(run.process.exitCode(), f[2].toInt()) << line.toStdString();
        EXPECT_TRUE((f[3] == "out" ? out : err).contains(f[4])) << line.toStdString() << '\n'
                                                                << (out + err).toStdString();
        EXPECT_TRUE(f[2] == "0" || out.isEmpty()) << line.toStdString(); // errors go to stderr only
        ++checked;
    }
    EXPECT_GE(checked, 16);
}

TEST(Programs, ManualPagesHaveTheirSectionsAndTheOptionsOfHelp)
{
    for (const QString& program : builtPrograms()) {
        QFile source(QStringLiteral(CORVANE_SOURCE_DIR "/packaging/man/") + program + ".1");
        ASSERT_TRUE(source.open(QIODevice::ReadOnly)) << program.toStdString();
        const QString page = QString::fromUtf8(source.readAll()).replace(QLatin1String("\\-"), QLatin1String("-"));
        for (const char* heading : {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "FILES", "ENVIRONMENT", "EXIT STATUS",
                 "EXAMPLES", "SEE ALSO"})
            EXPECT_TRUE(page.contains(QStringLiteral("\n.SH ") + heading + u'\n'))
                << program.toStdString() << ": " << heading;
        auto section = [&page](const QString& name) {
            const qsizetype from = page.indexOf(QStringLiteral("\n.SH ") + name + u'\n');
            return page.mid(from, page.indexOf(QLatin1String("\n.SH "), from + 1) - from);
        };
        const std::set<QString> options = longOptions(section("OPTIONS"));
        ProgramRun help({"--help"}, program);
        help.process.waitForFinished(10000);
        EXPECT_EQ(options, longOptions(help.process.readAllStandardOutput())) << program.toStdString();
        for (const QString& o : longOptions(section("SYNOPSIS")))
            EXPECT_TRUE(options.count(o)) << program.toStdString() << ": " << o.toStdString();
    }
}

// make run's demo folder: its phone book names every caller the demo scenario
// sends, and its call list is what the monitor logs of that scenario.
TEST(Programs, DemoFolderNamesTheDemoCallers)
{
    QTemporaryDir out;
    const QString trace = out.filePath("demo.trace"), demo = QStringLiteral(CORVANE_SOURCE_DIR "/assets/demo/");
    ProgramRun render({"--scenario", "demo", "--render-capture", trace}, "dodova-sim");
    ASSERT_TRUE(render.process.waitForFinished(10000));
    ProgramRun replay(
        {trace, "--out", out.path(), "--book", demo + "book.txt", "--start", "2026-01-01T09:30:00"}, "corvane-replay");
    ASSERT_TRUE(replay.process.waitForFinished(10000));
    QFile logged(out.filePath("list.txt")), shipped(demo + "list.txt");
    ASSERT_TRUE(logged.open(QIODevice::ReadOnly) && shipped.open(QIODevice::ReadOnly));
    EXPECT_EQ(logged.readAll().toStdString(), shipped.readAll().toStdString());
}
