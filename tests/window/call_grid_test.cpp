// FlexGrid1: header sorting, Delete, widths and the contact picture.
#include "../common/engine_probe.h"
#include "window_fixture.h"

#include "monitor/engine/call_list.h"
#include "monitor/window/call_filter.h"
#include "monitor/window/call_grid.h"
#include "monitor/window/grid_sort.h"
#include "monitor/window/picture_label.h"
#include "monitor/window/statistics_window.h"
#include "monitor/window/twips.h"
#include "common/virtual_clock.h"

#include <QApplication>
#include <QChartView>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTest>

namespace {

CallRecord rec(const QString& date, const QString& time, const QString& number, const QString& cost)
{
    return {"4711", "Answer", date, time, number, "", "0:01:00", cost};
}

QStringList column(const QList<CallRecord>& records, int c)
{
    QStringList out;
    for (const CallRecord& r : records)
        out << gridsort::field(r, c);
    return out;
}

class GridTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        gridsort::SortState() = 0; // a fresh program
        model.setListPath(file("list.txt"));
        model.setPhoneBook(file("book.txt"), {});
        grid = std::make_unique<CallGrid>(settings());
        grid->setCallList(&model);
        grid->confirmDelete = [this](const QString& question) {
            asked << question;
            return answer;
        };
        grid->resize(600, 300);
        grid->show();
    }
    void TearDown() override
    {
        grid.reset();
        WindowTest::TearDown();
    }

    QStringList asked; // the questions before deleting
    bool answer = true;

    void fill(int rows)
    {
        QList<CallRecord> records;
        for (int i = 1; i <= rows; ++i)
            records << rec("2026-01-0" + QString::number(i), "10:00:00", "0301" + QString::number(i), "0");
        model.setRecords(records);
    }

    QPoint rowPoint(int row) const { return grid->visualRect(grid->model()->index(row, 2)).center(); }

    void releaseOnHeader(int x)
    {
        QTest::mouseRelease(grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
    }

    int headerX(int column) const { return grid->horizontalHeader()->sectionViewportPosition(column) + 5; }

    CallList model;
    std::unique_ptr<CallGrid> grid;
};

} // namespace

TEST_F(GridTest, HeaderClicksAlternateDirectionAndSortCostAsNumbers)
{
    model.setRecords({rec("2026-01-02", "09:00:00", "1", "9.50"), rec("2026-01-01", "11:00:00", "2", "-"),
        rec("2026-01-03", "08:00:00", "3", "10.00"), rec("2026-01-04", "10:00:00", "4", "0")});
    releaseOnHeader(headerX(7));
    EXPECT_EQ(gridsort::SortState(), gridsort::kDescending);
    EXPECT_EQ(column(model.records(), 7), QStringList({"10.00", "9.50", "0", "-"}));
    releaseOnHeader(headerX(7));
    EXPECT_EQ(column(model.records(), 7), QStringList({"0", "9.50", "10.00", "-"}));
    // The direction carries on across columns: the third click sorts descending.
    releaseOnHeader(headerX(2));
    EXPECT_EQ(column(model.records(), 2), QStringList({"2026-01-04", "2026-01-03", "2026-01-02", "2026-01-01"}));
}

TEST_F(GridTest, TextSortsAreCaseSensitiveAndLaterColumnsBreakTies)
{
    QList<CallRecord> records = {rec("2026-01-02", "10:00:00", "b", "1"), rec("2026-01-01", "10:00:00", "B", "1"),
        rec("2026-01-01", "09:00:00", "a", "1")};
    gridsort::sortRecords(records, 3, false); // Time, then Number breaks the tie
    EXPECT_EQ(column(records, 4), QStringList({"a", "B", "b"}));
    gridsort::sortRecords(records, 4, false);
    EXPECT_EQ(column(records, 4), QStringList({"B", "a", "b"}));
    // A decimal comma reads as a number too.
    QList<CallRecord> costs = {rec("d", "t", "1", "2,50"), rec("d", "t", "2", "10,00"), rec("d", "t", "3", "x")};
    gridsort::sortRecords(costs, 7, true);
    EXPECT_EQ(column(costs, 7), QStringList({"10,00", "2,50", "x"}));
}

