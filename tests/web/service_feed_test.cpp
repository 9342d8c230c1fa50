// What a window on a running service reads back of its push channel: the
// state and the call events as the service writes them, through the stream
// cut at any byte.
#include <gtest/gtest.h>

#include "monitor/outputs/json_event_writer.h"
#include "monitor/session/service_feed.h"
#include "monitor/web/web_json.h"
#include "monitor/web/web_trace.h"

#include <QJsonDocument>

namespace {

ChannelDisplay channel(int active, int connected, int ringing, const QString& number, const QString& name,
    const PlaceOfNumber& place, const QString& picture)
{
    ChannelDisplay c;
    c.active = active, c.connected = connected, c.ringing = ringing, c.number = number, c.name = name;
    c.place = place, c.msn = QStringLiteral("4711"), c.cost = QStringLiteral("-"), c.duration = QStringLiteral("-");
    c.picture = picture;
    return c;
}

TEST(ServiceFeed, TheStateReadsBackAsTheDisplayTheServiceDrew)
{
    const PlaceOfNumber mobile{QStringLiteral("Germany"), NumberKind::Mobile, QStringLiteral("0171 2345678")};
    MonitorDisplay d;
    d.channels[0] = channel(1, 0, 1, QStringLiteral("01712345678"), {}, mobile, {});
    d.channels[1] = channel(2, 1, 0, QStringLiteral("0301234567"), QStringLiteral("Erika"), {}, "/p/erika.png");
    d.channels[1].quiet = true;
    d.LabelCID = QStringLiteral("01712345678");
    d.LabelTIM = QStringLiteral("08:15:03");
    d.cidPlace = mobile;
    const QDateTime start = QDateTime::fromString(QStringLiteral("2026-12-10T08:15:03"), Qt::ISODate);
    const QJsonObject sent = webjson::state(d, {{{CallPhase::Ringing, start}, {CallPhase::Talking, start}}}, {},
        {QStringLiteral("/dev/ttyUSB0"), false, QStringLiteral("settings")}, 3);
    const servicefeed::State got = servicefeed::stateOf(QJsonDocument::fromJson(QJsonDocument(sent).toJson()).object());

    MonitorDisplay expected = d;
    expected.channels[1].picture = sent["channels"][1]["picture"].toString(); // a URL of the service
    expected.channels[1].place = {};                                          // a named caller has none
    EXPECT_TRUE(expected.channels[1].picture.startsWith(u"/api/v1/pictures/live/B?v="));
    for (size_t i = 0; i < 2; ++i) {
        const ChannelDisplay &e = expected.channels[i], &g = got.display.channels[i];
        EXPECT_EQ(std::tie(e.active, e.connected, e.ringing, e.quiet, e.number, e.name, e.msn, e.picture),
            std::tie(g.active, g.connected, g.ringing, g.quiet, g.number, g.name, g.msn, g.picture))
            << i;
        EXPECT_EQ(e.place, g.place) << i;
        EXPECT_EQ(g.duration, "-");
        EXPECT_EQ(got.live[i].start, start);
    }
    EXPECT_EQ(got.live[0].phase, CallPhase::Ringing);
    EXPECT_EQ(got.live[1].phase, CallPhase::Talking);
    EXPECT_EQ(std::tie(got.display.LabelCID, got.display.LabelTIM), std::tie(d.LabelCID, d.LabelTIM));
    EXPECT_EQ(got.display.cidPlace, mobile);
    EXPECT_EQ(std::tie(got.connected, got.busyWith, got.missed), std::tuple(false, QStringLiteral("settings"), 3));
}

TEST(ServiceFeed, EveryCallEventReadsBackAsWritten)
{
    CallEvent e;
    e.time = e.start = QDateTime::fromString(QStringLiteral("2026-12-10T08:15:03+01:00"), Qt::ISODate);
    e.channel = u'B', e.msn = QStringLiteral("4711"), e.msnName = QStringLiteral("Office");
    e.number = QStringLiteral("0897654321"), e.place = QStringLiteral("Munich"), e.numberKind = NumberKind::FixedLine;
    for (const CallEvent::Kind kind :
        {CallEvent::Kind::Incoming, CallEvent::Kind::Waiting, CallEvent::Kind::Outgoing, CallEvent::Kind::RingEnded,
            CallEvent::Kind::Logged, CallEvent::Kind::Connected, CallEvent::Kind::Ended, CallEvent::Kind::Phase}) {
        CallEvent sent = e;
        sent.kind = kind;
        sent.answered = kind == CallEvent::Kind::RingEnded || kind == CallEvent::Kind::Ended;
        sent.seconds = kind == CallEvent::Kind::Ended ? 65 : 0;
        sent.phase = kind == CallEvent::Kind::Phase ? CallPhase::Dialing : CallPhase::Idle;
        if (kind == CallEvent::Kind::Logged || kind == CallEvent::Kind::Ended)
            sent.type = CallType::Ring, sent.duration = QStringLiteral("0:01:05"), sent.cost = QStringLiteral("0");
        const std::optional<CallEvent> got = servicefeed::eventOf(
            QJsonDocument::fromJson(JsonEventWriter::toJson(sent)).object());
        ASSERT_TRUE(got) << int(kind);
        EXPECT_EQ(callEventLine(*got), callEventLine(sent));
        EXPECT_EQ(std::tie(got->msnName, got->place, got->numberKind, got->answered, got->phase),
            std::tie(sent.msnName, sent.place, sent.numberKind, sent.answered, sent.phase));
    }
    EXPECT_FALSE(servicefeed::eventOf(QJsonObject{{"event", "hello"}}));
}

// The identifier tree as the window redraws it; a tree beyond the bound
// arrives as its first nodes, each with its parent before it.
TEST(ServiceFeed, TheIdentifierTreeReadsBackAsTheServiceHasItAndABigOneCut)
{
    TraceTree tree;
    tree.reset();
    tree.add(QStringLiteral("IDs"), QStringLiteral("ID 81"), QStringLiteral("ID 81"), 2);
    tree.expand(QStringLiteral("IDs"));
    tree.add(QStringLiteral("ID 81"), {}, QStringLiteral("M6C_0301234567 \"\u00e4"), 3);
    const auto texts = [](const QList<TreeNode>& nodes) {
        QStringList out;
        for (const TreeNode& n : nodes)
            out << QStringLiteral("%1|%2|%3|%4|%5").arg(n.key, n.text, n.parentKey).arg(n.image).arg(n.expanded);
        return out;
    };
    const auto roundTrip = [](const QList<TreeNode>& nodes) {
        return servicefeed::treeOf(QJsonDocument::fromJson(QJsonDocument(WebTrace::treeJson(nodes)).toJson()).object());
    };
    EXPECT_EQ(texts(roundTrip(tree.nodes())), texts(tree.nodes()));
    for (int i = 0; i < WebTrace::kMostTreeNodes; ++i)
        tree.add(QStringLiteral("ID 81"), {}, QString::number(i), 3);
    const QList<TreeNode> cut = roundTrip(tree.nodes());
    EXPECT_EQ(texts(cut), texts(tree.nodes().first(WebTrace::kMostTreeNodes)));
    EXPECT_TRUE(WebTrace::treeJson(tree.nodes())["cut"].toBool());
}

TEST(ServiceFeed, TheStreamIsCutIntoMessagesAtAnyByteAndAnEndlessOneIsDropped)
{
    const QByteArray stream = "retry: 3000\n\nevent: state\r\ndata: {\"missed\":1}\r\n\r\n: ping\n\n"
                              "event: call\ndata: {\"a\":\ndata: 1}\n\n";
    for (qsizetype cut = 1; cut < stream.size(); ++cut) {
        pushchannel::EventStream parser;
        QList<pushchannel::Message> got = parser.feed(stream.left(cut));
        got += parser.feed(stream.mid(cut));
        ASSERT_EQ(got.size(), 2) << cut;
        EXPECT_EQ(got[0].event, "state");
        EXPECT_EQ(got[0].data, "{\"missed\":1}");
        EXPECT_EQ(got[1].event, "call");
        EXPECT_EQ(got[1].data, "{\"a\":\n1}");
    }
    pushchannel::EventStream parser;
    const QByteArray endless(pushchannel::EventStream::kMaxMessage + 10, 'x');
    EXPECT_TRUE(parser.feed("event: state\ndata: " + endless + "\n\n").isEmpty());
    EXPECT_TRUE(parser
                    .feed("data: " + endless.left(pushchannel::EventStream::kMaxMessage - 10)
                          + "\ndata: " + endless.left(100) + "\n\n")
                    .isEmpty());
    const QList<pushchannel::Message> after = parser.feed("event: calls\ndata: {}\n\n");
    ASSERT_EQ(after.size(), 1);
    EXPECT_EQ(after[0].event, "calls");
}

} // namespace
