#include "monitor/window/history_bar.h"

#include "common/atomic_file.h"
#include "monitor/engine/call_list.h"
#include "monitor/window/call_filter.h"
#include "monitor/window/call_grid.h"
#include "monitor/engine/call_list_csv.h"
#include "monitor/window/missed_calls.h"
#include "monitor/window/monitor_message.h"
#include "monitor/window/statistics_window.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

namespace {
constexpr int kGapPx = 2; // between the bar and the grid
}

HistoryBar::HistoryBar(CallGrid& grid, CallList& list, Clock& clock, MissedCount& missed, QWidget* window)
    : QWidget(window), grid_(grid), list_(list), clock_(clock)
{
    setObjectName(QStringLiteral("HistoryBar"));
    missed_ = new MissedCalls(missed, *window);
    TextSearch = new QLineEdit(this);
    TextSearch->setObjectName(QStringLiteral("TextSearch"));
    TextSearch->setPlaceholderText(tr("Search number, name, MSN or type"));
    TextSearch->setClearButtonEnabled(true);
    CheckMissed = new QCheckBox(tr("Missed"), this);
    CheckMissed->setObjectName(QStringLiteral("CheckMissed"));
    CheckMissed->setToolTip(tr("Only incoming calls nobody answered"));
    CheckIgnored = new QCheckBox(tr("Show ignored"), this);
    CheckIgnored->setObjectName(QStringLiteral("CheckIgnored"));
    CheckIgnored->setToolTip(tr("Also the calls of callers on the ignore list"));
    CheckIgnored->setChecked(true);
    CommandExport = new QPushButton(tr("Export ..."), this);
    CommandExport->setObjectName(QStringLiteral("CommandExport"));
    CommandExport->setToolTip(tr("Save the calls shown as a CSV file"));
    CommandStatistics = new QPushButton(tr("Statistics ..."), this);
    CommandStatistics->setObjectName(QStringLiteral("CommandStatistics"));
    LabelListProblem = new QLabel(this);
    LabelListProblem->setObjectName(QStringLiteral("LabelListProblem"));
    LabelListProblem->setStyleSheet(QStringLiteral("color: #b00000;"));
    LabelListProblem->setWordWrap(true);
    LabelListProblem->hide();
    LabelNote = new QLabel(this);
    LabelNote->setObjectName(QStringLiteral("LabelNote"));
    LabelNote->setWordWrap(true);
    LabelNote->hide();
    noteTimer_ = new QTimer(this);
    noteTimer_->setSingleShot(true);
    noteTimer_->setInterval(kNoteMs);
    connect(noteTimer_, &QTimer::timeout, this, [this] { showNote({}); });
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(kGapPx);
    auto* row = new QHBoxLayout;
    rows->addLayout(row);
    rows->addWidget(LabelListProblem);
    rows->addWidget(LabelNote);
    row->addWidget(TextSearch, 1);
    row->addWidget(CheckMissed);
    row->addWidget(CheckIgnored);
    row->addWidget(CommandExport);
    row->addWidget(CommandStatistics);

    chooseCsvFile = [](QWidget* parent) {
        QFileDialog dialog(parent, tr("Export the call list"), QDir::home().filePath(QStringLiteral("calls.csv")),
            tr("CSV files (*.csv)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("csv"));
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    connect(TextSearch, &QLineEdit::textChanged, &grid.filter(), &CallFilter::setSearchText);
    // Ctrl+F goes to the search, Escape there clears it.
    connect(new QShortcut(QKeySequence::Find, window), &QShortcut::activated, TextSearch, [this] {
        TextSearch->setFocus();
        TextSearch->selectAll();
    });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), TextSearch, nullptr, nullptr, Qt::WidgetShortcut),
        &QShortcut::activated, TextSearch, &QLineEdit::clear);
    connect(CheckMissed, &QCheckBox::toggled, &grid.filter(), &CallFilter::setMissedOnly);
    connect(CheckIgnored, &QCheckBox::toggled, &grid.filter(), &CallFilter::setShowIgnored);
    connect(CommandExport, &QPushButton::clicked, this, &HistoryBar::exportCsv);
    connect(CommandStatistics, &QPushButton::clicked, this, &HistoryBar::showStatistics);
    connect(&list, &CallList::fileProblemChanged, this, &HistoryBar::showFileProblem);
    showFileProblem();
}

void HistoryBar::showFileProblem()
{
    const QString problem = list_.fileProblemText();
    LabelListProblem->setText(problem);
    LabelListProblem->setVisible(!problem.isEmpty());
    if (area_.isValid())
        place(area_); // the grid gives the warning its line
}

void HistoryBar::place(const QRect& area)
{
    area_ = area;
    const int wanted = hasHeightForWidth() ? heightForWidth(area.width()) : sizeHint().height();
    const int bar = std::min(area.height(), wanted);
    setGeometry(area.x(), area.y(), area.width(), bar);
    grid_.setGeometry(area.x(), area.y() + bar + kGapPx, area.width(), std::max(0, area.height() - bar - kGapPx));
}

void HistoryBar::exportCsv()
{
    const QString path = chooseCsvFile ? chooseCsvFile(window()) : QString();
    if (path.isEmpty())
        return; // cancelled
    const QByteArray csv = calllistcsv::toCsv(list_.records(), grid_.filter().shownRows());
    const QString shown = QDir::toNativeSeparators(path);
    if (!writeFileAtomically(path, csv)) {
        monitormessage::show(window(), tr("The call list could not be written to %1.").arg(shown));
        return;
    }
    const qsizetype n = grid_.filter().shownRows().size();
    showNote(n == 1 ? tr("1 call saved to %1.").arg(shown) : tr("%1 calls saved to %2.").arg(n).arg(shown));
}

void HistoryBar::showNote(const QString& text)
{
    LabelNote->setText(text);
    LabelNote->setVisible(!text.isEmpty());
    if (!text.isEmpty())
        noteTimer_->start();
    if (area_.isValid())
        place(area_); // the grid gives the note its line
}

void HistoryBar::showStatistics()
{
    if (!statistics_) {
        statistics_ = new StatisticsWindow(list_, clock_, window());
        statistics_->setAttribute(Qt::WA_DeleteOnClose);
    }
    statistics_->show();
    statistics_->raise();
    statistics_->activateWindow();
}
