#include "monitor/window/trace_window.h"

#include "monitor/window/trace_panes.h"
#include "monitor/window/twips.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScreen>
#include <algorithm>

namespace {
// The design's room of the views and their buttons, twips.
constexpr int kDesignWidth = 7020, kDesignHeight = 7820;
} // namespace

TraceWindow::TraceWindow(TracePanes& panes, const QList<QWidget*>& buttons, QWidget& monitor)
    : QWidget(&monitor, Qt::Window), monitor_(monitor)
{
    setObjectName(QStringLiteral("FormTrace"));
    setWindowTitle(tr("Call Monitor Trace"));
    setWindowIcon(monitor.windowIcon());
    setFont(monitor.font());
    auto* grid = new QGridLayout(this);
    panes.layOutIn(*grid);
    auto* row = new QHBoxLayout;
    for (QWidget* button : buttons)
        row->addWidget(button);
    grid->addLayout(row, grid->rowCount(), 0, 1, grid->columnCount());
    const double dpi = twips::dpiOf(&monitor);
    resize(twips::toPx(kDesignWidth, dpi), twips::toPx(kDesignHeight, dpi));
}

void TraceWindow::showBeside()
{
    // Where the two cannot stand side by side, this one takes at most half
    // the screen, so the monitor's caller and channels stay in view.
    if (const QScreen* screen = monitor_.screen()) {
        const int area = screen->availableGeometry().width();
        const int room = std::max(area - monitor_.frameGeometry().width(), area / 2);
        resize(std::min(width(), room - (frameGeometry().width() - width())), height());
    }
    move(monitor_.frameGeometry().topRight() + QPoint(1, 0));
    show();
}

void TraceWindow::closeEvent(QCloseEvent* event)
{
    event->ignore(); // hidden with the monitor when it agrees to close
    monitor_.close();
}
