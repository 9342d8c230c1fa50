#include "app/windows_on_screen.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace {

QRect areaFor(const QWidget& window)
{
    const QWidget* parent = window.parentWidget();
    const QWidget* anchor = parent && parent->window()->isVisible() ? parent->window() : &window;
    const QScreen* screen = anchor->screen() ? anchor->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// A message box is as wide as its text; a longer title would be cut in the
// title bar. The box's grid gets a row that wide (window managers add their
// buttons; a bold face allows for a bolder title font).
void widenForTitle(QMessageBox& box)
{
    constexpr int kTitleBarButtonsPx = 120;
    QFont bold = box.font();
    bold.setBold(true);
    const int wanted = QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + kTitleBarButtonsPx;
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid || box.property("corvaneTitleRow").toBool())
        return;
    box.setProperty("corvaneTitleRow", true);
    grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
        grid->columnCount());
}

} // namespace

WindowsOnScreen::WindowsOnScreen(QObject* parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

void WindowsOnScreen::keep(QWidget& window)
{
    const QRect area = areaFor(window);
    if (area.isEmpty() || window.isMaximized() || window.isFullScreen())
        return;
    QRect frame = window.frameGeometry();
    const QSize margins = frame.size() - window.size();
    if (frame.width() > area.width() || frame.height() > area.height()) {
        window.resize((area.size() - margins).boundedTo(window.size()).expandedTo(window.minimumSize()));
        frame = window.frameGeometry();
    }
    const int x = std::clamp(frame.x(), area.left(), std::max(area.left(), area.right() + 1 - frame.width()));
    const int y = std::clamp(frame.y(), area.top(), std::max(area.top(), area.bottom() + 1 - frame.height()));
    if (QPoint(x, y) != frame.topLeft())
        window.move(x, y);
}

bool WindowsOnScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        if (auto* box = qobject_cast<QMessageBox*>(w))
            widenForTitle(*box);
        if (w->isWindow() && !(w->windowType() == Qt::Popup || w->windowType() == Qt::ToolTip))
            // Once the window manager has framed it: the frame counts too.
            QTimer::singleShot(0, w, [window = QPointer<QWidget>(w)] {
                if (window && window->isVisible())
                    keep(*window);
            });
    }
    return QObject::eventFilter(watched, event);
}
