// "&Call monitor": the own-number check, a service on the port, and the monitor's life cycle.
#include "window_fixture.h"

#include "common/service_address.h"
#include "monitor/window/monitor_launcher.h"
#include "phonebook/book_source.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

TEST_F(WindowTest, OwnNumbersOfTwoCharactersAreNeededForBothPhones)
{
    form = std::make_unique<Form1>(at);
    // The device-absent latch makes every command return at once.
    form->findChild<QLabel*>("Label_info1")->setText("Error");
    struct Case {
        const char* own1;
        const char* own2;
        // A running corvane-monitor (this process): 1 holds the port, 2 the program
        // folder, the window being its front end (the service on another port).
        int service;
        bool opens;
    };
    const Case cases[] = {{"1", "4712", 0, false}, {"4711", "2", 0, false}, {"", "", 0, false}, {"12", "34", 1, false},
        {"12", "34", 2, false}, {"12", "34", 0, true}};
    const QString own = QStringLiteral("Please set Own Numbers for Phone 1 & Phone 2 and Transmit Settings before "
                                       "using Call Monitor");
    const auto held = [](const QString& port) {
        return QStringLiteral("corvane-monitor (process %1) follows the calls on %2: its call list, outputs and web "
                              "page have them. Stop the service to follow them in this window.")
            .arg(QCoreApplication::applicationPid())
            .arg(port);
    };
    const serviceaddress::Address elsewhere{
        "http://127.0.0.1:1/", "token", "/dev/ttyUSB7", QCoreApplication::applicationPid()};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.own1) + "/" + c.own2 + " service " + std::to_string(c.service));
        messages.clear();
        QFile::remove(serviceaddress::ownFile());
        setFolderService(c.service == 2 ? std::optional(elsewhere) : std::nullopt);
        if (c.service == 1)
            serviceaddress::write(serviceaddress::ownFile(),
                {"http://127.0.0.1:1/", "token", at.portPath(), QCoreApplication::applicationPid()}, false);
        form->show();
        form->findChild<QLineEdit*>("TextOWN1")->setText(c.own1);
        form->findChild<QLineEdit*>("TextOWN2")->setText(c.own2);
        Monitor_Click(*form, 0, false);
        EXPECT_EQ(callMonitorOpen(), c.opens);
        if (!c.opens) {
            EXPECT_EQ(
                messages, QStringList{c.service == 0 ? own : held(c.service == 1 ? at.portPath() : elsewhere.port)});
            EXPECT_TRUE(form->isVisible());
            continue;
        }
        ASSERT_NE(currentMonitor(), nullptr);
        EXPECT_FALSE(form->isVisible());
        EXPECT_TRUE(currentMonitor()->isVisible());
        Monitor_Click(*form, 0, false); // a second opening only raises the open one
        closeCallMonitor();
        EXPECT_FALSE(callMonitorOpen());
        EXPECT_EQ(currentMonitor(), nullptr);
        EXPECT_TRUE(form->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// The phone book the window edits: the service's only when the window works
// through one whose program folder is not the window's (the book.txt is shared there).
TEST_F(WindowTest, ThePhoneBookIsTheServicesOnlyThroughAServiceOnAnotherFolder)
{
    using Address = std::optional<serviceaddress::Address>;
    const Address daemon = serviceaddress::Address{"http://127.0.0.1:1/", "daemon", "/dev/ttyUSB7", 1};
    const Address own = serviceaddress::Address{"http://127.0.0.1:2/", "own", "/dev/ttyUSB7", 2};
    const struct {
        Address attached, folder;
        QString book; // "" for the folder's book.txt
    } cases[] = {{{}, {}, ""}, {{}, own, ""}, {own, own, ""}, {daemon, own, daemon->url}, {daemon, {}, daemon->url}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.book.toStdString());
        Form1 window(at);
        if (c.attached)
            window.attach(*c.attached);
        setFolderService(c.folder);
        const std::unique_ptr<BookSource> book = phoneBookSource(window);
        EXPECT_EQ(book ? book->where() : QString(), c.book);
    }
    setFolderService({});
}
