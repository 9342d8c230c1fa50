// The call list's names follow the phone book once it has been saved while
// the monitor shows: the list is saved, emptied and read again.
#include "window_fixture.h"

#include "monitor/engine/call_list.h"

#include <QLabel>

TEST_F(WindowTest, ASavedPhoneBookRenamesTheVisibleListOnly)
{
    FormMonitor& m = makeMonitor();
    m.open();
    CallList& list = m.engine().callList();
    list.AddCall("4711", "Answer", QDate(2026, 1, 2), "10:00:00", "0301234", "", "0:01:00", "0");
    ASSERT_EQ(list.records().first().name, QString());

    writeText("book.txt", "Anna Berger\t0301234\t-\t-\t-\t-\r\n");
    m.hide();
    m.reloadListNames(); // hidden: nothing is read again
    EXPECT_EQ(list.records().first().name, QString());

    m.show();
    m.reloadListNames();
    ASSERT_EQ(list.records().size(), 1);
    EXPECT_EQ(list.records().first().name, QStringLiteral("Anna Berger"));
    QFile saved(file("list.txt"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("\tAnna Berger\t"));
}

// A list.txt that cannot be read is never written over: the monitor says so
// in red, keeps new calls in memory and asks before closing loses them.
TEST_F(WindowTest, AnUnreadableListIsShownKeptAndAskedAboutOnClosing)
{
    QDir().mkpath(file("list.txt") + "/keep");
    FormMonitor& m = makeMonitor();
    m.open();
    auto* warning = m.findChild<QLabel*>("LabelListProblem");
    ASSERT_NE(warning, nullptr);
    EXPECT_TRUE(warning->isVisible());
    EXPECT_EQ(m.findChild<QLabel*>("LabelCID")->text(), QStringLiteral("Call list unreadable!"));
    m.engine().callList().AddCall("4711", "Ring", QDate(2026, 1, 2), "10:00:00", "0301", "", "0:00:05", "0");
    EXPECT_TRUE(QFileInfo(file("list.txt")).isDir());

    for (const bool closeAnyway : {false, true}) {
        messages.clear();
        monitormessage::setHandledAnswer(closeAnyway);
        m.close();
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains("Close the call monitor anyway"));
        EXPECT_EQ(m.unloading(), closeAnyway);
    }
    monitormessage::setHandledAnswer(true);
}
