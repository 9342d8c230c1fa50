// The NCID server against a client written from the API document.
#include "common/golden.h"
#include "call_scenario.h"
#include "ncid_test_client.h"

#include "monitor/engine/call_list.h"
#include "monitor/engine/virtual_clock.h"
#include "monitor/outputs/ncid_server.h"

#include <QTemporaryDir>

namespace {

class NcidServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&server, &NcidServer::logMessage, [this](const QString& t) { log << t; });
        full.setListPath(scenario::dataPath("list.txt"));
        full.ReadTheList();
    }
    // Sends HELLO: lines after "210", as clients do, and ends the HELLO:
    // window once the server has read them.
    std::unique_ptr<NcidTestClient> join(const QByteArray& hello = {})
    {
        auto c = std::make_unique<NcidTestClient>(server.serverPort());
        const QString ident = QStringLiteral("client corvane-test %1").arg(++clients);
        EXPECT_TRUE(c->waitFor("210 "));
        c->send(hello + "HELLO: IDENT: " + ident.toUtf8() + '\n');
        EXPECT_TRUE(QTest::qWaitFor([&] { return !log.filter(ident).isEmpty(); }));
        clock.advance(500);
        return c;
    }
    bool logged(const NcidTestClient& c, const char* what) // e.g. ":40000 dropped"
    {
        return !log.filter(QStringLiteral(":%1 %2").arg(c.socket.localPort()).arg(what)).isEmpty();
    }
    QTemporaryDir dir;
    VirtualClock clock;
    NcidServer server{clock};
    CallList full;
    QStringList log;
    int clients = 0;
};

TEST_F(NcidServerTest, ACallReachesAClientAsTheApiLines)
{
    server.setCallList(&full);
    auto c = join();
    for (const CallEvent& e : scenario::events())
        server.callEvent(e);
    ASSERT_TRUE(c->waitFor("END: *HTYPE*CANCEL*DATE*01052026*TIME*1001"));
    EXPECT_GOLDEN("outputs/data/ncid_session.txt", QByteArray(c->raw).replace("\r\n", "\n"));
    EXPECT_EQ(c->raw.count("\r\n"), c->lines.size());                          // every line ends in CR LF
    const QString cid = c->lines.filter(QRegularExpression("^CID:")).value(0); // as a client shows it
    EXPECT_EQ(QStringList({"Alice Example", "03012345678", "4711"}),
        QStringList({c->field(cid, "NAME"), c->field(cid, "NMBR"), c->field(cid, "LINE")}));
}

TEST_F(NcidServerTest, StartupSaysWhyNoLogCame)
{
    CallList noFile, emptyFile;
    noFile.setListPath(dir.filePath("missing.txt"));
    emptyFile.setListPath(dir.filePath("list.txt"));
    QFile(emptyFile.listPath()).open(QIODevice::WriteOnly);
    const std::tuple<const CallList*, bool, QByteArray, const char*> cases[] = {
        {nullptr, true, {}, "253 No Call log"}, {&noFile, true, {}, "253 No Call log"},
        {&emptyFile, true, {}, "252 Call log empty"}, {&full, false, {}, "251 Call log not sent"},
        {&full, true, "HELLO: CMD: no_log\n", "251 Call log not sent"},
        {&full, true, {}, "250 End of call log"}, // no_log was for one client only
    };
    for (const auto& [list, sendLog, hello, status] : cases) {
        server.setCallList(list);
        server.setSendCallLog(sendLog);
        auto c = join(hello);
        ASSERT_TRUE(c->waitFor("300 ")) << status;
        EXPECT_EQ(c->lines.value(c->lines.size() - 2), status);
        EXPECT_EQ(c->lines.filter("CIDLOG:").size(), status[2] == '0' ? 3 : 0) << status;
    }
}

TEST_F(NcidServerTest, BadClientsNeitherStopNorGrowTheServer)
{
    auto good = join();
    NcidTestClient garbage(server.serverPort()), endless(server.serverPort()), deaf(server.serverPort());
    // Stalled clients: Qt takes in no more than 1 KiB for them, and their
    // systems' buffers are fixed small: left to grow, they take in megabytes
    // before the server sees the client stand still.
    for (NcidTestClient* c : {&garbage, &endless, &deaf}) {
        c->socket.setReadBufferSize(1024);
        c->socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 8192);
    }
    delete new NcidTestClient(server.serverPort()); // connects and vanishes
    garbage.send(QByteArray("\0\xff\r\r\n\n****\nREQ: YO\nCALL: ###DATE+++\nHELLO: CMD: no_log\nMSG: Food\n", 65));
    endless.send(QByteArray(4 << 20, 'x'));
    ASSERT_TRUE(QTest::qWaitFor([&] { return logged(garbage, "co") && logged(endless, "co") && logged(deaf, "co"); }));
    clock.advance(500); // all past their start-up
    EXPECT_TRUE(garbage.waitFor("ACK: REQ: YO"));
    EXPECT_TRUE(good->waitFor("MSG: Food ***DATE*01012026*TIME*1000*NAME*-*NMBR*-*LINE*-*MTYPE*-*")); // passed on
    std::vector<std::unique_ptr<QTcpSocket>> flood(1000);
    for (auto& s : flood)
        (s = std::make_unique<QTcpSocket>())->connectToHost(QHostAddress::LocalHost, server.serverPort());
    const auto connecting = [](auto& s) { return s->state() == QAbstractSocket::ConnectingState; };
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::none_of(flood.begin(), flood.end(), connecting); }, 60000));
    EXPECT_EQ(server.clientCount(), NcidServer::kMaxClients);
    flood.clear();
    // Clients that stop reading are dropped as their buffers fill; the reader gets every line.
    const CallEvent call = scenario::events().first();
    int sent = 0;
    while (sent < 100000 && !(logged(deaf, "dropped") && logged(endless, "dropped") && logged(garbage, "dropped"))) {
        for (int i = 0; i < 100; ++i, ++sent)
            server.callEvent(call);
        QCoreApplication::processEvents();
    }
    EXPECT_LT(sent, 100000) << log.join(u'\n').toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return good->read(), good->lines.filter("CID:").size() == sent; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.clientCount() == 1; }));
}

