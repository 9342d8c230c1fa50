// The MQTT client against a mosquitto broker of the test's own: TLS with a CA
// the test makes, each problem said once over its retries, the bounded queue
// while the broker is away, and discovery sent again for Home Assistant
// (make deps installs mosquitto).
#include "common/mosquitto_fixture.h"
#include "monitor/outputs/mqtt_messages.h"
#include "monitor/outputs/mqtt_output.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <ctime>
#include <gtest/gtest.h>

namespace {

// A CA, a certificate for 127.0.0.1 signed by it, and a password file, in the broker's folder.
bool makeKeys(const Broker& broker)
{
    const QString ec = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";
    for (const QString& command : {"openssl req -x509" + ec + " -days 2 -subj /CN=ca -keyout ca.key -out ca.crt",
             "openssl req" + ec + " -subj /CN=127.0.0.1 -keyout server.key -out server.csr",
             QStringLiteral("openssl x509 -req -in server.csr -CA ca.crt -CAkey ca.key -CAcreateserial -days 2 "
                            "-extfile ext.cnf -out server.crt"),
             QStringLiteral("mosquitto_passwd -b -c passwords anna secret")}) {
        QProcess p;
        p.setWorkingDirectory(broker.filePath({}));
        p.start("sh", {"-c", "echo subjectAltName=IP:127.0.0.1 >ext.cnf && " + command});
        if (!p.waitForFinished(60000) || p.exitCode() != 0)
            return false;
    }
    return true;
}

MqttConfig localConfig(const Broker& broker)
{
    return {.host = "127.0.0.1", .port = broker.port(), .caFile = {}, .user = {}, .password = {}, .deviceId = "t"};
}

TEST(MqttClient, ConnectsOverTlsWithTheGivenCaAndSaysEachProblemOnce)
{
    const char* tls = "allow_anonymous true\ncafile {dir}/ca.crt\ncertfile {dir}/server.crt\nkeyfile {dir}/server.key";
    const struct {
        const char *access, *host; // the broker's settings; the host the client is given
        bool tls, withCa, wrongPassword;
        const char* said;      // "connected", or the one problem said over three attempts
        MqttClient::Link link; // what the settings window shows
    } cases[] = {
        {tls, "127.0.0.1", true, true, false, "connected", MqttClient::Link::Connected},
        {tls, "127.0.0.1", true, false, false, "cannot connect (", MqttClient::Link::Failed}, // our CA is unknown
        {"allow_anonymous false\npassword_file {dir}/passwords", "127.0.0.1", false, false, true,
            "refused the connection (Connection Refused: not authorised.); retrying", MqttClient::Link::NotAuthorised},
        {"allow_anonymous true", "no-such-host.invalid", false, false, false, "cannot find the host (",
            MqttClient::Link::UnknownHost},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        Broker broker(QString::fromLatin1(c.access));
        ASSERT_TRUE(makeKeys(broker));
        ASSERT_TRUE(broker.start());
        const MqttConfig config{.host = c.host,
            .port = broker.port(),
            .tls = c.tls,
            .caFile = c.withCa ? broker.filePath("ca.crt") : QString(),
            .user = c.wrongPassword ? "anna" : "",
            .password = c.wrongPassword ? "wrong" : "",
            .deviceId = "t"};
        MqttClient client(config, "t/status", "offline");
        QStringList log;
        QObject::connect(&client, &MqttClient::logMessage, [&log](const QString& m) { log << m; });
        client.start();
        const bool connects = QByteArray(c.said) == "connected";
        ASSERT_TRUE(QTest::qWaitFor([&] { return connects ? client.isConnected() : client.attempts() >= 3; }, 30000))
            << log.join(u'\n').toStdString();
        ASSERT_EQ(log.size(), 1) << log.join(u'\n').toStdString();
        EXPECT_TRUE(log[0].contains(c.said)) << log[0].toStdString();
        EXPECT_EQ(int(client.link()), int(c.link));
    }
}

// A TLS broker that is away: each attempt fails at once with the reason, and
// the client waits between attempts rather than retry its hello on the dead socket.
TEST(MqttClient, ATlsBrokerThatIsAwayIsRefusedAtOnceAndTriedAgainLater)
{
    MqttConfig config;
    config.host = "127.0.0.1";
    config.port = freePort();
    config.tls = true;
    config.deviceId = "t";
    MqttClient client(config, "t/status", "offline");
    QStringList log;
    QObject::connect(&client, &MqttClient::logMessage, [&log](const QString& m) { log << m; });
    const std::clock_t cpu = std::clock();
    QElapsedTimer wall;
    wall.start();
    client.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.attempts() >= 3; }, 30000)) << log.join(u'\n').toStdString();
    EXPECT_EQ(
        log.join(u'\n'), QStringLiteral("MQTT broker 127.0.0.1 port %1: cannot connect (Connection refused); retrying")
                             .arg(config.port));
    EXPECT_EQ(int(client.link()), int(MqttClient::Link::Refused));
    EXPECT_LT(double(std::clock() - cpu) / CLOCKS_PER_SEC, 0.00025 * double(wall.elapsed())); // a spin takes a core
}

