// The monitor window's size rules, its opening and its closing sequence.
#include "window_fixture.h"

#include "app/windows_on_screen.h"
#include "monitor/window/call_grid.h"
#include "monitor/window/twips.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

int px(const QWidget& w, int t)
{
    return twips::toPx(t, twips::dpiOf(&w));
}

// Resizes as a user dragging the border would, height in twips (whole
// pixels at 96 DPI, so that the stored value is exact).
void dragTo(FormMonitor& m, int heightTwips, int widthPx = -1)
{
    m.resize(widthPx < 0 ? m.width() : widthPx, px(m, heightTwips - FormMonitor::kFrameHeight));
    QApplication::processEvents();
}

} // namespace

// Heights at or below 3835 twips would leave the call list no room; settings
// that are no sensible numbers count as none.
TEST_F(WindowTest, FirstOpeningOrSettingsThatAreNoSensibleNumbersUseTheDesignSizes)
{
    for (const char* height : {"", "tall", "-500", "3835"}) {
        SCOPED_TRACE(height);
        if (*height) {
            settings().write("ScanLeft", "left");
            settings().write("ScanTop", "1e12");
            settings().write("ScanHeight", height);
            settings().write("ScanHide", "maybe");
        }
        FormMonitor& m = makeMonitor();
        m.open();
        EXPECT_TRUE(m.isVisible());
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(m.widthTwips(), 8130);
        EXPECT_EQ(m.heightTwips(), 6660);
        EXPECT_EQ(m.pos(), QPoint(px(m, 100), px(m, 100)));
        EXPECT_EQ(settings().read("ScanHeight"), "6660");
        EXPECT_TRUE(messages.isEmpty());
        EXPECT_TRUE(at.trace().active());
        EXPECT_FALSE(m.findChild<QPlainTextEdit*>("Text1")->isVisible());
        m.close();
    }
}

// Without stored widths every column shows its title and typical content
// whole and all eight fit the grid side by side.
TEST_F(WindowTest, FirstOpeningSizesTheColumnsToTheirContent)
{
    FormMonitor& m = makeMonitor();
    m.open();
    CallGrid& grid = m.grid();
    const QFontMetrics fm = grid.fontMetrics();
    const QFontMetrics header = grid.horizontalHeader()->fontMetrics();
    const QStringList typical = {
        "1234567", "Answer*", "2026-12-31", "23:59:59", "03012345678", "Anna Berger", "10:00:00", "88.88"};
    int total = 0;
    for (int c = 0; c < 8; ++c) {
        SCOPED_TRACE(c);
        const int width = grid.columnWidth(c);
        total += width;
        EXPECT_GE(width, fm.horizontalAdvance(typical[c]) + 6);
        EXPECT_GE(width, header.horizontalAdvance(grid.model()->headerData(c, Qt::Horizontal).toString()) + 6);
        // The names take the room the others leave; what is saved is the column's own.
        if (c == 5)
            EXPECT_LE(twips::toPx(grid.columnWidthTwips(c), twips::dpiOf(&grid)), width);
        else
            EXPECT_EQ(twips::toPx(grid.columnWidthTwips(c), twips::dpiOf(&grid)), width);
    }
    EXPECT_LE(total, grid.width() - 2 * grid.frameWidth()
                         - grid.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid.verticalScrollBar()));

    // Closing stores them; the next opening takes them as stored.
    std::array<int, 8> shown{};
    for (int c = 0; c < 8; ++c)
        shown[c] = grid.columnWidthTwips(c);
    m.close();
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(settings().read(QStringLiteral("GridWidth%1").arg(c)), QString::number(shown[c])) << c;
    FormMonitor& again = makeMonitor();
    again.open();
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(again.grid().columnWidthTwips(c), shown[c]) << c;
}