// The call log grows with each call in place: a client reading it sends what
// there was when it connected, a later client gets the new call last.
TEST_F(NcidServerTest, ACallLoggedDuringAClientsStartUpGoesToTheNextClientsLog)
{
    CallList list;
    list.setListPath(dir.filePath("list.txt"));
    list.setPhoneBook(dir.filePath("book.txt"), {});
    list.setRecords(full.records());
    server.setCallList(&list);
    NcidTestClient first(server.serverPort());
    ASSERT_TRUE(QTest::qWaitFor([&] { return logged(first, "connected"); }));
    list.AddCall("4711", "Ring", QDate(2026, 1, 6), "08:00:00", "0309999", "", "0:00:09", "-");
    auto second = join();
    ASSERT_TRUE(first.waitFor("300 ") && second->waitFor("300 "));
    const QRegularExpression logLine("^(CID|OUT)LOG:");
    EXPECT_EQ(first.lines.filter(logLine).size(), 4);
    EXPECT_EQ(second->lines.filter(logLine).size(), 5);
    EXPECT_TRUE(second->lines.filter(logLine).last().contains("*DATE*01062026*TIME*0800*")); // the newest last
}

// One client floods MSG: lines: the others get the first few, a client still
// starting up is not dropped for them, and what is passed on is clean UTF-8.
TEST_F(NcidServerTest, AMessageFloodIsCutToItsRateAndCostsNoClientItsPlace)
{
    auto live = join();
    auto flooder = join();
    ASSERT_TRUE(live->waitFor("300 ") && flooder->waitFor("300 "));
    NcidTestClient starting(server.serverPort());
    ASSERT_TRUE(starting.waitFor("210 ")); // in its HELLO: window until the clock moves
    QByteArray burst;
    for (int i = 0; i < 65; ++i)
        burst += "MSG: flood " + QByteArray::number(i) + " \xff\xc2\x9b[2J\n"; // a bad byte, a C1 control
    flooder->send(burst + "REQ: YO\n");
    ASSERT_TRUE(flooder->waitFor("ACK: REQ: YO")); // every line of the burst has been read
    clock.advance(NcidClient::kMessageIntervalMs);
    flooder->send("MSG: later\n");
    ASSERT_TRUE(live->waitFor("MSG: later") && starting.waitFor("300 "));
    const QStringList passed = live->lines.filter(QRegularExpression("^MSG: "));
    EXPECT_EQ(passed.size(), NcidClient::kMessageBurst + 1) << passed.join(u'\n').toStdString();
    EXPECT_TRUE(passed.value(0).startsWith(QStringLiteral("MSG: flood 0 \uFFFD [2J ***DATE*")));
    EXPECT_FALSE(live->raw.contains('\xff') || live->raw.contains("\xc2\x9b"));
    EXPECT_EQ(log.filter("too fast").size(), 1); // said once, not once a line
    EXPECT_EQ(starting.lines.filter(QRegularExpression("^MSG: flood")).size(), NcidClient::kMessageBurst);
    EXPECT_FALSE(logged(starting, "dropped"));
    EXPECT_EQ(server.clientCount(), 3);
}

// A client that stops reading during a long call log is dropped once its
// output has not moved for a while; one that reads and then sits idle for
// days keeps its place and still gets the next call.
TEST_F(NcidServerTest, OnlyAClientWhoseOutputStandsStillIsDropped)
{
    CallList big;
    big.setRecords(QList<CallRecord>(20000, full.records().first()));
    server.setCallList(&big);
    auto idle = join();
    ASSERT_TRUE(idle->waitFor("300 "));
    NcidTestClient deaf(server.serverPort());
    deaf.socket.setReadBufferSize(1024);
    ASSERT_TRUE(QTest::qWaitFor([&] { return logged(deaf, "connected"); }));
    clock.advance(500); // its call log starts
    int waitedMs = 0;
    for (; waitedMs < 120000 && !logged(deaf, "dropped"); waitedMs += 1000) {
        QTest::qWait(20); // the log flows until the buffers are full, then nothing moves
        clock.advance(1000);
    }
    EXPECT_TRUE(logged(deaf, "dropped: it does not read"));
    EXPECT_GE(waitedMs, NcidClient::kStallMs); // not at the first moment its output waits
    clock.advance(3 * 24 * 3600 * 1000);
    server.callEvent(scenario::events().first());
    EXPECT_TRUE(idle->waitFor("CID:"));
    EXPECT_FALSE(logged(*idle, "dropped"));
}

} // namespace
