// corvane-replay --contacts: callers named from a folder of vCards after the
// book, and from a real CardDAV server (Radicale) through vdirsyncer.
#include "tools/replay_run.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <iterator>

namespace {

const QString kData = QStringLiteral(CORVANE_SOURCE_DIR "/tests/tools/data");
constexpr int kStepMs = 60000; // a bound for each program on a busy machine, never a wait

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size()) << path.toStdString();
}

QByteArray card(const char* name)
{
    return QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:") + QByteArray(name).toHex() + "\r\nFN:" + name
           + "\r\nTEL;TYPE=CELL:+49 30 1234567\r\nEND:VCARD\r\n";
}

// The name of the answered call the hand-made capture holds (caller 0301234567).
QString replayedName(const QString& book, const QString& contacts)
{
    QTemporaryDir out;
    ReplayOptions o;
    o.capture = kData + "/incoming-answered-handmade.trace";
    o.outDir = out.path();
    o.bookFile = book;
    o.contactsDir = contacts;
    ReplaySummary summary;
    QString error;
    if (!Replay::run(o, summary, error))
        return "<error " + error + ">";
    QFile list(out.filePath("list.txt"));
    return list.open(QIODevice::ReadOnly) ? QString::fromUtf8(list.readLine()).split(u'\t').value(5) : "<no list>";
}

} // namespace

TEST(ReplayContacts, TheFolderNamesWhatTheBookDoesNot)
{
    QTemporaryDir dir;
    write(dir.filePath("vdir/default/carla.vcf"), card("Carla Folder"));
    write(dir.filePath("own.txt"), "Carla Book\t0301234567\t-\t-\t-\t-\r\n");
    write(dir.filePath("other.txt"), "Someone\t0897654321\t-\t-\t-\t-\r\n");
    const std::tuple<const char*, QString, QString> cases[] = {
        {"folder only", "", dir.filePath("vdir")},
        {"book without the number", dir.filePath("other.txt"), dir.filePath("vdir")},
        {"book wins", dir.filePath("own.txt"), dir.filePath("vdir")},
        {"no folder", dir.filePath("other.txt"), ""},
    };
    const char* expected[] = {"Carla Folder", "Carla Folder", "Carla Book", ""};
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& [what, book, folder] = cases[i];
        EXPECT_EQ(replayedName(book, folder), QString::fromLatin1(expected[i])) << what;
    }
}

// Radicale on a free port with a contact in its file storage, vdirsyncer
// syncing it into a folder, and the replay naming the caller from there.
TEST(ReplayContacts, AContactOnACardDavServerNamesTheCaller)
{
    for (const char* program : {"radicale", "vdirsyncer"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
            GTEST_SKIP() << program << " is not installed (make deps installs it)";
    QTemporaryDir dir;
    quint16 port = 0;
    {
        QTcpServer probe; // a port the system just handed out is free
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    const QString root = dir.filePath("radicale/collection-root/test/contacts");
    write(root + "/.Radicale.props", R"({"tag": "VADDRESSBOOK", "D:displayname": "contacts"})");
    write(root + "/carla.vcf", card("Carla DAV"));
    write(dir.filePath("radicale.conf"), QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n[auth]\ntype = none\n"
                                                        "[storage]\nfilesystem_folder = %2\n[web]\ntype = none\n")
                                             .arg(port)
                                             .arg(dir.filePath("radicale"))
                                             .toUtf8());
    QProcess server; // ended when destroyed
    server.setProcessChannelMode(QProcess::MergedChannels);
    server.start("radicale", {"--config", dir.filePath("radicale.conf")});
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            QTcpSocket s;
            s.connectToHost(QHostAddress::LocalHost, port);
            return s.waitForConnected(200) || server.state() == QProcess::NotRunning;
        },
        kStepMs));
    ASSERT_EQ(server.state(), QProcess::Running) << server.readAll().toStdString();

    const QString vdir = dir.filePath("contacts");
    QDir().mkpath(vdir + "/contacts"); // the local side of the collection: no question asked
    write(dir.filePath("vdirsyncer.conf"),
        QStringLiteral("[general]\nstatus_path = \"%1\"\n\n[pair book]\na = \"book_local\"\nb = \"book_remote\"\n"
                       "collections = [\"from b\"]\n\n[storage book_local]\ntype = \"filesystem\"\npath = \"%2\"\n"
                       "fileext = \".vcf\"\n\n[storage book_remote]\ntype = \"carddav\"\n"
                       "url = \"http://127.0.0.1:%3/\"\nusername = \"test\"\npassword = \"secret\"\n")
            .arg(dir.filePath("status"), vdir)
            .arg(port)
            .toUtf8());
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
    EXPECT_EQ(QDir(vdir + "/contacts").entryList({"*.vcf"}).size(), 1);
    EXPECT_EQ(replayedName({}, vdir), QStringLiteral("Carla DAV"));
}
