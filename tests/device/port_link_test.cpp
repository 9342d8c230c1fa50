// The port link: an adapter behind ser2net behaves as a local one, and going
// away looks the same.
#include "device/port_link.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

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

// Commands opened and closed one by one go out on one connection, which ends
// with all of them delivered once the link has been closed a while; the next
// command connects again, and so does one after the far end dropped the link.
TEST(PortLink, CommandsShareOneConnectionThatEndsGracefully)
{
    QTcpServer adapter;
    ASSERT_TRUE(adapter.listen(QHostAddress::LocalHost, 0));
    PortLink link;
    link.setPortName(tcpName(adapter.serverPort()));
    const auto send = [&](const char* command) {
        const bool sent = link.open(QIODevice::ReadWrite) && link.write(command) > 0;
        link.close(); // at once: what was written must still arrive
        return sent;
    };
    const auto received = [&](QTcpSocket* far) { // everything, once the link has ended the connection
        QByteArray got;
        const bool ended = QTest::qWaitFor(
            [&] { return got += far->readAll(), far->state() == QAbstractSocket::UnconnectedState; }, 10000);
        return ended ? got + far->readAll() : "<still connected>";
    };
    ASSERT_TRUE(send("ATE0\r") && send("ATCD1\r") && send("ATCD9\r"));
    ASSERT_TRUE(adapter.waitForNewConnection(5000));
    EXPECT_EQ(received(adapter.nextPendingConnection()), "ATE0\rATCD1\rATCD9\r");
    EXPECT_FALSE(adapter.hasPendingConnections());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !link.isConnected(); })); // ended on the far end's close

    ASSERT_TRUE(send("ATI4\r") && adapter.waitForNewConnection(5000));
    QTcpSocket* far = adapter.nextPendingConnection();
    ASSERT_TRUE(QTest::qWaitFor([&] { return far->bytesAvailable() == 5; }));
    far->close(); // another client took the adapter over, or ser2net restarted
    ASSERT_TRUE(QTest::qWaitFor([&] { return !link.isConnected(); }));
    ASSERT_TRUE(send("ATE1\r") && adapter.waitForNewConnection(5000));
    EXPECT_EQ(received(adapter.nextPendingConnection()), "ATE1\r");
}

// A local port that rests after each read, as the monitor's does, still
// delivers every byte in order: a lone byte that came during a rest, and a
// block that waited in the driver, without a read per byte.
TEST(PortLink, ALocalPortThatRestsDeliversEveryByte)
{
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    PortLink link;
    link.setPortName(QString::fromLatin1(name));
    ASSERT_TRUE(link.open(QIODevice::ReadWrite));
    QByteArray got;
    int reads = 0;
    QObject::connect(&link, &PortLink::readyRead, [&] {
        got += link.readAll(), ++reads;
        link.restReading(20);
    });
    const QByteArray block(3000, 'x');
    for (const QByteArray& piece : {QByteArray("abc"), QByteArray("d"), block}) {
        const QByteArray want = got + piece;
        ASSERT_EQ(::write(master, piece.constData(), piece.size()), piece.size());
        EXPECT_TRUE(QTest::qWaitFor([&] { return got == want; }, 10000)) << got.size() << " of " << want.size();
    }
    EXPECT_LE(reads, 10);
    link.close();
    ::close(slave);
    ::close(master);
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

} // namespace
