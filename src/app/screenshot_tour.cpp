#include "app/screenshot_tour.h"

#include "app/command_line.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QImageWriter>
#include <QScreen>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleFactory>
#include <QTabBar>
#include <QWidget>

#include <cstdio>

namespace {

struct Shot {
    const char* file;    // PNG written into the folder
    const char* open;    // action or button that opens the window ("" = it is open)
    const char* window;  // object name of the window grabbed
    const char* waitFor; // element that must show something first ("" = none)
    int debugLevel;      // trace level for a call monitor this shot opens (-1 = as it is)
    bool closeAfter;     // close the window once grabbed
    const char* select;  // list whose first row is chosen, so its details show ("" = none)
};

// In order: a shot may open its window from one an earlier shot left open.
// An opener whose window is already open closes it first and opens it anew;
// a toggle (a check box) is only switched, and a page under tabs only shown,
// in the window it belongs to.
constexpr Shot kShots[] = {
    {"settings.png", "", "Form1", "CommandSend", -1, false, ""},               // after the first read
    {"monitor.png", "Monitor", "FormMonitor", "Label20", 0, false, ""},        // both channels in a call
    {"monitor-missed.png", "CheckMissed", "FormMonitor", "", -1, false, ""},   // the list filtered
    {"phonebook.png", "Command3", "DialogpBook", "", -1, true, "MSFlexGrid1"}, // with a picture
    {"monitor-settings.png", "CommandOptions", "FormMonitorSettings", "", -1, false, ""},
    {"monitor-settings-network.png", "PageNetwork", "FormMonitorSettings", "", -1, false, ""},
    {"monitor-settings-automation.png", "PageAutomation", "FormMonitorSettings", "", -1, true, ""},
    {"statistics.png", "CommandStatistics", "FormStatistics", "LabelSummary", -1, true, ""},
    {"monitor-trace.png", "Monitor", "FormMonitor", "Label20", 1, false, ""},
    {"port-options.png", "COMSelection", "Dialog", "", -1, true, ""},
    {"about.png", "About", "frmAbout", "", -1, true, ""},
    {"help.png", "docum", "HelpWindow", "", -1, true, ""},
};

constexpr int kPollMs = 100;
constexpr int kWaitLimitMs = 90000; // the scenario's calls come within seconds
constexpr int kSettleMs = 1500;     // a few display ticks: durations and pictures drawn
const QString kFontFamily = QStringLiteral("DejaVu Sans");
constexpr int kFontPoints = 9;

QObject* findByName(const QString& name)
{
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == name)
            return top;
        if (QObject* found = top->findChild<QObject*>(name))
            return found;
    }
    return nullptr;
}

QWidget* visibleWindow(const QString& name)
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == name && top->isVisible())
            return top;
    return nullptr;
}

// Enabled, and showing some text where the element has text.
bool showsSomething(const QObject* element)
{
    const auto* widget = qobject_cast<const QWidget*>(element);
    if (!widget || !widget->isEnabled())
        return false;
    for (const char* property : {"text", "plainText"}) {
        const QVariant v = element->property(property);
        if (v.isValid())
            return !v.toString().isEmpty();
    }
    return true;
}

// The tab bar that shows `page`, a page of a stack beside it; null for another element.
QTabBar* tabsOf(QObject* page)
{
    auto* stack = page ? qobject_cast<QStackedWidget*>(page->parent()) : nullptr;
    if (!stack || !stack->parentWidget())
        return nullptr;
    for (QTabBar* tabs : stack->parentWidget()->findChildren<QTabBar*>(Qt::FindDirectChildrenOnly))
        if (tabs->count() == stack->count())
            return tabs;
    return nullptr;
}

// Whether the window lies on its screen, frame and all, and which of its
// lists and panes make the user scroll sideways to read them.
QString placementOf(const QWidget& window)
{
    const QRect screen = window.screen()->availableGeometry(), frame = window.frameGeometry();
    QStringList sideways;
    for (const QAbstractScrollArea* area : window.findChildren<QAbstractScrollArea*>())
        if (area->window() == &window && area->isVisible() && area->horizontalScrollBar()->isVisible())
            sideways << area->objectName();
    sideways.sort();
    return QStringLiteral("%1 on the %2x%3 screen: %4%5")
        .arg(window.objectName())
        .arg(screen.width())
        .arg(screen.height())
        .arg(screen.contains(frame) ? QStringLiteral("fully") : QStringLiteral("NOT fully"))
        .arg(sideways.isEmpty() ? QString() : QStringLiteral(", scrolls sideways: ") + sideways.join(u' '));
}

// The window's, then those of the windows it shows beside itself (the trace
// views on a small screen).
QString placement(const QWidget& window)
{
    QString line = placementOf(window);
    for (const QWidget* part : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (part->windowType() == Qt::Window && part->isVisible())
            line += QStringLiteral("; ") + placementOf(*part);
    return line;
}

void close(QWidget* window)
{
    if (auto* dialog = qobject_cast<QDialog*>(window))
        dialog->reject(); // ends its modal loop as the close box would
    else
        window->close();
}

} // namespace

