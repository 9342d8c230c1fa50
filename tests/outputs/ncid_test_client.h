#pragma once
// An NCID client as the API describes one: lines end in a line feed (a CR
// before it is dropped) and fields are *LABEL*data* pairs found by label
// wherever they stand. It reads in the event loop: the server keeps running.
#include <QHostAddress>
#include <QTcpSocket>
#include <QTest>

struct NcidTestClient {
    explicit NcidTestClient(quint16 port)
    {
        socket.connectToHost(QHostAddress::LocalHost, port);
        socket.waitForConnected(10000); // the kernel's handshake: the server need not run
    }
    void send(const QByteArray& text) { socket.write(text), socket.flush(); }
    void read() // takes in what has arrived
    {
        raw += socket.peek(socket.bytesAvailable());
        pending += socket.readAll();
        for (qsizetype end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1))
            lines << QString::fromUtf8(pending.left(end - (end > 0 && pending[end - 1] == '\r')));
    }
    bool waitFor(const QString& prefix) // a line starting so, for up to 10 s
    {
        const auto arrived = [&](const QString& line) { return line.startsWith(prefix); };
        return QTest::qWaitFor([&] { return read(), std::any_of(lines.begin(), lines.end(), arrived); }, 10000);
    }
    static QString field(const QString& line, const QString& label)
    {
        const QStringList parts = line.split(u'*');
        return parts.indexOf(label, 1) > 0 ? parts.value(parts.indexOf(label, 1) + 1) : QString();
    }

    QTcpSocket socket;
    QByteArray raw, pending; // every byte received; the start of a line
    QStringList lines;       // every whole line received
};
