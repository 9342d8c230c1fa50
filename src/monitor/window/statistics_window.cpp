#include "monitor/window/statistics_window.h"

#include "common/regional.h"
#include "monitor/engine/call_list.h"
#include "monitor/engine/clock.h"
#include "monitor/window/twips.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QLegendMarker>
#include <QScreen>
#include <QShortcut>
#include <QStackedBarSeries>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

// Design size at 96 DPI; scaled with the screen and kept on it.
constexpr int kWidth = 1000, kHeight = 720;
// Thirty days and 24 hours side by side leave about 15 pixels a bar, too
// little for a label each: every kDayStep-th day (counted back from today) and
// every kHourStep-th hour is named, upright and in the window's own face.
constexpr int kDayStep = 5, kHourStep = 3;
constexpr int kNameChars = 22; // longer names end in "…" beside their bars

// Answered, missed, outgoing, not connected: the colours people expect.
const QColor kKindColours[CallStatistics::KindCount] = {
    QColor(0x43, 0xa0, 0x47), QColor(0xe5, 0x39, 0x35), QColor(0x1e, 0x88, 0xe5), QColor(0x9e, 0x9e, 0x9e)};
const QColor kMsnColours[] = {QColor(0x1e, 0x88, 0xe5), QColor(0xfb, 0x8c, 0x00), QColor(0x8e, 0x24, 0xaa),
    QColor(0x00, 0x89, 0x7b), QColor(0x6d, 0x4c, 0x41), QColor(0xc0, 0xca, 0x33)};

// An axis from 0 to a round value at or above max, with whole-number steps
// for counts.
QValueAxis* valueAxis(double max, bool counts)
{
    auto* axis = new QValueAxis;
    double step = 1;
    const double wanted = std::max(max, counts ? 1.0 : 0.01) / 5;
    const double magnitude = std::pow(10.0, std::floor(std::log10(wanted)));
    for (double f : {1.0, 2.0, 5.0, 10.0}) {
        step = f * magnitude;
        if (step >= wanted)
            break;
    }
    if (counts)
        step = std::max(1.0, std::round(step));
    const double top = std::max(step, std::ceil(max / step) * step);
    axis->setRange(0, top);
    axis->setTickCount(int(std::lround(top / step)) + 1);
    axis->setLabelFormat(counts ? QStringLiteral("%d") : QStringLiteral("%.2f"));
    return axis;
}

// Names the bars first, first + step, ... of `labels` on a value axis under
// the bars (bar i stands at x = i).
QCategoryAxis* sparseAxis(const QStringList& labels, int first, int step)
{
    auto* axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis->setRange(-0.5, labels.size() - 0.5);
    for (qsizetype i = first; i < labels.size(); i += step)
        axis->append(labels[i], double(i));
    axis->setGridLineVisible(false);
    return axis;
}

void replaceAxes(QChart* chart, QAbstractAxis* categories, QAbstractAxis* values, bool horizontal)
{
    for (QAbstractAxis* a : chart->axes()) {
        chart->removeAxis(a);
        delete a;
    }
    chart->addAxis(categories, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
    chart->addAxis(values, horizontal ? Qt::AlignBottom : Qt::AlignLeft);
    for (QAbstractSeries* s : chart->series()) {
        s->attachAxis(categories);
        s->attachAxis(values);
    }
}

template <typename Series>
Series* freshSeries(QChart* chart)
{
    chart->removeAllSeries();
    auto* series = new Series;
    chart->addSeries(series);
    return series;
}

QBarSet* barSet(const QString& label, QColor colour)
{
    auto* set = new QBarSet(label);
    set->setColor(colour);
    set->setBorderColor(colour.darker(115));
    return set;
}

QString elided(const QString& text)
{
    return text.size() > kNameChars ? text.left(kNameChars - 1) + QStringLiteral("…") : text;
}

} // namespace

StatisticsWindow::StatisticsWindow(const CallList& list, Clock& clock, QWidget* parent)
    : QWidget(parent, Qt::Window), list_(list), clock_(clock)
{
    setObjectName(QStringLiteral("FormStatistics"));
    setWindowTitle(tr("Call Statistics"));
    auto* layout = new QVBoxLayout(this);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("LabelSummary"));
    layout->addWidget(summary_);
    auto* grid = new QGridLayout;
    grid->setSpacing(6);
    layout->addLayout(grid, 1);
    days_ = addChart("ChartDays", 0, 0);
    hours_ = addChart("ChartHours", 0, 1);
    top_ = addChart("ChartNumbers", 1, 0);
    costs_ = addChart("ChartCosts", 1, 1);
    days_->setTitle(tr("Calls per day, last 30 days"));
    hours_->setTitle(tr("Calls per hour of the day"));
    top_->setTitle(tr("Most frequent numbers"));
    costs_->setTitle(tr("Costs per month and MSN"));
    hours_->legend()->hide();
    top_->legend()->hide();

    const double scale = twips::dpiOf(this) / 96.0;
    QSize size(int(kWidth * scale), int(kHeight * scale));
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.95);
    resize(size);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);

    pending_.setSingleShot(true);
    pending_.setInterval(0);
    connect(&pending_, &QTimer::timeout, this, &StatisticsWindow::refreshNow);
    auto later = [this] {
        if (isVisible())
            pending_.start();
    };
    connect(&list, &CallList::changed, this, later);
}

