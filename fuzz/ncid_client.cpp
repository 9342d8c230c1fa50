// What an NCID client sends the server: its HELLO: lines during the start-up
// window, then anything. Another client watching the server gets only whole
// lines without control characters (a client cannot forge lines for the
// others), the server still answers "REQ: YO" at once afterwards, and a
// client that goes away leaves no trace in the server.
#include "fuzz_entry.h"

#include "monitor/engine/virtual_clock.h"
#include "monitor/outputs/ncid_server.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpSocket>

namespace {

constexpr int kWaitMs = 5000;
constexpr qint64 kHelloWindowPassed = 600;
constexpr qsizetype kLongestRelayedLine = 1024 + 128; // the longest client line plus the server's fields

template <typename Done>
bool spinUntil(Done done)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > kWaitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

struct Server {
    VirtualClock clock;
    NcidServer server{clock};
    std::unique_ptr<QTcpSocket> watcher;
    QByteArray watched;

    Server() { FUZZ_CHECK(server.listen(QHostAddress(QHostAddress::LocalHost), 0)); }

    std::unique_ptr<QTcpSocket> connectClient()
    {
        auto socket = std::make_unique<QTcpSocket>();
        const int before = server.clientCount();
        socket->connectToHost(QHostAddress::LocalHost, server.serverPort());
        FUZZ_CHECK(socket->waitForConnected(kWaitMs));
        FUZZ_CHECK(spinUntil([&] { return server.clientCount() == before + 1; }));
        return socket;
    }

    // A client past its start-up that only reads; made again if it was dropped.
    void ensureWatcher()
    {
        if (watcher && watcher->state() == QAbstractSocket::ConnectedState)
            return;
        watcher.reset();
        spinUntil([&] { return server.clientCount() == 0; });
        watcher = connectClient();
        clock.advance(kHelloWindowPassed);
        spinUntil([&] { return watcher->readAll().contains("300 End"); });
        watched.clear();
    }

    // Every whole line the watcher got since the last look.
    void checkWatched()
    {
        watched += watcher->readAll();
        qsizetype end;
        while ((end = watched.indexOf('\n')) >= 0) {
            const QByteArray line = watched.left(end);
            watched.remove(0, end + 1);
            FUZZ_CHECK(line.endsWith('\r') && line.size() <= kLongestRelayedLine);
            for (char c : line.chopped(1))
                FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20);
        }
    }
};

void ncidClient(const QByteArray& data)
{
    static Server s;
    s.ensureWatcher();
    const int before = s.server.clientCount();
    {
        std::unique_ptr<QTcpSocket> client = s.connectClient();
        const qsizetype half = data.size() / 2;
        client->write(data.left(half)); // within the HELLO: window
        spinUntil([&] { return client->bytesToWrite() == 0; });
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        s.clock.advance(kHelloWindowPassed);
        client->write(data.mid(half) + "\nREQ: YO\n");
        QByteArray got;
        const bool answered = spinUntil([&] {
            got += client->readAll();
            s.checkWatched();
            return got.contains("ACK: REQ: YO") || client->state() != QAbstractSocket::ConnectedState;
        });
        FUZZ_CHECK(answered);
    }
    FUZZ_CHECK(spinUntil([&] {
        s.checkWatched();
        return s.server.clientCount() < before + 1;
    }));
}

} // namespace

CORVANE_FUZZ_HARNESS("ncid_client", ncidClient)
