// A contact added on a CardDAV server (Radicale, on a free port) reaches a
// folder through vdirsyncer and names the next caller in the window, in
// corvane-monitor and in corvane-replay, each following the folder as users
// run them; the window shows the contact's photo.
#include "../common/free_port.h"
#include "../common/service_run.h"
#include "window_fixture.h"

#include "tools/replay_run.h"

#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTest>

namespace {

const QString kData = QStringLiteral(CORVANE_SOURCE_DIR "/tests/window/data/carddav/");
constexpr int kStepMs = 60000; // a bound for each program on a busy machine, never a wait
const QByteArray kCall = "in at=500ms from=0301234567 to=4711 ring=1s talk=1s\n";
const QString kCaller = QStringLiteral("0301234567");
const QColor kPhotoColour(0xc8, 0x28, 0x28); // carla.vcf's PNG

// A data file with its %1, %2 ... filled in.
QByteArray filled(const QString& name, const QStringList& args)
{
    QString text = QString::fromUtf8(readBytes(kData + name));
    for (int i = 0; i < args.size(); ++i)
        text.replace(QStringLiteral("%") + QString::number(i + 1), args[i]);
    return text.toUtf8();
}

// Radicale with an empty address book "contacts" of user "test", and
// vdirsyncer keeping a local folder in step with it.
class CardDavServer {
public:
    explicit CardDavServer(const QString& dir) : dir_(dir)
    {
        port_ = QString::number(freePort());
        writeBytes(
            dir_ + "/radicale/collection-root/test/contacts/.Radicale.props", readBytes(kData + ".Radicale.props"));
        writeBytes(dir_ + "/radicale.conf", filled("radicale.conf", {port_, dir_ + "/radicale"}));
        server_.setProcessChannelMode(QProcess::MergedChannels);
        server_.start("radicale", {"--config", dir_ + "/radicale.conf"});
    }

    ~CardDavServer()
    {
        server_.terminate();
        server_.waitForFinished(10000);
    }

    // Listening, or why not.
    bool up(QString& why)
    {
        const bool listening = QTest::qWaitFor(
            [&] {
                QTcpSocket s;
                s.connectToHost(QHostAddress::LocalHost, port_.toUShort());
                return s.waitForConnected(200) || server_.state() == QProcess::NotRunning;
            },
            kStepMs);
        why = QString::fromUtf8(server_.readAll());
        return listening && server_.state() == QProcess::Running;
    }

    // A contact added as a phone or a web client adds it: an HTTP PUT. The HTTP status.
    int add(const QString& card)
    {
        QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1/test/contacts/%2").arg(port_, card)));
        request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("text/vcard; charset=utf-8"));
        request.setRawHeader("Authorization", "Basic " + QByteArray("test:secret").toBase64());
        QNetworkAccessManager network;
        std::unique_ptr<QNetworkReply> reply(network.put(request, readBytes(kData + card)));
        if (!QTest::qWaitFor([&] { return reply->isFinished(); }, kStepMs))
            return 0;
        return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    }

    // vdirsyncer's discover and sync into `vdir`; "" or what went wrong.
    QString sync(const QString& vdir)
    {
        QDir().mkpath(vdir + "/contacts"); // the local side of the collection: no question asked
        writeBytes(dir_ + "/vdirsyncer.conf", filled("vdirsyncer.conf", {dir_ + "/status", vdir, port_}));
        for (const char* step : {"discover", "sync"}) {
            QProcess sync;
            sync.setProcessChannelMode(QProcess::MergedChannels);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("HOME", dir_); // nothing of the user's own configuration
            sync.setProcessEnvironment(env);
            sync.start("vdirsyncer", {"-c", dir_ + "/vdirsyncer.conf", step});
            sync.closeWriteChannel(); // a question would read "no"
            if (!sync.waitForFinished(kStepMs) || sync.exitCode() != 0)
                return QString::fromLatin1(step) + ": " + QString::fromUtf8(sync.readAll());
        }
        return {};
    }

private:
    QString dir_, port_;
    QProcess server_;
};

} // namespace

TEST_F(WindowTest, AContactAddedOnACardDavServerNamesTheNextCallerInTheWindowTheServiceAndTheReplay)
{
    for (const char* program : {"radicale", "vdirsyncer"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
            GTEST_SKIP() << program << " is not installed (make deps installs it)";
    for (const char* program : {"dodova-sim", "corvane-monitor"})
        if (!QFileInfo(QStringLiteral(CORVANE_BUILD_DIR "/") + program).isExecutable())
            GTEST_SKIP() << program << " is not built";
    CardDavServer server(dir.filePath("dav"));
    QString why;
    ASSERT_TRUE(server.up(why)) << why.toStdString();
    const QString vdir = dir.filePath("contacts");
    ASSERT_EQ(server.sync(vdir), "");
    const QString scenario = dir.filePath("call.scn"), trace = dir.filePath("call.trace");
    writeBytes(scenario, kCall);
    ASSERT_EQ(
        QProcess::execute(CORVANE_BUILD_DIR "/dodova-sim", {"--scenario", scenario, "--render-capture", trace}), 0);
    QList<CaptureLine> capture;
    ASSERT_TRUE(TimedCapture::load(trace, capture));

    // The window and the service follow the folder while it is still empty;
    // the service's first call comes from a caller nobody knows yet.
    settings().write("ContactsFolder", vdir);
    FormMonitor& m = makeMonitor();
    m.open();
    ServiceRun service;
    service.start(scenario, {}, {"--contacts", vdir});
    ASSERT_TRUE(service.said("0 contacts from") && service.said("logged")) << service.log().toStdString();
    EXPECT_TRUE(service.log().contains("logged channel A msn 4711 number 0301234567 Answer"));

    ASSERT_EQ(server.add("carla.vcf"), 201);
    ASSERT_EQ(server.sync(vdir), "");

    // The window: named, with the photo, as soon as the call comes in.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            QString number = kCaller;
            const auto contacts = m.engine().inputs().contacts;
            return contacts && contacts->nameFor(number) == "Carla DAV";
        },
        kStepMs));
    const qint64 start = clock.elapsed();
    for (CaptureLine& l : capture)
        l.ms += start;
    feedCapture(m.engine(), clock, capture, start, start + 1500); // ringing
    EXPECT_EQ(m.findChild<QLabel*>("Label1")->text(), kCaller);
    EXPECT_EQ(m.findChild<QLabel*>("Label19")->text(), "Carla DAV");
    EXPECT_EQ(centreColour(m.findChild<QLabel*>("ImageA")), kPhotoColour);
    feedCapture(m.engine(), clock, capture, start + 1501, capture.last().ms + Replay::kRunOnMs);
    m.close();
    ASSERT_FALSE(m.engine().callList().records().isEmpty());
    EXPECT_EQ(m.engine().callList().records().first().name, "Carla DAV");

    // The service: the adapter comes back with the same caller, now named.
    ASSERT_TRUE(service.said("1 contacts from")) << service.log().toStdString();
    ASSERT_TRUE(service.sim().start({"--scenario", scenario}));
    EXPECT_TRUE(service.said("logged channel A msn 4711 number 0301234567 (Carla DAV) Answer"))
        << service.log().toStdString();

    // The replay of the same call.
    ReplayOptions o;
    o.capture = trace;
    o.outDir = dir.filePath("replay");
    o.contactsDir = vdir;
    ReplaySummary summary;
    ASSERT_TRUE(Replay::run(o, summary, why)) << why.toStdString();
    EXPECT_EQ(QString::fromUtf8(readBytes(o.outDir + "/list.txt")).split(u'\t').value(5), "Carla DAV");
}
