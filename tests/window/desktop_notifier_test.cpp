// The caller notification as a real notification server keeps it: dunst on a
// private session bus and X display of its own.
#include "window_fixture.h"

#include "monitor/outputs/desktop_notifier.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

namespace {

constexpr int kStartMs = 10000;

// Starts a daemon and returns the first line it prints (display, bus address).
QString firstLine(QProcess& p, const QString& program, const QStringList& args)
{
    p.start(program, args);
    (void)QTest::qWaitFor([&] { return p.canReadLine() || (p.waitForReadyRead(100), p.canReadLine()); }, kStartMs);
    return QString::fromUtf8(p.readLine()).trimmed();
}

} // namespace

TEST_F(WindowTest, DunstShowsTheCallerAndItsPictureAndTheNextCallReplacesIt)
{
    for (const char* tool : {"Xvfb", "dbus-daemon", "dunst", "dunstctl", "busctl"})
        if (QStandardPaths::findExecutable(tool).isEmpty())
            GTEST_SKIP() << tool << " is not installed";
    QProcess x, bus, dunst; // destroyed in reverse order, each killed
    const QString display = firstLine(x, "Xvfb", {"-displayfd", "1", "-nolisten", "tcp"});
    const QString address = firstLine(bus, "dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    ASSERT_FALSE(display.isEmpty() || address.isEmpty()) << "Xvfb or dbus-daemon did not start";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", ":" + display);
    env.insert("DBUS_SESSION_BUS_ADDRESS", address);
    writeText("dunstrc", "");
    dunst.setProcessEnvironment(env);
    dunst.start("dunst", {"-conf", file("dunstrc")});
    QDBusConnection connection = QDBusConnection::connectToBus(address, "dunst-test");
    ASSERT_TRUE(QTest::qWaitFor([&] { return connection.interface()->isServiceRegistered("org.freedesktop.Notifications").value(); },
                                kStartMs)) << "dunst did not start";

    writePicture("ada.png", Qt::red);
    DesktopNotifier notifier(connection);
    QSignalSpy shown(&notifier, &DesktopNotifier::shown);
    CallEvent call;
    call.channel = u'A';
    call.msn = "4711";
    for (const char* number : {"0301111", "0302222"}) {
        call.number = number;
        notifier.notify(call, "ada.png");
        ASSERT_TRUE(shown.wait(DesktopNotifier::kReplyTimeoutMs));
    }
    auto dunstctl = [&](const QString& command) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start("dunstctl", {command});
        p.waitForFinished(kStartMs);
        return p.readAllStandardOutput();
    };
    dunstctl("close-all"); // history holds the notifications no longer shown
    const QJsonArray history = QJsonDocument::fromJson(dunstctl("history"))["data"][0].toArray();
    ASSERT_EQ(history.size(), 1) << "the second call stacked instead of replacing the first";
    const QJsonObject n = history[0].toObject();
    EXPECT_EQ(n["summary"]["data"].toString(), "0302222");
    EXPECT_EQ(n["body"]["data"].toString(), "0302222\ncalls MSN 4711, channel A");
    EXPECT_EQ(n["icon_path"]["data"].toString(), file("ada.png"));
    QDBusConnection::disconnectFromBus("dunst-test");
}
