// The HTTP server's own bounds, which the end-to-end scripts cannot reach
// quickly: a push-channel client that stops reading, requests still waiting
// for their answer when the server stops, and a push a request makes.
#include "monitor/web/http_server.h"

#include <QCoreApplication>
#include <QTcpSocket>
#include <QTest>

namespace {

struct Served {
    HttpServer server;
    QList<quint64> waiting;
    QStringList log;
    Served()
    {
        server.onRequest = [this](const HttpRequest& r) {
            if (r.path == "/stream")
                server.startStream(r.id, {200, "text/event-stream", {}, {}});
            else if (r.path == "/change") { // as the API's changes tell the push channel
                for (quint64 id : server.streams())
                    server.push(id, "event: book\n\n");
                server.respond(r.id, {204, "text/plain", {}, {}});
            } else
                waiting << r.id; // answered later, or never
        };
        QObject::connect(&server, &HttpServer::logMessage, [this](const QString& t) { log << t; });
        EXPECT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    }
    std::unique_ptr<QTcpSocket> get(const char* path, int receiveBuffer = 0)
    {
        auto c = std::make_unique<QTcpSocket>();
        if (receiveBuffer) {
            c->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, receiveBuffer);
            c->setReadBufferSize(receiveBuffer);
        }
        c->connectToHost(QHostAddress::LocalHost, server.serverPort());
        EXPECT_TRUE(c->waitForConnected(10000));
        c->write(QByteArray("GET ") + path + " HTTP/1.1\r\nHost: x\r\n\r\n");
        return c;
    }
};

TEST(HttpServer, DropsAPushClientThatDoesNotRead)
{
    Served s;
    auto reader = s.get("/stream"), stalled = s.get("/stream", 4096);
    ASSERT_TRUE(QTest::qWaitFor([&] { return s.server.streams().size() == 2; }, 10000));
    const quint64 stalledId = s.server.streams().last();
    const QByteArray block(4096, 'x');
    int pushed = 0;
    while (pushed < 4096 && s.server.push(stalledId, block)) { // at most 16 MiB
        s.server.push(s.server.streams().first(), "y");
        ++pushed;
        QCoreApplication::processEvents();
        reader->readAll();
    }
    EXPECT_LT(pushed, 4096) << "never dropped";
    EXPECT_GE(qint64(pushed) * block.size(), HttpServer::kMaxStreamBacklog) << "dropped before its backlog was full";
    EXPECT_EQ(s.log.filter(QStringLiteral("does not read; dropped")).size(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return s.server.clients() == 1; }, 10000)) << "its connection stays";
    EXPECT_EQ(s.server.streams().size(), 1);
    EXPECT_TRUE(s.server.push(s.server.streams().first(), "z")) << "the reading client goes on";
}

TEST(HttpServer, StopAnswersWhatWaits)
{
    Served s;
    auto a = s.get("/later"), b = s.get("/stream");
    ASSERT_TRUE(QTest::qWaitFor([&] { return s.waiting.size() == 1 && s.server.streams().size() == 1; }, 10000));
    s.server.stop();
    s.server.respond(s.waiting.first(), {200, "text/plain", "late", {}}); // gone: nothing happens
    ASSERT_TRUE(a->waitForReadyRead(10000));
    EXPECT_TRUE(a->readAll().startsWith("HTTP/1.1 503"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return b->state() == QAbstractSocket::UnconnectedState; }, 10000));
    EXPECT_EQ(s.server.clients(), 0);
}

// Pushed while the library runs a request, the event goes out with the
// answer, not at the library's next time-out.
TEST(HttpServer, APushMadeByARequestGoesOutAtOnce)
{
    Served s;
    QByteArray streamed, answered;
    auto stream = s.get("/stream");
    ASSERT_TRUE(QTest::qWaitFor([&] { return (streamed += stream->readAll()).contains("event-stream"); }, 10000));
    auto change = s.get("/change");
    ASSERT_TRUE(QTest::qWaitFor([&] { return (answered += change->readAll()).startsWith("HTTP/1.1 204"); }, 10000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return (streamed += stream->readAll()).contains("event: book"); }, 5000));
}

} // namespace
