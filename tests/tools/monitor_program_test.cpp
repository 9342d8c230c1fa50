// corvane-monitor end to end: dodova-sim on a real pseudo-terminal, directly
// and behind ser2net; calls named by the book and by the address-book folder,
// and one from an ignored caller, to an own number with a name. What reaches
// the adapter, stderr, --json, an NCID client, a --hook program and list.txt is
// one golden, with clock times masked.
#include "common/golden.h"
#include "common/ser2net_fixture.h"
#include "common/simulator_fixture.h"
#include "outputs/ncid_test_client.h"

#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <sys/resource.h>

namespace {

QString masked(QString text, const QString& device)
{
    text.replace(device, QStringLiteral("DEVICE"));
    static const std::pair<const char*, const char*> masks[] = {
        {R"(.*NCID client .*\n)", ""}, // comes whenever the client got through
        {R"(\d{4}-\d\d-\d\d)", "YYYY-MM-DD"},
        {R"(\d\d/\d\d/\d{4})", "MM/DD/YYYY"},
        {R"(\*DATE\*\d{8}\*)", "*DATE*MMDDYYYY*"},
        {R"(\*TIME\*\d{4}\*)", "*TIME*HHMM*"},
        {R"(\d{1,2}:\d\d(:\d\d)?)", "H:M:S"},
        {R"(port \d+)", "port P"},
        {R"x("seconds":\d+)x", R"("seconds":N)"}, // how long the simulated call talks depends on the load
        {R"(\d+ s talked)", "N s talked"},
    };
    for (const auto& [pattern, replacement] : masks)
        text.replace(QRegularExpression(QLatin1String(pattern)), QLatin1String(replacement));
    return text;
}

QString readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<missing>\n");
}

// The monitor finds the adapter before it listens: readiness, not timing.
void connectWhenListening(NcidTestClient& client, quint16 port)
{
    for (int i = 0; i < 100 && client.socket.state() != QAbstractSocket::ConnectedState; ++i) {
        QTest::qWait(100);
        client.socket.connectToHost(QHostAddress::LocalHost, port);
        client.socket.waitForConnected(1000);
    }
}

class MonitorProgram : public testing::TestWithParam<bool> {}; // behind ser2net?

TEST_P(MonitorProgram, ACallReachesEveryOutputAndSigtermTakesTheAdapterOutOfTraceMode)
{
    const bool viaSer2net = GetParam();
    if (viaSer2net && !Ser2net::installed())
        GTEST_SKIP() << "ser2net is not installed (make deps installs it)";
    const QString data = QStringLiteral(CORVANE_SOURCE_DIR "/tests/tools/data/monitor/");
    PrivateStore store;
    for (const char* file : {"book.txt", "ignore.txt"})
        QFile::copy(data + file, store.file(file));
    QFile::copy(data + "settings.ini", QFileInfo(store.settingsFile()).path() + "/Corvane Controller.ini");
    SimulatorLink sim({"--scenario", data + "outputs.scenario"});
    Ser2net ser2net;
    ASSERT_TRUE(sim.up() && (!viaSer2net || ser2net.start(sim.link())));
    const QString device = viaSer2net ? ser2net.address() : sim.link();
    const quint16 ncidPort = freePort();

    QProcess monitor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", QFileInfo(store.settingsFile()).path()); // the private store's folder
    monitor.setProcessEnvironment(env);
    monitor.start(QStringLiteral(CORVANE_BUILD_DIR "/corvane-monitor"),
        {"--port", device, "--home", store.home(), "--ncid", QString::number(ncidPort), "--json", "--hook",
            data + "hook.sh " + store.home(), "--contacts", data + "contacts"});
    ASSERT_TRUE(monitor.waitForStarted(5000));
    NcidTestClient client(ncidPort);
    connectWhenListening(client, ncidPort);
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.read(), client.lines.filter("END: *HTYPE*CANCEL").size(); }, 30000))
        << monitor.readAllStandardError().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(store.file("logged-09001234.txt")); }, 10000));
    const qsizetype before = sim.commands().size();
    monitor.terminate();
    ASSERT_TRUE(monitor.waitForFinished(10000));
    EXPECT_EQ(monitor.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(monitor.exitCode(), 0);

    QString all = "== closing commands\n" + sim.commandsSince(before).join(u'\n') + "\n== stderr\n"
                  + QString::fromUtf8(monitor.readAllStandardError()) + "== json\n"
                  + QString::fromUtf8(monitor.readAllStandardOutput()) + "== ncid\n" + client.lines.join(u'\n')
                  + "\n== list.txt\n" + readAll(store.file("list.txt"));
    for (const QString& event : QDir(store.home()).entryList({"*-*.txt"}, QDir::Files, QDir::Name))
        all += "== hook " + event + "\n" + readAll(store.file(event));
    EXPECT_GOLDEN("tools/data/monitor/call.golden",
        masked(all.replace(data, "DATA/").replace(qEnvironmentVariable("XDG_RUNTIME_DIR"), "RUNTIME"), device));
}

