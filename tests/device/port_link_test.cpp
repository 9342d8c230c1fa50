// The port link: an adapter behind ser2net behaves as a local one, and going
// away looks the same.
#include "common/ser2net_fixture.h"
#include "common/simulator_fixture.h"
#include "device/port_link.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

QString tcpName(quint16 port)
{
    return QStringLiteral("tcp://127.0.0.1:%1").arg(port);
}

// The link's first error, as the reconnect logic sees it.
QSerialPort::SerialPortError firstError(QSignalSpy& errors)
{
    const bool any = QTest::qWaitFor([&] { return !errors.isEmpty(); });
    return any ? errors[0][0].value<QSerialPort::SerialPortError>() : QSerialPort::NoError;
}

TEST(PortLink, TcpLinkActsAsASerialPort)
{
    QTcpServer adapter;
    ASSERT_TRUE(adapter.listen(QHostAddress::LocalHost, 0));
    PortLink link;
    QSignalSpy errors(&link, &PortLink::errorOccurred);
    link.setPortName(tcpName(adapter.serverPort()));
    ASSERT_TRUE(link.open(QIODevice::ReadWrite) && adapter.waitForNewConnection(5000));
    QTcpSocket* far = adapter.nextPendingConnection();
    link.write("ATI4\r");
    ASSERT_TRUE(QTest::qWaitFor([&] { return far->bytesAvailable() == 5; }));
    far->write(far->readAll() + "OK\r\n"); // the echo and the answer
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.bytesAvailable() == 9; }));
    EXPECT_EQ(link.readAll(), "ATI4\rOK\r\n");
    far->close(); // ser2net gone: as an unplugged serial port
    EXPECT_EQ(firstError(errors), QSerialPort::ResourceError);
    EXPECT_TRUE(link.isOpen() && link.write("AT\r") == -1); // open until closed, as a serial port
}

TEST(PortLink, MissingAdaptersAreNotFound)
{
    for (const char* name : {"tcp://127.0.0.1:1", "tcp://nohost", "/dev/corvane-none"}) {
        PortLink link;
        link.setPortName(name);
        EXPECT_FALSE(link.open(QIODevice::ReadWrite)) << name;
        EXPECT_EQ(link.error(), QSerialPort::DeviceNotFoundError) << name;
    }
}

TEST(PortLink, ReachesTheSimulatorThroughSer2net)
{
    if (!Ser2net::installed())
        GTEST_SKIP() << "ser2net is not installed (make deps installs it)";
    SimulatorLink sim({"--scenario", "none"});
    Ser2net server;
    ASSERT_TRUE(sim.up() && server.start(sim.link()));
    PortLink link;
    link.setPortName(server.address());
    for (int i = 0; i < 100 && !link.open(QIODevice::ReadWrite); ++i) // readiness, not a timing assertion
        QTest::qWait(50);
    QByteArray answer;
    link.write("ATI4\r");
    EXPECT_TRUE(QTest::qWaitFor([&] { return (answer += link.readAll()).contains("OK\r"); }, 5000));
    EXPECT_TRUE(answer.contains("Zedevuvi DodOva")) << answer.toStdString();
    QSignalSpy errors(&link, &PortLink::errorOccurred);
    server.kill();
    EXPECT_EQ(firstError(errors), QSerialPort::ResourceError);
}

} // namespace
