// "&Call monitor": the own-number check and the monitor's life cycle.
#include "window_fixture.h"

#include "monitor/window/monitor_launcher.h"

#include <QCoreApplication>
#include <QEvent>
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
        bool opens;
    };
    const Case cases[] = {{"1", "4712", false}, {"4711", "2", false}, {"", "", false}, {"12", "34", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.own1) + "/" + c.own2);
        messages.clear();
        form->show();
        form->findChild<QLineEdit*>("TextOWN1")->setText(c.own1);
        form->findChild<QLineEdit*>("TextOWN2")->setText(c.own2);
        Monitor_Click(*form, 0, false);
        EXPECT_EQ(callMonitorOpen(), c.opens);
        if (!c.opens) {
            EXPECT_EQ(messages, QStringList{"Please set Own Numbers for Phone 1 & Phone 2 and Transmit Settings "
                                            "before using Call Monitor"});
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
