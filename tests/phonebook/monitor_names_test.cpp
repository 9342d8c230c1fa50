// Names in the monitor's call list follow the book as the phone book window
// leaves it, without a restart.
#include "monitor/engine/call_list.h"
#include "phonebook_fixture.h"

TEST_F(PhoneBookTest, TheCallListNamesFollowAnEditedBook)
{
    writeBook("Anna\t0301111\t-\t-\t-\t-\r\n");
    CallList calls;
    calls.setListPath(path("list.txt"));
    const QDate day(2026, 3, 4);
    calls.AddCall("4711", "Ring", day, "10:00:00", "0309876543", "", "0:00:05", "-");
    calls.AddCall("4711", "Answer", day, "10:05:00", "0301111", "", "0:01:00", "0");
    ASSERT_EQ(calls.records().size(), 2);
    EXPECT_EQ(calls.records()[0].name, "Anna");
    EXPECT_EQ(calls.records()[1].name, "");

    // The monitor's refresh when the window closes: save, empty, read again.
    int refreshes = 0;
    auto d = open([&] {
        ++refreshes;
        calls.SaveTheList();
        calls.clearRows();
        calls.ReadTheList();
    });
    edit(*d, "Text3")->setText("Alpha");
    edit(*d, "Text2")->setText("0309876543");
    QTest::mouseClick(button(*d, "CommandAdd"), Qt::LeftButton);
    clickRow(*d, 1); // Anna
    edit(*d, "Text3")->setText("Anna B.");
    QTest::mouseClick(button(*d, "UpdateButton"), Qt::LeftButton);
    EXPECT_EQ(refreshes, 0); // only once the book is written
    d->close();
    EXPECT_EQ(refreshes, 1);

    ASSERT_EQ(calls.records().size(), 2);
    EXPECT_EQ(calls.records()[0].name, "Anna B.");
    EXPECT_EQ(calls.records()[1].name, "Alpha");

    // The next call is named from the new book too.
    calls.AddCall("4712", "CID", day, "11:00:00", "00309876543", "", "-", "-");
    EXPECT_EQ(calls.records()[0].name, "Alpha");
}
