// The call list's names follow the phone book once it has been saved while
// the monitor shows: the list is saved, emptied and read again.
#include "window_fixture.h"

#include "monitor/engine/call_list.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTableView>
#include <QTest>
#include <QMenu>
#include <QTimer>

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

// "Ignore this caller" in the call list's menu writes the number into
// ignore.txt, the monitor silences it at once, and the history can hide it.
TEST_F(WindowTest, IgnoreThisCallerFromTheCallListMenu)
{
    writeText("list.txt", "4711\tRing\t2026-01-01\t10:00:00\t0900123\t\t0:00:05\t0\r\n"
                          "4711\tCID\t2026-01-01\t09:00:00\t-\t\t-\t-\r\n");
    writeText("ignore.txt", "# adverts\n0901*"); // no line end after the last entry
    FormMonitor& m = makeMonitor();
    m.open();
    auto* grid = m.findChild<QTableView*>("FlexGrid1");
    for (const int row : {1, 0, 0}) { // a withheld or an ignored caller: the entry is disabled
        QTimer::singleShot(0, [] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            menu->setActiveAction(menu->findChild<QAction*>("ActionIgnoreCaller"));
            QTest::keyClick(menu, Qt::Key_Return);
            menu->close();
        });
        emit grid->customContextMenuRequested(grid->visualRect(grid->model()->index(row, 0)).center());
        EXPECT_EQ(readBytes(file("ignore.txt")), row ? "# adverts\n0901*" : "# adverts\n0901*\n0900123\n");
    }
    EXPECT_EQ(m.findChild<QLabel*>("LabelNote")->text(),
        "Calls from 0900123 are ignored from now on: no popup, sound or notification.");
    m.findChild<QCheckBox*>("CheckIgnored")->setChecked(false);
    EXPECT_EQ(grid->model()->rowCount(), 1);
}