TEST_F(GridTest, AReleaseOnAColumnBoundaryPicksColumnZero)
{
    const int boundary = grid->horizontalHeader()->sectionViewportPosition(3);
    EXPECT_EQ(grid->headerColumnAt(boundary), 0);
    EXPECT_EQ(grid->headerColumnAt(boundary + 1), 3);
    EXPECT_EQ(grid->headerColumnAt(boundary - 1), 2);
}

TEST_F(GridTest, DeleteRemovesExactlyTheSelectedRowsInEitherDirection)
{
    for (const bool upwards : {true, false}) {
        SCOPED_TRACE(upwards ? "upwards" : "downwards");
        fill(7);
        // Grid rows 3 to 5 are records 2 to 4.
        const int first = upwards ? 4 : 2, second = upwards ? 2 : 4;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rowPoint(first));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, rowPoint(second));
        answer = false; // No keeps them
        QTest::keyClick(grid.get(), Qt::Key_Delete);
        EXPECT_EQ(model.count(), 7);
        answer = true;
        QTest::keyClick(grid.get(), Qt::Key_Delete);
        EXPECT_EQ(column(model.records(), 4), QStringList({"03011", "03012", "03016", "03017"}));
    }
    // The last record goes too, and Delete on an empty grid does nothing.
    fill(1);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rowPoint(0));
    QTest::keyClick(grid.get(), Qt::Key_Delete);
    QTest::keyClick(grid.get(), Qt::Key_Delete);
    EXPECT_EQ(model.count(), 0);
    const QString three = "Delete the 3 selected calls from the call list?";
    EXPECT_EQ(asked, QStringList({three, three, three, three, "Delete the selected call from the call list?"}));
}

TEST_F(GridTest, DeleteOnAFilteredViewRemovesOnlyTheRowsShownSelected)
{
    struct Case {
        const char* search;
        bool missed;
        int first, last;         // shown rows selected by a click and a shift-click
        const char* searchAfter; // typed after selecting (nullptr: none)
        QStringList remaining;
    };
    // Ada calls 1001, 1003, 1005; the missed calls are 1002, 1004, 1006.
    const Case cases[] = {
        {"ada", false, 1, 2, nullptr, {"1001", "1002", "1004", "1006"}},
        {"", true, 0, 0, nullptr, {"1001", "1003", "1004", "1005", "1006"}},
        {"", false, 1, 1, "ada", {"1001", "1002", "1003", "1004", "1005", "1006"}}, // selection hidden
        {"ada", false, 0, 2, "", {"1002", "1004", "1006"}}, // hidden rows come back between them
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.search << c.missed << c.first << c.last);
        QList<CallRecord> records;
        for (int i = 1; i <= 6; ++i)
            records << CallRecord{"4711", i % 2 ? "Answer" : "Ring", "2026-01-01", "10:00:00",
                QString::number(1000 + i), i % 2 ? "Ada" : "Bob", "0:01:00", "0"};
        model.setRecords(records);
        grid->filter().setSearchText(c.search);
        grid->filter().setMissedOnly(c.missed);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rowPoint(c.first));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, rowPoint(c.last));
        if (c.searchAfter)
            grid->filter().setSearchText(c.searchAfter);
        QTest::keyClick(grid.get(), Qt::Key_Delete);
        grid->filter().setSearchText("");
        grid->filter().setMissedOnly(false);
        EXPECT_EQ(column(model.records(), 4), c.remaining);
    }
}

TEST_F(GridTest, TheNamesAreTheLastColumnToGiveWay)
{
    auto total = [&] {
        int sum = 0;
        for (int c = 0; c < 8; ++c)
            sum += grid->columnWidth(c);
        return sum;
    };
    const double dpi = twips::dpiOf(grid.get());
    grid->resize(1000, 300);
    grid->applyStoredWidths();
    // A roomy grid: the names take what the columns leave, and that is not saved.
    const int bar = grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid->verticalScrollBar());
    EXPECT_EQ(total(), grid->width() - 2 * grid->frameWidth() - bar);
    EXPECT_EQ(grid->columnWidthTwips(5), 2000);
    int roomy = 0; // every default width
    for (int c = 0; c < 8; ++c)
        roomy += twips::toPx(grid->columnWidthTwips(c), dpi);
    EXPECT_GT(total(), roomy);
    grid->resize(roomy + 2 * grid->frameWidth() + bar - 10, 300);
    grid->applyStoredWidths();
    EXPECT_EQ(total(), roomy - 10);
    EXPECT_EQ(grid->columnWidth(5), twips::toPx(2000, dpi));
}