TEST_F(WindowTest, HideShowLogSwitchesBetweenTheFoldAndTheStoredHeight)
{
    struct Case {
        const char* scanHide;
        const char* scanHeight;
        int opened, clicked, clickedAgain;
    };
    for (const Case c : {Case{"0", "5400", 5400, 3700, 5400}, Case{"1", "6000", 3700, 6000, 3700}}) {
        SCOPED_TRACE(c.scanHide);
        settings().write("ScanHide", c.scanHide);
        settings().write("ScanHeight", c.scanHeight);
        FormMonitor& m = makeMonitor();
        m.open();
        auto* button = m.findChild<QToolButton*>("Command2");
        EXPECT_EQ(m.heightTwips(), c.opened);
        button->click();
        EXPECT_EQ(m.heightTwips(), c.clicked);
        EXPECT_EQ(settings().read("ScanHide"), c.clicked == 3700 ? "1" : "0");
        EXPECT_EQ(settings().read("ScanHeight"), c.scanHeight);
        button->click();
        EXPECT_EQ(m.heightTwips(), c.clickedAgain);
        if (c.clickedAgain != 3700) {
            // The search row and the grid share the call list's room.
            EXPECT_EQ(m.grid().geometry().bottom() + 1 - px(m, 3255), px(m, c.clickedAgain - 3255 - 580));
        }
        m.close();
    }
}

namespace {

const char* const kTraceViews[] = {"Text1", "Text2", "Text3", "TreeIDs", "Command1", "Command4", "CommandPause"};

// Whether the monitor with its trace views beside the call list fits the
// test's screen: the cases below each run on the screen they are about
// (window_tests_large_screen gives them a large one).
bool debugLayoutFits(const FormMonitor& m)
{
    const QRect area = m.screen()->availableGeometry();
    return px(m, FormMonitor::kDebugWidth) <= area.width() && px(m, FormMonitor::kDebugHeight) <= area.height();
}

} // namespace

TEST_F(WindowTest, DebugModeOnALargeScreenHasItsFixedSizeAndShowsTheTraceViews)
{
    settings().write("ScanHide", "1");
    FormMonitor& m = makeMonitor(2);
    if (!debugLayoutFits(m))
        GTEST_SKIP() << "runs on the large screen of window_tests_large_screen";
    m.open();
    EXPECT_EQ(m.widthTwips(), 15120);
    EXPECT_EQ(m.heightTwips(), 8300);
    EXPECT_EQ(settings().read("ScanHeight"), "8300");
    EXPECT_EQ(m.findChild<QWidget*>("FormTrace"), nullptr);
    for (const char* name : kTraceViews)
        EXPECT_TRUE(m.findChild<QWidget*>(name)->isVisible()) << name;
    // "Hide/Show Log" does nothing in debug mode.
    m.findChild<QToolButton*>("Command2")->click();
    EXPECT_EQ(m.heightTwips(), 8300);
}

TEST_F(WindowTest, DebugModeOnASmallScreenShowsTheTraceViewsInAWindowOfTheirOwn)
{
    settings().write("ScanHide", "1");
    settings().write("ScanHeight", "7215");
    FormMonitor& m = makeMonitor(2);
    if (debugLayoutFits(m))
        GTEST_SKIP() << "runs on the small screen of window_tests";
    const WindowsOnScreen onScreen; // as the program has it
    m.open();
    QApplication::processEvents(); // placed on the screen once shown
    auto* trace = m.findChild<QWidget*>("FormTrace");
    ASSERT_NE(trace, nullptr);
    EXPECT_TRUE(trace->isWindow() && trace->isVisible());
    const QRect area = m.screen()->availableGeometry();
    EXPECT_TRUE(area.contains(trace->frameGeometry()));
    EXPECT_TRUE(area.contains(m.frameGeometry()));
    for (const char* name : kTraceViews) {
        auto* view = trace->findChild<QWidget*>(name);
        ASSERT_NE(view, nullptr) << name;
        EXPECT_TRUE(view->isVisible()) << name;
        EXPECT_GT(view->width(), 60) << name;
    }
    // The monitor keeps the normal size rules, unfolded: "Hide/Show Log" does
    // nothing in debug mode, so a fold could not be undone.
    EXPECT_EQ(m.widthTwips(), 8130);
    EXPECT_EQ(m.heightTwips(), 7215);
    m.findChild<QToolButton*>("Command2")->click();
    EXPECT_EQ(m.heightTwips(), 7215);
    // The trace window is a part of the monitor: closing it closes both.
    trace->close();
    EXPECT_FALSE(m.isVisible());
    EXPECT_FALSE(trace->isVisible());
}