QChart* StatisticsWindow::addChart(const char* name, int row, int column)
{
    auto* chart = new QChart;
    if (palette().color(QPalette::Window).lightness() < 128)
        chart->setTheme(QChart::ChartThemeDark); // the charts' own default is white on any desktop
    chart->setBackgroundRoundness(4);
    chart->setMargins(QMargins(4, 4, 4, 4));
    QFont title = font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.1);
    chart->setTitleFont(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setFont(font());
    auto* view = new QChartView(chart, this);
    view->setObjectName(QLatin1String(name));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(200, 160);
    static_cast<QGridLayout*>(layout()->itemAt(1)->layout())->addWidget(view, row, column);
    return chart;
}

void StatisticsWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refreshNow();
}

void StatisticsWindow::refreshNow()
{
    pending_.stop();
    stats_ = CallStatistics::compute(list_.records(), clock_.now().date());
    double total = 0;
    for (double t : stats_.msnTotals)
        total += t;
    summary_->setText(tr("%1 calls in the list; costs of the last 12 months: %2")
                          .arg(QLocale().toString(stats_.calls), regional::currency2(total)));
    drawDays();
    drawHours();
    drawTopNumbers();
    drawCosts();
}

void StatisticsWindow::drawDays()
{
    auto* series = freshSeries<QStackedBarSeries>(days_);
    series->setBarWidth(0.8);
    QStringList days;
    for (int d = 0; d < CallStatistics::kDays; ++d)
        days << regional::dayAndMonth(stats_.lastDay.addDays(d - CallStatistics::kDays + 1));
    int max = 0;
    for (const auto& day : stats_.perDay) {
        int sum = 0;
        for (int n : day)
            sum += n;
        max = std::max(max, sum);
    }
    for (int k = 0; k < CallStatistics::KindCount; ++k) {
        QBarSet* set = barSet(tr(CallStatistics::kindTitle(k)), kKindColours[k]);
        for (const auto& day : stats_.perDay)
            *set << day[k];
        series->append(set);
    }
    replaceAxes(days_, sparseAxis(days, (CallStatistics::kDays - 1) % kDayStep, kDayStep), valueAxis(max, true), false);
}

void StatisticsWindow::drawHours()
{
    auto* series = freshSeries<QBarSeries>(hours_);
    series->setBarWidth(0.8);
    QBarSet* set = barSet(tr("Calls"), kKindColours[CallStatistics::Outgoing]);
    QStringList hours;
    int max = 0;
    for (int h = 0; h < CallStatistics::kHours; ++h) {
        *set << stats_.perHour[h];
        max = std::max(max, stats_.perHour[h]);
        hours << QString::number(h);
    }
    series->append(set);
    replaceAxes(hours_, sparseAxis(hours, 0, kHourStep), valueAxis(max, true), false);
}

void StatisticsWindow::drawTopNumbers()
{
    auto* series = freshSeries<QHorizontalBarSeries>(top_);
    series->setBarWidth(0.7);
    QBarSet* set = barSet(tr("Calls"), kKindColours[CallStatistics::Answered]);
    QStringList labels;
    int max = 0;
    // A horizontal chart stacks its categories upwards: the most frequent goes last.
    for (auto it = stats_.topNumbers.crbegin(); it != stats_.topNumbers.crend(); ++it) {
        *set << it->calls;
        max = std::max(max, it->calls);
        labels << (it->name.isEmpty() ? it->number : elided(it->name) + QStringLiteral("  ") + it->number);
    }
    if (labels.isEmpty())
        labels << tr("No calls yet");
    series->append(set);
    auto* categories = new QBarCategoryAxis;
    categories->append(labels);
    replaceAxes(top_, categories, valueAxis(max, true), true);
}

void StatisticsWindow::drawCosts()
{
    auto* series = freshSeries<QStackedBarSeries>(costs_);
    series->setBarWidth(0.7);
    QStringList months;
    for (const QString& m : stats_.months)
        months << QLocale().toString(
            QDate::fromString(m + QStringLiteral("-01"), Qt::ISODate), QStringLiteral("MMM yy"));
    std::array<double, CallStatistics::kMonths> perMonth{};
    for (qsizetype i = 0; i < stats_.msns.size(); ++i) {
        const QString msn = stats_.msns[i].isEmpty() ? tr("no MSN") : QStringLiteral("MSN ") + stats_.msns[i];
        QBarSet* set = barSet(msn + QStringLiteral(": ") + regional::currency2(stats_.msnTotals[i]),
            kMsnColours[i % std::size(kMsnColours)]);
        for (int m = 0; m < CallStatistics::kMonths; ++m) {
            *set << stats_.costs[i][m];
            perMonth[m] += stats_.costs[i][m];
        }
        series->append(set);
    }
    costs_->legend()->setVisible(!stats_.msns.isEmpty());
    auto* categories = new QBarCategoryAxis;
    categories->append(months);
    categories->setLabelsAngle(-90);
    replaceAxes(costs_, categories, valueAxis(*std::max_element(perMonth.begin(), perMonth.end()), false), false);
}
