// Trace mode as the window shows it: the session switched on, the connection
// state in the caller-ID line, and the closing that takes the adapter out.
#include "monitor/window/formmonitor.h"
#include "common/settings_keys.h"

#include "common/settings_store.h"
#include "device/form1.h"
#include "monitor/outputs/call_outputs.h"
#include "monitor/window/call_grid.h"
#include "monitor/window/channel_panel.h"
#include "monitor/window/lamp_pictures.h"
#include "monitor/window/monitor_message.h"
#include "monitor/window/picture_label.h"
#include "phonebook/book_file.h"

#include <QCloseEvent>
#include <QLabel>
#include <QSystemTrayIcon>

namespace {
const QString kAlertStyle = QStringLiteral("color: #b00000; font-weight: normal; font-size: 8pt;");
}

void FormMonitor::EnableComScanMonitorCID()
{
    if (feed_)
        feed_->start();
    else
        session_.start();
}

void FormMonitor::showConnectionState()
{
    if (feed_ && !feed_->attached()) {
        LabelCID->setText(tr("corvane-monitor gone - waiting ..."));
        LabelCID->setStyleSheet(kAlertStyle);
        ImageLED->showLamp(lamps::Grey);
    } else if (connectionLost()) {
        LabelCID->setText(tr("Adapter lost - reconnecting ..."));
        LabelCID->setStyleSheet(kAlertStyle);
        ImageLED->showLamp(lamps::Grey);
    } else {
        LabelCID->setStyleSheet({});
        const MonitorDisplay d = shownDisplay();
        LabelCID->setText(ChannelPanel::numberWithPlace(d.LabelCID, d.cidPlace, LabelCID->palette()));
    }
}

void FormMonitor::closeEvent(QCloseEvent* event)
{
    if (!unloading_ && askBeforeLosingCalls_ && !unsavedCallsMayGo()) {
        event->ignore();
        return;
    }
    if (!unloading_)
        Form_Unload();
    event->accept();
}

void FormMonitor::closeWithoutAsking()
{
    askBeforeLosingCalls_ = false;
    close();
}

bool FormMonitor::unsavedCallsMayGo()
{
    CallList& list = engine_.callList();
    if (feed_ || !list.hasUnsavedChanges() || session_.saveList()) // the service's list is its own to save
        return true;
    return monitormessage::ask(this,
        tr("%1.\n\nClose the call monitor anyway and lose the calls that are not saved?").arg(list.fileProblemText()));
}

void FormMonitor::showListProblem()
{
    const QString problem = engine_.callList().fileProblemText();
    if (problem.isEmpty() || connectionLost() || unloading_)
        return; // the grid's warning line stays until a save succeeds
    LabelCID->setStyleSheet(kAlertStyle);
    LabelCID->setText(engine_.callList().fileProblem() == CallList::FileProblem::Unreadable
                          ? tr("Call list unreadable!")
                          : tr("Calls not saved!"));
    cidAlert_ = true;
    cidUnderAlert_ = shownDisplay().LabelCID;
}

void FormMonitor::Form_Unload()
{
    unloading_ = true;
    popup_.stop();
    ringLoop_.stop();
    setWindowTitle(tr("Please wait ..."));
    LabelCID->setStyleSheet({});
    LabelCID->setText(tr("Please wait ..."));
    if (feed_)
        feed_->stop();
    else
        session_.stop(isVisible());
    outputs_->stop();
    setWindowTitle(tr("Call Monitor"));
    LabelCID->clear();
    if (!isMinimized()) {
        settings_.write(key::ScanLeft, QString::number(leftTwips()));
        settings_.write(key::ScanTop, QString::number(topTwips()));
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
    engine_.inputs().nameFor(picture);
    if (!Image2->showFile(picture))
        Image2->showFile(QStringLiteral("noname.jpg")); // missing too: the old picture stays
    shownImage2_.reset();                               // the next caller's picture is drawn, whatever it is
}

void FormMonitor::reloadListNames()
{
    if (feed_)
        feed_->fetchCalls(); // the service names its records from its book
    else if (isVisible())
        session_.reloadList();
}
