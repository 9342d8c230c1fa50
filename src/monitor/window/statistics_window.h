#pragma once
// "Call Statistics": four charts over the call list the monitor holds (calls
// per day of the last 30 days by type, calls per hour of the day, the most
// frequent numbers, costs per month by MSN). It follows the list while open.
#include "monitor/engine/call_statistics.h"

#include <QTimer>
#include <QWidget>

class CallList;
class Clock;
class QChart;
class QLabel;

class StatisticsWindow : public QWidget {
    Q_OBJECT
public:
    StatisticsWindow(const CallList& list, Clock& clock, QWidget* parent = nullptr);

    // Computes the figures and redraws the charts at once.
    void refreshNow();
    const CallStatistics& statistics() const { return stats_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QChart* addChart(const char* name, int row, int column);
    void drawDays();
    void drawHours();
    void drawTopNumbers();
    void drawCosts();

    const CallList& list_;
    Clock& clock_;
    CallStatistics stats_;
    QTimer pending_; // coalesces the list's changes into one redraw
    QLabel* summary_ = nullptr;
    QChart* days_ = nullptr;
    QChart* hours_ = nullptr;
    QChart* top_ = nullptr;
    QChart* costs_ = nullptr;
};