TEST_F(GridTest, WidthsComeFromTheStoreAndAreSavedOnEveryRelease)
{
    settings().write("GridWidth0", "1500");
    settings().write("GridWidth1", "wide"); // no number: as if none were stored
    settings().write("GridWidth4", "-300"); // no sensible number either
    settings().write("GridWidth3", "500");  // narrower than its content: the user's choice
    grid->applyStoredWidths();
    EXPECT_EQ(grid->columnWidthTwips(0), 1500);
    EXPECT_EQ(grid->columnWidthTwips(3), 500);
    const double dpi = twips::dpiOf(grid.get());
    EXPECT_EQ(grid->columnWidth(0), twips::toPx(1500, dpi));
    const int typeTwips = grid->columnWidthTwips(1);
    EXPECT_GE(typeTwips, 620);
    EXPECT_GE(grid->columnWidth(1), grid->fontMetrics().horizontalAdvance("Answer*") + 6);
    EXPECT_GT(grid->columnWidth(4), 0);

    grid->horizontalHeader()->resizeSection(5, 40);
    fill(2);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rowPoint(1));
    EXPECT_EQ(settings().read("GridWidth5"), QString::number(twips::fromPx(40, dpi)));
    EXPECT_EQ(settings().read("GridWidth0"), "1500");
    EXPECT_EQ(settings().read("GridWidth1"), QString::number(typeTwips));
    EXPECT_EQ(settings().read("GridWidth3"), "500");
}

TEST_F(WindowTest, TheRecordPictureFallsBackToNonameAndThenKeepsTheOldOne)
{
    writePicture("ada.png", Qt::red);
    writePicture("noname.jpg", Qt::blue);
    writeText(
        "book.txt", QByteArray("Ada\t0301\t\t\t\t") + file("ada.png").toUtf8() + "\r\nBob\t0302\t\t\t\tgone.png\r\n");
    writeText("list.txt", "4711\tAnswer\t2026-01-01\t10:00:00\t0301\tAda\t0:01:00\t0\r\n"
                          "4711\tCID\t2026-01-01\t11:00:00\t0302\tBob\t-\t-\r\n"
                          "4711\tCID\t2026-01-01\t12:00:00\t-\t\t-\t-\r\n");
    FormMonitor& m = makeMonitor();
    m.open();
    auto* image2 = m.findChild<PictureLabel*>("Image2");
    EXPECT_EQ(centreColour(image2), QColor(Qt::red)); // the newest record is current on opening
    EngineProbe::state(m.engine()).lastPicture = file("noname.jpg");
    EngineProbe::notifyDisplay(m.engine());
    m.showRecordPicture(0);
    EngineProbe::notifyDisplay(m.engine()); // the same event picture as before the click: drawn again
    EXPECT_EQ(centreColour(image2), QColor(Qt::blue));
    m.showRecordPicture(1);
    EXPECT_EQ(centreColour(image2), QColor(Qt::blue)); // picture file missing
    m.showRecordPicture(0);
    m.showRecordPicture(2);
    EXPECT_EQ(centreColour(image2), QColor(Qt::blue)); // number "-"
    QFile::remove(file("noname.jpg"));
    m.showRecordPicture(0);
    m.showRecordPicture(1);
    EXPECT_EQ(centreColour(image2), QColor(Qt::red)); // nothing to show: the old picture stays
}

// The statistics' charts are white on their own: under a dark palette they turn dark too.
TEST(Statistics, ChartsFollowTheDesktopsPalette)
{
    const QPalette desktop = QApplication::palette();
    for (const bool dark : {false, true}) {
        QPalette palette = desktop;
        palette.setColor(QPalette::Window, dark ? QColor(0x2a, 0x2a, 0x2a) : QColor(0xef, 0xef, 0xef));
        QApplication::setPalette(palette);
        VirtualClock clock;
        CallList list;
        StatisticsWindow statistics(list, clock);
        for (const auto* view : statistics.findChildren<QChartView*>())
            EXPECT_EQ(view->chart()->theme() == QChart::ChartThemeDark, dark) << view->objectName().toStdString();
    }
    QApplication::setPalette(desktop);
}
