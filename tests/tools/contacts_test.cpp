// corvane-replay --contacts naming a caller from a real CardDAV server
// (Radicale) through vdirsyncer. The book winning over the folder, and the
// folder naming what the book does not: monitor_program_test.cpp.
#include "common/test_files.h"
#include "tools/replay_run.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kData = QStringLiteral(CORVANE_SOURCE_DIR "/tests/tools/data/");
constexpr int kStepMs = 60000; // a bound for each program on a busy machine, never a wait

// A data file with its %1, %2 ... filled in.
QByteArray filled(const QString& name, const QString& a1, const QString& a2)
{
    return QString::fromUtf8(readBytes(kData + name)).arg(a1, a2).toUtf8();
}

} // namespace

// Radicale on a free port with a contact in its file storage, vdirsyncer
// syncing it into a folder, and the replay naming the caller from there.
TEST(ReplayContacts, AContactOnACardDavServerNamesTheCaller)
{
    for (const char* program : {"radicale", "vdirsyncer"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
            GTEST_SKIP() << program << " is not installed (make deps installs it)";
    QTemporaryDir dir;
    QTcpServer probe; // a port the system just handed out is free
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const QString port = QString::number(probe.serverPort());
    probe.close();
    const QString root = dir.filePath("radicale/collection-root/test/contacts");
    for (const char* file : {".Radicale.props", "carla.vcf"}) // an address book "contacts" of user "test"
        writeBytes(root + '/' + file, readBytes(kData + "contacts/" + file));
    writeBytes(dir.filePath("radicale.conf"), filled("contacts/radicale.conf", port, dir.filePath("radicale")));
    QProcess server; // ended when destroyed
    server.setProcessChannelMode(QProcess::MergedChannels);
    server.start("radicale", {"--config", dir.filePath("radicale.conf")});
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            QTcpSocket s;
            s.connectToHost(QHostAddress::LocalHost, port.toUShort());
            return s.waitForConnected(200) || server.state() == QProcess::NotRunning;
        },
        kStepMs));
    ASSERT_EQ(server.state(), QProcess::Running) << server.readAll().toStdString();

    const QString vdir = dir.filePath("contacts");
    QDir().mkpath(vdir + "/contacts"); // the local side of the collection: no question asked
    writeBytes(dir.filePath("vdirsyncer.conf"),
        filled("contacts/vdirsyncer.conf", dir.filePath("status"), vdir).replace("%3", port.toUtf8()));
    for (const char* step : {"discover", "sync"}) {
        QProcess sync;
        sync.setProcessChannelMode(QProcess::MergedChannels);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", dir.path()); // nothing of the user's own configuration
        sync.setProcessEnvironment(env);
        sync.start("vdirsyncer", {"-c", dir.filePath("vdirsyncer.conf"), step});
        sync.closeWriteChannel(); // a question would read "no"
        ASSERT_TRUE(sync.waitForFinished(kStepMs)) << step;
        EXPECT_EQ(sync.exitCode(), 0) << step << ": " << sync.readAll().toStdString();
    }
    ReplayOptions o; // the hand-made capture's answered call comes from 0301234567
    o.capture = kData + "incoming-answered-handmade.trace";
    o.outDir = dir.filePath("replay");
    o.contactsDir = vdir;
    ReplaySummary summary;
    QString error;
    ASSERT_TRUE(Replay::run(o, summary, error)) << error.toStdString();
    EXPECT_EQ(QString::fromUtf8(readBytes(o.outDir + "/list.txt")).split(u'\t').value(5), "Carla DAV");
}