TEST_F(WindowTest, UserResizesSnapBackByTheRules)
{
    struct Case {
        const char* what;
        const char* scanHide;
        int dragHeight;
        int expectHeight;
        const char* expectStored; // "ScanHeight" afterwards
    };
    const Case cases[] = {
        {"taller", "0", 7215, 7215, "7215"},
        {"too low", "0", 2500, 3700, "6660"},
        {"folded, dragged far", "1", 5010, 3700, "5010"},
        {"folded, dragged a little", "1", 3810, 3810, "6660"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        settings().write("ScanHide", c.scanHide);
        settings().write("ScanHeight", "6660");
        FormMonitor& m = makeMonitor();
        m.open();
        const int wider = m.width() + 50;
        dragTo(m, c.dragHeight, m.width() - 50); // narrower: the width snaps back
        EXPECT_EQ(m.widthTwips(), 8130);
        dragTo(m, c.dragHeight, wider); // wider stays: the call list gets the room
        EXPECT_EQ(m.width(), wider);
        EXPECT_EQ(m.heightTwips(), c.expectHeight);
        EXPECT_EQ(settings().read("ScanHeight"), c.expectStored);
        m.close();
    }
}

TEST_F(WindowTest, ClosingSendsTheSequenceAndSavesPositionUnlessMinimised)
{
    for (const bool minimised : {false, true}) {
        SCOPED_TRACE(minimised ? "minimised" : "normal");
        settings().write("ScanLeft", "2000");
        settings().write("ScanTop", "1500");
        sent.clear();
        FormMonitor& m = makeMonitor();
        m.open();
        m.move(px(m, 3000), px(m, 2400));
        if (minimised)
            m.showMinimized();
        m.close();
        EXPECT_EQ(sent,
            QStringList({"ATE0", "ATCD1", "ATCD9", "ATE1", "ATE1", "ATCD0", "ATCD2", "ATCD4", "ATCD6", "ATCD10"}));
        EXPECT_EQ(settings().read("ScanLeft"), minimised ? "2000" : "3000");
        EXPECT_EQ(settings().read("ScanTop"), minimised ? "1500" : "2400");
        EXPECT_FALSE(at.trace().active());
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(programEnds, 0);
    }
    // Started for the monitor alone, closing ends the program instead.
    FormMonitor& scan = makeMonitor(0, true);
    scan.open();
    scan.close();
    EXPECT_EQ(programEnds, 1);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(WindowTest, ATraceModeFailureIsReportedOnceAndTheMonitorRunsAnyway)
{
    FormMonitor& m = makeMonitor();
    m.session().sendAT = [this](const QString& cmd) {
        sent << cmd;
        return QString(); // the adapter did not answer
    };
    m.open();
    EXPECT_EQ(messages, QStringList{"An error has occured! Call Monitor is Inactive... Please restart!"});
    EXPECT_TRUE(at.trace().active());
    EXPECT_TRUE(m.isVisible());
}

TEST_F(WindowTest, StopAndResumeTraceWriteStraightToThePort)
{
    FormMonitor& m = makeMonitor(1);
    m.open();
    sent.clear();
    m.findChild<QPushButton*>("CommandPause")->click();
    m.findChild<QPushButton*>("Command4")->click();
    EXPECT_EQ(sent, QStringList({"port:ATCD8\r", "port:ATCD9\r"}));
}

TEST_F(WindowTest, ClearTheWindowsEmptiesPanesAndBuffer)
{
    FormMonitor& m = makeMonitor(5);
    m.open();
    for (char c : QByteArray("junk that is no frame L1   0 <- 00 81 7F  \r\n 00000001L"))
        m.engine().Scan(c);
    auto* text1 = m.findChild<QPlainTextEdit*>("Text1");
    ASSERT_FALSE(text1->toPlainText().isEmpty());
    m.findChild<QPushButton*>("Command1")->click();
    EXPECT_TRUE(text1->toPlainText().isEmpty());
    EXPECT_TRUE(m.findChild<QPlainTextEdit*>("Text2")->toPlainText().isEmpty());
    EXPECT_TRUE(m.engine().traceBuffer().isEmpty());
}