std::unique_ptr<ScreenshotTour> ScreenshotTour::fromEnvironment(std::function<void(int)> quit)
{
    const QString folder = qEnvironmentVariable("CORVANE_SCREENSHOTS");
    if (folder.isEmpty())
        return nullptr;
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(QApplication::style()->standardPalette());
    QApplication::setFont(QFont(kFontFamily, kFontPoints));
    return std::make_unique<ScreenshotTour>(folder, std::move(quit));
}

ScreenshotTour::ScreenshotTour(const QString& folder, std::function<void(int)> quit)
    : folder_(folder), quit_(std::move(quit))
{
    folder_.mkpath(QStringLiteral("."));
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &ScreenshotTour::tick);
}

void ScreenshotTour::start()
{
    poll_.start(); // polled, so it also runs inside the modal windows' loops
}

void ScreenshotTour::tick()
{
    if (shot_ >= qsizetype(std::size(kShots))) {
        poll_.stop();
        quit_(0);
        return;
    }
    switch (phase_) {
    case Phase::Open: open(); break;
    case Phase::Wait: wait(); break;
    case Phase::Settle:
        if (deadline_.hasExpired())
            take();
        break;
    }
}

void ScreenshotTour::open()
{
    const Shot& s = kShots[shot_];
    deadline_.setRemainingTime(kWaitLimitMs);
    phase_ = Phase::Wait;
    if (!*s.open)
        return;
    QObject* opener = findByName(QLatin1String(s.open));
    const auto* toggle = qobject_cast<QAbstractButton*>(opener);
    QTabBar* tabs = tabsOf(opener);
    if (QWidget* already = visibleWindow(QLatin1String(s.window));
        already && !(toggle && toggle->isCheckable()) && !tabs)
        close(already);
    if (s.debugLevel >= 0)
        setStartupDebugLevel(s.debugLevel);
    // Queued: a modal window's loop must not run inside this timer's call.
    if (auto* action = qobject_cast<QAction*>(opener))
        QTimer::singleShot(0, action, &QAction::trigger);
    else if (auto* button = qobject_cast<QAbstractButton*>(opener))
        QTimer::singleShot(0, button, &QAbstractButton::click);
    else if (tabs)
        tabs->setCurrentIndex(qobject_cast<QStackedWidget*>(opener->parent())->indexOf(static_cast<QWidget*>(opener)));
    else
        fail(QStringLiteral("nothing called %1 opens %2").arg(QLatin1String(s.open), QLatin1String(s.window)));
}

void ScreenshotTour::wait()
{
    const Shot& s = kShots[shot_];
    QWidget* window = visibleWindow(QLatin1String(s.window));
    const bool ready = window && (!*s.waitFor || showsSomething(window->findChild<QObject*>(QLatin1String(s.waitFor))));
    if (ready) {
        auto* list = *s.select ? window->findChild<QAbstractItemView*>(QLatin1String(s.select)) : nullptr;
        if (list && list->model())
            list->setCurrentIndex(list->model()->index(0, 0));
        deadline_.setRemainingTime(kSettleMs);
        phase_ = Phase::Settle;
    } else if (deadline_.hasExpired()) {
        fail(QStringLiteral("%1 did not show %2").arg(QLatin1String(s.window), QLatin1String(s.waitFor)));
    }
}

void ScreenshotTour::take()
{
    const Shot& s = kShots[shot_];
    QWidget* window = visibleWindow(QLatin1String(s.window));
    if (!window) {
        fail(QStringLiteral("%1 closed before its shot").arg(QLatin1String(s.window)));
        return;
    }
    QImageWriter writer(folder_.filePath(QLatin1String(s.file)), "png");
    writer.setQuality(0); // PNG: the strongest compression
    if (!writer.write(window->grab().toImage())) {
        fail(QStringLiteral("cannot write %1: %2").arg(writer.fileName(), writer.errorString()));
        return;
    }
    std::fprintf(stderr, "screenshot: %s\n", qPrintable(writer.fileName()));
    QFile places(folder_.filePath(QStringLiteral("placement.txt")));
    if (places.open(shot_ == 0 ? QIODevice::WriteOnly | QIODevice::Truncate : QIODevice::Append))
        places.write((QLatin1String(s.file) + u' ' + placement(*window) + u'\n').toUtf8());
    if (s.closeAfter)
        close(window);
    ++shot_;
    phase_ = Phase::Open;
}

void ScreenshotTour::fail(const QString& why)
{
    std::fprintf(stderr, "screenshot %s: %s\n", kShots[shot_].file, qPrintable(why));
    poll_.stop();
    quit_(1);
}
