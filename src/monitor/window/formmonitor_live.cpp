// The live display: labels, pictures and lamps drawn from the engine's state,
// the ring loop, the popup and the caller notification on the desktop.
#include "monitor/window/formmonitor.h"
#include "common/settings_keys.h"

#include "common/settings_store.h"
#include "device/form1.h"
#include "monitor/window/caller_notification.h"
#include "monitor/window/channel_panel.h"
#include "monitor/window/lamp_pictures.h"
#include "monitor/window/monitor_message.h"
#include "monitor/window/picture_label.h"
#include "monitor/window/wave_device.h"
#include "phonebook/book_file.h"

#include <QHash>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSystemTrayIcon>
#include <QTreeWidget>
#include <utility>

void FormMonitor::connectSession()
{
    connect(&engine_, &MonitorEngine::displayChanged, this, &FormMonitor::drawDisplay);
    connect(&engine_, &MonitorEngine::timer1Ticked, this, &FormMonitor::drawLamps);
    connect(&session_, &MonitorSession::popupRequested, this, &FormMonitor::popupRequested);
    connect(&session_, &MonitorSession::callerIdSoundRequested, this, &FormMonitor::playCallerIdSound);
    connect(&session_, &MonitorSession::keepOnTopRequested, this, &FormMonitor::keepOnTop);
    connect(&session_, &MonitorSession::callEvent, this, &FormMonitor::announceCaller);
    connect(&session_, &MonitorSession::connectionChanged, this, &FormMonitor::showConnectionState);
    connect(&engine_.callList(), &CallList::fileProblemChanged, this, &FormMonitor::showListProblem);
    connect(&session_, &MonitorSession::traceModeFailed, this, [this] {
        monitormessage::show(this, tr("An error has occured! Call Monitor is Inactive... Please restart!"));
    });

    const std::pair<TracePane*, QPlainTextEdit*> panes[] = {
        {&engine_.Text1(), Text1}, {&engine_.Text2(), Text2}, {&engine_.Text3(), Text3}};
    for (const auto& [pane, view] : panes) {
        connect(pane, &TracePane::appended, view, [this, view = view](const QString& t) { appendPane(view, t); });
        connect(pane, &TracePane::cleared, view, &QPlainTextEdit::clear);
        connect(pane, &TracePane::trimmed, view, [this, pane = pane, view = view] {
            view->clear();
            appendPane(view, pane->text());
        });
    }
    connect(&engine_.TreeIDs(), &TraceTree::changed, this, &FormMonitor::drawTree);
}

void FormMonitor::drawDisplay()
{
    const MonitorDisplay d = engine_.display();
    const bool alertStays = cidAlert_ && d.LabelCID == cidUnderAlert_; // until the next caller
    if (!session_.connectionLost() && !unloading_ && !alertStays) {
        if (std::exchange(cidAlert_, false))
            LabelCID->setStyleSheet({});
        LabelCID->setText(d.LabelCID);
    }
    LabelTIM->setText(d.LabelTIM);
    LabelNOW->setText(d.LabelNOW);
    for (int i = 0; i < 2; ++i)
        channels_[i]->draw(d.channels[i]);
    if (d.Image2 != shownImage2_) {
        shownImage2_ = d.Image2;
        if (d.Image2.isEmpty())
            Image2->clearPicture();
        else
            Image2->showFile(d.Image2); // a picture that cannot be loaded leaves the old one
    }
    ImageLED->showLamp(session_.connectionLost() ? int(lamps::Grey) : d.ImageLED);
}

void FormMonitor::drawLamps()
{
    const MonitorDisplay d = engine_.display();
    ImageLED->showLamp(lamps::Grey);
    blinkPhase_ = !blinkPhase_;
    for (int i = 0; i < 2; ++i)
        channels_[i]->drawLamps(d.channels[i], blinkPhase_);
}

void FormMonitor::Timer2_Timer()
{
    const MonitorDisplay d = engine_.display();
    if ((d.channels[0].ringsAloud() || d.channels[1].ringsAloud()) && mainWindow_.Ring == 1)
        wave::playFromStart(wave::device(), settings_.read(key::WavFile));
}

// ---- what the session asks of its view -------------------------------------------

bool FormMonitor::windowStateNormal() const
{
    return !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

void FormMonitor::popupRequested(bool wasVisible)
{
    popupWasVisible_ = wasVisible;
    // Shown in front, but the user's typing stays where it is.
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    show();
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    timerPopup_->start(kPopupMs);
}

void FormMonitor::TimerPopup_Timer()
{
    if (popupWasVisible_)
        show();
    else
        hide();
    if (windowStateNormal())
        keepOnTop(false);
    timerPopup_->stop();
}

void FormMonitor::playCallerIdSound(const QString& wavFile)
{
    timer2_->stop();
    wave::playFromStart(wave::device(), wavFile);
    timer2_->start(kTimer2Ms); // the next ring-loop play comes a full period later
}

void FormMonitor::keepOnTop(bool on)
{
    // On top only for a popup's time: with "Popup" off the announcement
    // would otherwise keep the window above the others for the whole session.
    if (on && !timerPopup_->isActive())
        return;
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on); // hides the window
    if (visible) {
        setAttribute(Qt::WA_ShowWithoutActivating, true);
        show();
        setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
}

// ---- desktop notification ------------------------------------------------------

void FormMonitor::setUpTray()
{
    notifyDesktop = [this](const QString& title, const QString& body) {
        if (tray_ && QSystemTrayIcon::supportsMessages())
            tray_->showMessage(title, body, QSystemTrayIcon::Information, 8000);
    };
    callerNotifier_ = new CallerNotifier(
        settings_,
        [this](const QString& title, const QString& body) {
            if (notifyDesktop)
                notifyDesktop(title, body);
        },
        this);
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    tray_ = new QSystemTrayIcon(windowIcon().isNull() ? QIcon(lamps::picture(lamps::Green, 2.0)) : windowIcon(), this);
    tray_->setToolTip(tr("Call Monitor"));
    // A click on the icon brings the monitor to the front with the focus, as
    // a taskbar entry would; a desktop notification never takes it.
    connect(tray_, &QSystemTrayIcon::activated, this, [this] {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
        raise();
        activateWindow();
    });
    tray_->show();
}

void FormMonitor::announceCaller(const CallEvent& event)
{
    if (event.kind != CallEvent::Kind::Incoming && event.kind != CallEvent::Kind::Waiting)
        return;
    QString picture = event.number;
    engine_.inputs().nameFor(picture);
    callerNotifier_->announce(event, picture);
}

// ---- debug views ----------------------------------------------------------------

void FormMonitor::appendPane(QPlainTextEdit* pane, const QString& text)
{
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    plain.remove(u'\r');
    QTextCursor end(pane->document());
    end.movePosition(QTextCursor::End);
    end.insertText(plain);
    pane->verticalScrollBar()->setValue(pane->verticalScrollBar()->maximum());
}

void FormMonitor::drawTree()
{
    TreeIDs->clear();
    QHash<QString, QTreeWidgetItem*> byKey;
    for (const TreeNode& node : engine_.TreeIDs().nodes()) {
        QTreeWidgetItem* parent = byKey.value(node.parentKey);
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(TreeIDs);
        item->setText(0, node.text);
        const QPixmap icon = lamps::picture(node.image, devicePixelRatioF());
        if (!icon.isNull())
            item->setIcon(0, icon);
        item->setExpanded(node.expanded);
        if (!node.key.isEmpty())
            byKey.insert(node.key, item);
    }
    TreeIDs->expandToDepth(0);
}
