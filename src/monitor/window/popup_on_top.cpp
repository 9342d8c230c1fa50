#include "monitor/window/popup_on_top.h"

#include "common/clock.h"

#include <QWidget>

PopupOnTop::PopupOnTop(QWidget& window, Clock& clock)
    : window_(window), timer_(clock.createTimer([this] { end(); }, true))
{
}

PopupOnTop::~PopupOnTop() = default;

bool PopupOnTop::normalState(const QWidget& window)
{
    return !(window.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

// Shown in front (from minimised or maximised in normal state), but the
// user's typing stays where it is.
void PopupOnTop::showWithoutFocus(bool normal)
{
    window_.setAttribute(Qt::WA_ShowWithoutActivating, true);
    if (normal)
        window_.setWindowState(window_.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    window_.show();
    window_.setAttribute(Qt::WA_ShowWithoutActivating, false);
}

void PopupOnTop::popUp(bool wasVisible)
{
    wasVisible_ = wasVisible;
    showWithoutFocus(true);
    timer_->start(kPopupMs);
}

void PopupOnTop::end()
{
    if (wasVisible_)
        window_.show();
    else
        window_.hide();
    if (normalState(window_))
        keepOnTop(false);
    timer_->stop();
}

void PopupOnTop::keepOnTop(bool on)
{
    // On top only for a popup's time: with "Popup" off the announcement
    // would otherwise keep the window above the others for the whole session.
    if (on && !timer_->isActive())
        return;
    if (window_.windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    const bool visible = window_.isVisible();
    window_.setWindowFlag(Qt::WindowStaysOnTopHint, on); // hides the window
    if (visible)
        showWithoutFocus(false);
}

void PopupOnTop::stop()
{
    timer_->stop();
}
