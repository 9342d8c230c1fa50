#pragma once
// The row above the call list: a search field and a "Missed" toggle that
// filter FlexGrid1 as the user types, the CSV export of the rows shown, and
// the statistics window. It also keeps the missed-calls count in the title,
// and below the row, in red, why list.txt does not hold the calls shown.
#include "monitor/window/statistics_window.h"

#include <QPointer>
#include <QRect>
#include <QWidget>
#include <functional>

class CallGrid;
class CallList;
class Clock;
class MissedCalls;
class MissedCount;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

class HistoryBar : public QWidget {
    Q_OBJECT
public:
    HistoryBar(CallGrid& grid, CallList& list, Clock& clock, MissedCount& missed, QWidget* window);

    // The call list's room in the window: this bar on top, the grid below it.
    void place(const QRect& area);

    MissedCalls& missed() { return *missed_; }
    void exportCsv();
    void showStatistics();
    StatisticsWindow* statistics() const { return statistics_; }

    // What was just done ("2 calls saved to ..."), in the line below the row
    // until the next note or kNoteMs later.
    void showNote(const QString& text);
    static constexpr int kNoteMs = 15000;

    // The save dialog of the export; an empty result means cancelled.
    std::function<QString(QWidget* parent)> chooseCsvFile;

private:
    void showFileProblem();

    CallGrid& grid_;
    CallList& list_;
    Clock& clock_;
    MissedCalls* missed_ = nullptr;
    QLineEdit* TextSearch = nullptr;
    QCheckBox* CheckMissed = nullptr;
    QCheckBox* CheckIgnored = nullptr; // ticked: the ignored callers' calls show too
    QPushButton* CommandExport = nullptr;
    QPushButton* CommandStatistics = nullptr;
    QLabel* LabelListProblem = nullptr;
    QLabel* LabelNote = nullptr;
    QTimer* noteTimer_ = nullptr;
    QRect area_;
    QPointer<StatisticsWindow> statistics_;
};
