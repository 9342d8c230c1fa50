// Trace mode: switching the adapter into it, feeding Scan, reconnecting when
// the port goes away, and the closing sequence that takes the adapter out.
#include "monitor/window/formmonitor.h"

#include "common/settings_store.h"
#include "device/at_channel.h"
#include "device/form1.h"
#include "monitor/window/call_grid.h"
#include "monitor/window/lamp_pictures.h"
#include "monitor/window/monitor_message.h"
#include "monitor/window/picture_label.h"
#include "phonebook/book_file.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPointer>
#include <QSerialPort>
#include <QSystemTrayIcon>

namespace {
const QString kClosingCommands[] = {
    QStringLiteral("ATE1"),  QStringLiteral("ATE1"),  QStringLiteral("ATCD0"),  QStringLiteral("ATCD2"),
    QStringLiteral("ATCD4"), QStringLiteral("ATCD6"), QStringLiteral("ATCD10"),
};
} // namespace

void FormMonitor::EnableComScanMonitorCID()
{
    engine_.traceModeStarted();
    sendAT(QStringLiteral("ATE0"));
    sendAT(QStringLiteral("ATCD1"));
    if (sendAT(QStringLiteral("ATCD9")) != QLatin1String("MONITOR"))
        monitormessage::show(this, QStringLiteral("An error has occured! Call Monitor is Inactive... Please restart!"));
    at_.scanHandler = [this] { scanReceived(); };
    at_.openForTrace(); // a port that cannot be opened delivers nothing; the retry below takes over
    at_.ScanState = true;
    timerReconnect_->start(kReconnectMs);
}

void FormMonitor::scanReceived()
{
    // Every waiting character goes to Scan, one at a time.
    const QByteArray bytes = at_.port().readAll();
    for (char c : bytes) {
        if (!at_.ScanState)
            return;
        engine_.Scan(c);
    }
}

void FormMonitor::portFailed()
{
    if (!at_.ScanState || unloading_)
        return;
    connectionLost_ = true;
    at_.ScanState = false;
    if (at_.port().isOpen())
        at_.port().close(); // a vanished device would keep signalling
    showConnectionState();
}

void FormMonitor::showConnectionState()
{
    if (connectionLost_) {
        LabelCID->setText(QStringLiteral("Adapter lost - reconnecting ..."));
        LabelCID->setStyleSheet(QStringLiteral("color: #b00000; font-weight: normal; font-size: 8pt;"));
        ImageLED->showLamp(lamps::Grey);
    } else {
        LabelCID->setStyleSheet({});
        LabelCID->setText(engine_.display().LabelCID);
    }
}

void FormMonitor::tryReconnect()
{
    if (unloading_ || reconnecting_)
        return;
    if (at_.ScanState && !at_.port().isOpen())
        portFailed(); // closed under us (the channel closes a port that errs)
    if (!connectionLost_)
        return;
    if (!at_.portOpens())
        return; // still gone; try again at the next tick
    reconnecting_ = true;
    const QPointer<FormMonitor> self(this);
    // The commands let events run; the window may close meanwhile.
    for (const char* cmd : {"ATE0", "ATCD1", "ATCD9"}) {
        sendAT(QLatin1String(cmd));
        if (!self || unloading_) {
            if (self)
                reconnecting_ = false;
            return;
        }
    }
    reconnecting_ = false;
    if (!at_.openForTrace())
        return;
    at_.ScanState = true;
    connectionLost_ = false;
    showConnectionState();
}

void FormMonitor::closeEvent(QCloseEvent* event)
{
    if (!unloading_)
        Form_Unload();
    event->accept();
}

void FormMonitor::Form_Unload()
{
    unloading_ = true;
    timerReconnect_->stop();
    timerPopup_->stop();
    timer2_->stop();
    setWindowTitle(QStringLiteral("Please wait ..."));
    LabelCID->setStyleSheet({});
    LabelCID->setText(QStringLiteral("Please wait ..."));
    if (isVisible())
        engine_.callList().SaveTheList();
    if (at_.ScanState && at_.port().isOpen()) {
        writeToPort("ATCD8\r");
        at_.port().waitForBytesWritten(500);
        at_.port().readAll();
    }
    at_.ScanState = false;
    at_.scanHandler = nullptr;
    at_.port().close();
    for (const QString& cmd : kClosingCommands)
        sendAT(cmd);
    setWindowTitle(QStringLiteral("Call Monitor"));
    LabelCID->clear();
    if (!isMinimized()) {
        settings_.write(QStringLiteral("ScanLeft"), QString::number(leftTwips()));
        settings_.write(QStringLiteral("ScanTop"), QString::number(topTwips()));
    }
    FlexGrid1->saveWidths();
    if (tray_)
        tray_->hide();
    emit unloaded();
    if (scanMode_) {
        if (endProgram)
            endProgram();
    } else {
        mainWindow_.show();
    }
}

void FormMonitor::showRecordPicture(int row)
{
    const QList<CallRecord>& records = engine_.callList().records();
    if (row < 0 || row >= records.size())
        return;
    QString picture = records[row].number;
    PhoneToName(picture, engine_.bookPath());
    if (!Image2->showFile(picture))
        Image2->showFile(QStringLiteral("noname.jpg")); // missing too: the old picture stays
}

void FormMonitor::reloadListNames()
{
    if (!isVisible())
        return;
    CallListModel& list = engine_.callList();
    list.SaveTheList();
    list.clearRows();
    list.ReadTheList();
}
