// The live display: labels, pictures and lamps drawn from the engine's state,
// the session's requests handed to the popup and the ring loop, and the caller
// notification on the desktop.
#include "monitor/window/formmonitor.h"
#include "common/settings_keys.h"

#include "common/settings_store.h"
#include "device/form1.h"
#include "monitor/window/channel_panel.h"
#include "monitor/window/lamp_pictures.h"
#include "monitor/window/monitor_message.h"
#include "monitor/window/picture_label.h"
#include "monitor/window/wave_device.h"
#include "phonebook/book_file.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QSystemTrayIcon>
#include <utility>

void FormMonitor::connectSession()
{
    connect(&engine_, &MonitorEngine::displayChanged, this, &FormMonitor::drawDisplay);
    connect(&engine_, &MonitorEngine::timer1Ticked, this, &FormMonitor::drawLamps);
    connect(&session_, &MonitorSession::popupRequested, this, [this](bool wasVisible) { popup_.popUp(wasVisible); });
    connect(&session_, &MonitorSession::callerIdSoundRequested, this,
        [this](const QString& wavFile) { ringLoop_.playBetween(wavFile); });
    connect(&session_, &MonitorSession::keepOnTopRequested, this, [this](bool on) { popup_.keepOnTop(on); });
    connect(&session_, &MonitorSession::connectionChanged, this, &FormMonitor::showConnectionState);
    connect(&engine_.callList(), &CallList::fileProblemChanged, this, &FormMonitor::showListProblem);
    connect(&session_, &MonitorSession::traceModeFailed, this, [this] {
        monitormessage::show(this, tr("An error has occured! Call Monitor is Inactive... Please restart!"));
    });
}

void FormMonitor::drawDisplay()
{
    const MonitorDisplay d = shownDisplay();
    const bool alertStays = cidAlert_ && d.LabelCID == cidUnderAlert_; // until the next caller
    if (!connectionLost() && !unloading_ && !alertStays) {
        if (std::exchange(cidAlert_, false))
            LabelCID->setStyleSheet({});
        LabelCID->setText(ChannelPanel::numberWithPlace(d.LabelCID, d.cidPlace, LabelCID->palette()));
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
    ImageLED->showLamp(connectionLost() ? int(lamps::Grey) : d.ImageLED);
}

void FormMonitor::drawLamps()
{
    const MonitorDisplay d = shownDisplay();
    ImageLED->showLamp(lamps::Grey);
    blinkPhase_ = !blinkPhase_;
    for (int i = 0; i < 2; ++i)
        channels_[i]->drawLamps(d.channels[i], blinkPhase_);
}

// ---- desktop notification ------------------------------------------------------

void FormMonitor::setUpTray()
{
    notifyDesktop = [this](const QString& title, const QString& body) {
        if (tray_ && QSystemTrayIcon::supportsMessages())
            tray_->showMessage(title, body, QSystemTrayIcon::Information, 8000);
    };
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    tray_ = new QSystemTrayIcon(windowIcon().isNull() ? QIcon(lamps::picture(lamps::Green, 2.0)) : windowIcon(), this);
    tray_->setToolTip(tr("Call Monitor"));
    // A click on the icon brings the monitor to the front with the focus, as
    // a taskbar entry would; a desktop notification never takes it.
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
        if (why == QSystemTrayIcon::Trigger || why == QSystemTrayIcon::DoubleClick)
            bringToFront();
    });
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("TrayMenu"));
    menu->addAction(tr("Show the call monitor"), this, &FormMonitor::bringToFront);
    menu->addAction(tr("Call monitor settings ..."), this, [this] {
        bringToFront();
        CommandOptions_Click();
    });
    menu->addSeparator();
    menu->addAction(tr("Quit"), this, [this] {
        if (mainWindow_.close()) // closing the main window closes the monitor too
            QCoreApplication::quit();
    });
    tray_->setContextMenu(menu);
    tray_->show();
}

void FormMonitor::bringToFront()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}