// A broker that takes the connection but never acknowledges a QoS-1 message
// counts as gone: the client connects again and the message goes again.
TEST(MqttClient, ABrokerThatNeverAcknowledgesIsLeftAndTheMessageSentAgain)
{
    QTcpServer deaf;
    ASSERT_TRUE(deaf.listen(QHostAddress::LocalHost));
    QList<QByteArray> connections; // what each connection brought
    QObject::connect(&deaf, &QTcpServer::newConnection, [&] {
        QTcpSocket* s = deaf.nextPendingConnection();
        const qsizetype n = connections.size();
        connections.append(QByteArray());
        QObject::connect(s, &QTcpSocket::readyRead, [&connections, s, n] {
            if (connections[n].isEmpty()) // the CONNECT: a CONNACK, then nothing more
                s->write(QByteArray("\x20\x02\x00\x00", 4));
            connections[n] += s->readAll();
        });
    });
    MqttConfig config;
    config.host = "127.0.0.1";
    config.port = deaf.serverPort();
    config.deviceId = "t";
    MqttClient client(config, "t/status", "offline");
    client.setAckTimeout(1000);
    client.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.isConnected(); }, 30000));
    client.publish({"q", "unacknowledged"});
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return connections.size() >= 2 && connections[1].contains("unacknowledged"); }, 30000));
}

// While the broker is away the oldest messages beyond the queue's bound are
// dropped, said once; the rest arrive in order when it is back.
TEST(MqttClient, AFullQueueDropsTheOldestAndDeliversTheRestInOrder)
{
    Broker broker;
    ASSERT_TRUE(broker.start());
    Subscriber reader(broker, {"q"}, "corvane-test-queue"); // its session outlives the broker's restart
    ASSERT_TRUE(reader.ready());
    broker.stop();
    MqttClient client(localConfig(broker), "t/status", "offline");
    QStringList log, expected;
    QObject::connect(&client, &MqttClient::logMessage, [&log](const QString& m) { log << m; });
    client.start();
    for (int i = 1; i <= MqttClient::kMaxQueued + 2; ++i) {
        client.publish({"q", QByteArray::number(i)});
        if (i > 2)
            expected << QStringLiteral("q %1").arg(i);
    }
    ASSERT_TRUE(broker.start());
    ASSERT_TRUE(reader.waitFor(expected.last(), 1, 60000));
    const QStringList got = reader.lines();
    EXPECT_TRUE(got == expected) << got.size() << " lines from " << got.value(0).toStdString();
    EXPECT_EQ(log.filter("dropping the oldest").size(), 1) << log.join(u'\n').toStdString();
    EXPECT_EQ(log.filter("2 events were dropped").size(), 1) << log.join(u'\n').toStdString();
    broker.stop(); // what waits when the monitor stops is counted on the log
    ASSERT_TRUE(QTest::qWaitFor([&] { return !client.isConnected(); }, 30000));
    client.publish({"q", "late"});
    client.stop({"t/status", "offline", 1, true});
    EXPECT_EQ(log.filter("1 events waiting for the broker are dropped").size(), 1) << log.join(u'\n').toStdString();
}

// Home Assistant says it is back: it forgot the devices, so they are announced
// again; a flood of "online"s is answered a bounded number of times.
TEST(MqttOutput, HomeAssistantOnlineAnnouncesTheDeviceAgainAtMostOncePerPause)
{
    Broker broker;
    ASSERT_TRUE(broker.start());
    MqttOutput output(localConfig(broker));
    output.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return output.isConnected(); }, 30000));
    Subscriber live(broker, {"homeassistant/#"}, {}, {"-R"}); // what is sent from now on, no retained copies
    ASSERT_TRUE(live.ready());
    const int configs = int(mqtt_messages::discovery(output.config()).size());
    EXPECT_TRUE(QTest::qWaitFor( // said until heard: the output may still be subscribing
        [&] {
            QProcess::execute(
                "mosquitto_pub", broker.clientArgs() + QStringList{"-t", "homeassistant/status", "-m", "online"});
            return live.lines().filter("/config ").size() >= configs;
        },
        30000));
    QProcess flood; // 10,000 messages from one client, one a line
    flood.start("mosquitto_pub", broker.clientArgs() + QStringList{"-t", "homeassistant/status", "-l"});
    ASSERT_TRUE(flood.waitForStarted());
    flood.write(QByteArray("online\n").repeated(10000));
    flood.closeWriteChannel();
    ASSERT_TRUE(live.waitFor("homeassistant/status online", 10001, 60000));
    ASSERT_TRUE(live.waitFor("/config ", 2 * configs, 30000)); // the pause over, once more
    QTest::qWait(500);                                         // a flood answered once per message would be seen by now
    EXPECT_LE(live.lines().filter("/config ").size(), 4 * configs);
}

} // namespace
