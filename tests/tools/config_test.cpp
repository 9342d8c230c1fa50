// corvane-config against dodova-sim, on a pseudo-terminal and behind
// ser2net, driven by data/config/*.script: "$ ARGS" runs the program and logs
// the commands the simulator received ("> "), what it printed, its messages
// ("! ") and its exit status; "write NAME TEXT" writes a file of the test
// folder, "copy FROM TO OLD NEW" a copy with OLD replaced; "mark" and
// "state" stop the simulator and note its state file, or log whether it is
// as noted, then start it again. The log must match the
// script's .expected file whichever the link. A first line "# sim ARGS"
// starts the simulator with ARGS.
#include "common/golden.h"
#include "common/ser2net_fixture.h"
#include "common/simulator_fixture.h"
#include "common/test_files.h"

#include <gtest/gtest.h>

namespace {

QString testFile(const QString& name)
{
    return QStringLiteral(CORVANE_SOURCE_DIR "/tests/tools/data/config/") + name;
}

class ConfigSession {
public:
    ConfigSession(const QStringList& simArgs, bool behindSer2net) : sim_(simArgs), ser2net_(behindSer2net)
    {
        started_ = sim_.up() && (!ser2net_ || net_.start(sim_.link()));
    }
    bool up() const { return started_; }
    QStringList log;

    void run(const QString& line)
    {
        log << line;
        if (line.startsWith(QLatin1String("$ ")))
            return program(line.mid(2).split(u' ', Qt::SkipEmptyParts));
        if (line.startsWith(QLatin1String("write "))) {
            QString text = line.section(u' ', 2);
            writeBytes(dir_.filePath(line.section(u' ', 1, 1)), text.replace(QLatin1String("\\n"), "\n").toUtf8());
        } else if (line.startsWith(QLatin1String("copy "))) { // copy FROM TO OLD NEW
            const QStringList w = line.split(u' ');
            writeBytes(dir_.filePath(w.value(2)),
                readBytes(dir_.filePath(w.value(1))).replace(w.value(3).toUtf8(), w.value(4).toUtf8()));
        } else if (line == u"mark" || line == u"state") {
            sim_.stop();
            if (line == u"mark")
                original_ = readBytes(sim_.statePath());
            else
                log << QStringLiteral("= state as marked: %1")
                           .arg(readBytes(sim_.statePath()) == original_ ? "yes" : "no");
            sim_.start();
            seen_ = sim_.commands().size();
        }
    }

private:
    void program(QStringList args)
    {
        args.replaceInStrings(QStringLiteral("DIR/"), dir_.path() + u'/');
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        p.setProcessEnvironment(env);
        const QString port = ser2net_ ? net_.address() : sim_.link();
        p.start(QStringLiteral(CORVANE_BUILD_DIR "/corvane-config"),
            QStringList{"--port", port, "--home", dir_.path()} + args); // a later --port wins
        p.waitForFinished(60000);
        for (const QString& cmd : sim_.commands().mid(seen_))
            log << QStringLiteral("> ") + cmd;
        seen_ = sim_.commands().size();
        log << QString::fromUtf8(p.readAllStandardOutput())
                   .replace(dir_.path(), QStringLiteral("DIR"))
                   .split(u'\n', Qt::SkipEmptyParts);
        for (QString text : QString::fromUtf8(p.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts))
            log << QStringLiteral("! ")
                       + text.replace(dir_.path(), QStringLiteral("DIR")).replace(port, QStringLiteral("PORT"));
        log << QStringLiteral("= exit %1").arg(p.exitCode());
    }

    QTemporaryDir dir_;
    SimulatorLink sim_;
    bool ser2net_;
    Ser2net net_;
    QByteArray original_;
    bool started_ = false;
    qsizetype seen_ = 0;
};

class ConfigProgram : public ::testing::TestWithParam<std::tuple<std::string, bool>> {};

TEST_P(ConfigProgram, LogMatchesTheExpectedFile)
{
    const auto& [name, behindSer2net] = GetParam();
    if (behindSer2net && !Ser2net::installed())
        GTEST_SKIP() << "ser2net is not installed";
    const QString base = testFile(QString::fromStdString(name));
    const QStringList lines = QString::fromUtf8(readBytes(base + ".script")).split(u'\n', Qt::SkipEmptyParts);
    const QStringList simArgs = lines.value(0).startsWith(QLatin1String("# sim ")) // "# sim ARGS"
                                    ? lines.value(0).mid(6).split(u' ', Qt::SkipEmptyParts)
                                    : QStringList();
    ConfigSession session(simArgs, behindSer2net);
    ASSERT_TRUE(session.up());
    for (const QString& line : lines)
        if (!line.startsWith(u'#'))
            session.run(line);
    EXPECT_GOLDEN(QStringLiteral("tools/data/config/%1.expected").arg(QString::fromStdString(name)),
        session.log.join(u'\n') + u'\n');
}

INSTANTIATE_TEST_SUITE_P(Link, ConfigProgram,
    ::testing::Combine(::testing::ValuesIn(goldenCases("tools/data/config", "*.script")), ::testing::Bool()),
    [](const auto& info) { return std::get<0>(info.param) + (std::get<1>(info.param) ? "_ser2net" : "_pty"); });

} // namespace