INSTANTIATE_TEST_SUITE_P(Link, MonitorProgram, testing::Values(false, true),
    [](const auto& info) { return info.param ? "Ser2net" : "PseudoTerminal"; });

// list.txt cannot be written (a file-size limit, as on a full disk): each call
// and the end say so on stderr and to NCID clients, the adapter still leaves
// trace mode, and the monitor ends with a failure. The port is named relative
// to where the monitor starts; an event program's error text reaches the log
// with its control characters shown, not acted on.
TEST(MonitorProgramUnsaved, CallsThatCannotBeSavedAreAnnouncedAndEndInAFailure)
{
    const QString data = QStringLiteral(CORVANE_SOURCE_DIR "/tests/tools/data/monitor/");
    PrivateStore store;
    QFile::copy(data + "book.txt", store.file("book.txt"));
    // A list past the limit below, of notes no NCID client is sent.
    const QByteArray old = QByteArray("4711\tNote\t2026-01-01\t10:00:00\t0301234567\t\t-\t-\r\n").repeated(40);
    QFile list(store.file("list.txt"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly) && list.write(old) == old.size());
    list.close();
    SimulatorLink sim({"--scenario", data + "call.scenario"});
    ASSERT_TRUE(sim.up());
    const quint16 ncidPort = freePort();

    QProcess monitor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", QFileInfo(store.settingsFile()).path());
    monitor.setProcessEnvironment(env);
    monitor.setWorkingDirectory(QFileInfo(sim.link()).path());
    monitor.setChildProcessModifier([] {
        const rlimit limit{1024, 1024}; // bytes: the port's lock file fits, the list does not
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    monitor.start(QStringLiteral(CORVANE_BUILD_DIR "/corvane-monitor"),
        {"--port", QFileInfo(sim.link()).fileName(), "--home", store.home(), "--ncid", QString::number(ncidPort),
            "--hook", data + "forge.sh"});
    ASSERT_TRUE(monitor.waitForStarted(5000));
    NcidTestClient client(ncidPort);
    connectWhenListening(client, ncidPort);
    QByteArray err;
    ASSERT_TRUE(client.waitFor("MSG: 2 calls not saved")) << monitor.readAllStandardError().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return (err += monitor.readAllStandardError()).contains("Event program"); }));
    const qsizetype before = sim.commands().size();
    monitor.terminate();
    ASSERT_TRUE(monitor.waitForFinished(10000));
    EXPECT_EQ(monitor.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(monitor.exitCode(), 74);
    // The warning at the end comes before the monitor closes the connection.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return client.read(), client.socket.state() != QAbstractSocket::ConnectedState; }));
    client.read();

    err += monitor.readAllStandardError();
    EXPECT_TRUE(err.contains(R"(: oops\x0D\x1B[2Kcorvane-monitor: all calls saved)")) << err.toStdString();
    EXPECT_FALSE(err.contains('\x1b') || err.contains('\r'));
    QString said = QString::fromUtf8(err);
    said.remove(QRegularExpression(QStringLiteral(".*Event program .*\n"))); // whenever each program ends
    QString all = "== closing commands\n" + sim.commandsSince(before).join(u'\n') + "\n== stderr\n" + said + "== ncid\n"
                  + client.lines.join(u'\n') + '\n';
    EXPECT_GOLDEN("tools/data/monitor/unsaved.golden",
        masked(
            all.replace(store.home(), "HOME").replace(qEnvironmentVariable("XDG_RUNTIME_DIR"), "RUNTIME"), sim.link()));
    EXPECT_EQ(readAll(store.file("list.txt")), QString::fromUtf8(old)); // kept as it was
}

} // namespace
