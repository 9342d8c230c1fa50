// One main for every test executable: a QApplication exists (offscreen), so
// widget tests and Qt Core tests run alike.
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    // No test reaches the desktop's notification service: its notices go to the tray's seam.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/corvane-tests");
    // A runtime folder of its own: a service one test starts is never found by another's front end.
    const QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
