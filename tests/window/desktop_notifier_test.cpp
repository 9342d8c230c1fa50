// The caller notification as a real server keeps it: dunst on a private
// session bus and X display; without a server the tray gets the same words.
#include "window_fixture.h"

#include "monitor/outputs/desktop_notifier.h"

#include <QDBusConnectionInterface>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

TEST_F(WindowTest, DunstShowsTheCallerWithItsPictureAndTheNextCallReplacesIt)
{
    for (const char* tool : {"Xvfb", "dbus-daemon", "dunst", "dunstctl", "busctl"})
        if (QStandardPaths::findExecutable(tool).isEmpty())
            GTEST_SKIP() << tool << " is not installed";
    constexpr int kStartMs = 10000;
    QProcess x, bus, dunst, ctl; // each killed when destroyed
    auto run = [&](QProcess& p, const QString& program, const QStringList& args) {
        p.start(program, args); // the display number or bus address comes first
        (void)QTest::qWaitFor(
            [&] { return (p.waitForReadyRead(100), p.canReadLine()) || p.state() == QProcess::NotRunning; }, kStartMs);
        return QString::fromUtf8(p.readLine()).trimmed();
    };
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", ":" + run(x, "Xvfb", {"-displayfd", "1", "-nolisten", "tcp"}));
    const QString address = run(bus, "dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    env.insert("DBUS_SESSION_BUS_ADDRESS", address);
    writeText("dunstrc", "");
    dunst.setProcessEnvironment(env);
    ctl.setProcessEnvironment(env);
    dunst.start("dunst", {"-conf", file("dunstrc")});
    QDBusConnection connection = QDBusConnection::connectToBus(address, "dunst-test");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return connection.interface()->isServiceRegistered("org.freedesktop.Notifications").value(); }, kStartMs))
        << "dunst did not start";

    writePicture("ada.png", Qt::red);
    DesktopNotifier notifier(connection);
    QSignalSpy shown(&notifier, &DesktopNotifier::shown);
    CallEvent call;
    call.channel = u'A';
    call.msn = "4711";
    call.msnName = "Office";
    call.picture = "ada.png";
    for (const char* number : {"0301111", "0302222"}) {
        call.number = number;
        notifier.callEvent(call);
        ASSERT_TRUE(shown.wait(DesktopNotifier::kReplyTimeoutMs));
    }
    QStringList tray;
    DesktopNotifier offline(QDBusConnection(QStringLiteral("no bus")));
    offline.setFallback([&](const QString& title, const QString& body) { tray << title << body; });
    offline.callEvent(call);
    ctl.start("dunstctl", {"close-all"}); // the history holds what is no longer shown
    ctl.waitForFinished(kStartMs);
    ctl.start("dunstctl", {"history"});
    ctl.waitForFinished(kStartMs);
    const QJsonArray history = QJsonDocument::fromJson(ctl.readAllStandardOutput())["data"][0].toArray();
    ASSERT_EQ(history.size(), 1) << "the second call stacked instead of replacing the first";
    EXPECT_EQ(history[0]["summary"]["data"].toString(), "0302222");
    EXPECT_EQ(history[0]["body"]["data"].toString(), "0302222\ncalls MSN 4711 (Office), channel A");
    EXPECT_EQ(history[0]["icon_path"]["data"].toString(), file("ada.png"));
    EXPECT_EQ(tray, (QStringList{"0302222", "0302222\ncalls MSN 4711 (Office), channel A"}));
    QDBusConnection::disconnectFromBus("dunst-test");
}

// An unknown caller is told by the number and its place; a premium-rate number
// is flagged; a named caller is told by the name alone.
TEST(DesktopNotifierTexts, UnknownCallersByTheirPlacePremiumRateFlagged)
{
    const struct {
        const char *name, *place;
        std::optional<NumberKind> kind;
        const char* grouped;
        const char *summary, *body;
    } cases[] = {
        {"", "Munich", NumberKind::FixedLine, "089 7654321", "089 7654321 (Munich)",
            "089 7654321 (Munich)\ncalls MSN 4711, channel A"},
        {"", "Germany", NumberKind::Mobile, "", "0897654321 (Germany, mobile)",
            "0897654321 (Germany, mobile)\ncalls MSN 4711, channel A"},
        {"", "Germany", NumberKind::PremiumRate, "", "Premium-rate number 0897654321",
            "0897654321 (Germany, premium rate)\ncalls MSN 4711, channel A\nCalling it back costs extra."},
        {"Max Keller", "", std::nullopt, "", "Max Keller", "0897654321\ncalls MSN 4711, channel A"},
    };
    for (const auto& c : cases) {
        CallEvent call;
        call.channel = u'A';
        call.msn = "4711";
        call.number = "0897654321";
        call.name = c.name;
        call.place = c.place;
        call.numberKind = c.kind;
        call.groupedNumber = c.grouped;
        EXPECT_EQ(DesktopNotifier::summary(call), c.summary);
        EXPECT_EQ(DesktopNotifier::body(call), c.body);
    }
}
