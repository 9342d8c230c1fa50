// The call monitor on a running corvane-monitor: the service holds the line
// and decodes, this window draws its state, announces its callers as the
// user's settings ask, shows its call list, and sends a deletion or an
// ignored caller back to it. When the service goes away the window says so
// and the user may take the port.
#include "monitor/window/formmonitor.h"

#include "device/form1.h"
#include "monitor/engine/monitor_host.h"
#include "monitor/outputs/call_outputs.h"
#include "monitor/window/call_grid.h"
#include "monitor/window/history_bar.h"
#include "monitor/window/lamp_pictures.h"
#include "monitor/window/missed_calls.h"
#include "monitor/window/monitor_launcher.h"
#include "monitor/window/picture_label.h"
#include "monitor/window/trace_panes.h"

#include <QLabel>
#include <QTimer>

namespace {

// The announcement's requests, to the window's popup and sound.
class WindowAnnouncer : public MonitorHost {
public:
    WindowAnnouncer(PopupOnTop& popup, RingLoop& ring) : popup_(popup), ring_(ring) {}
    void popupRequested(bool wasVisible) override { popup_.popUp(wasVisible); }
    void playCallerIdSound(const QString& wavFile) override { ring_.playBetween(wavFile); }
    void keepOnTop(bool on) override { popup_.keepOnTop(on); }

private:
    PopupOnTop& popup_;
    RingLoop& ring_;
};

} // namespace

void FormMonitor::setService(const serviceaddress::Address& service)
{
    feed_ = std::make_unique<ServiceFeed>(service, debugLevel_);
    connectFeed();
    ServiceFeed& feed = *feed_;
    tracePanes_->follow({&feed.tracePane(0), &feed.tracePane(1), &feed.tracePane(2)}, feed.traceTree());
    FlexGrid1->deleteRecords = [this](const QList<int>& rows) { feed_->deleteCalls(rows); };
    const QString through =
        service.pid > 0 ? tr("The calls of corvane-monitor (process %1) at %2").arg(service.pid).arg(service.url)
                        : tr("The calls of corvane-monitor at %1").arg(service.url);
    LabelCID->parentWidget()->setToolTip(through);
    history_->showNote(through);
    history_->missed().setTitle(tr("Call Monitor - through corvane-monitor"));
}

bool FormMonitor::connectionLost() const
{
    return feed_ ? !feed_->attached() || !feed_->state().connected : session_.connectionLost();
}

MonitorDisplay FormMonitor::shownDisplay() const
{
    if (!feed_)
        return engine_.display();
    MonitorDisplay d = feed_->display();
    d.LabelNOW = engine_.display().LabelNOW; // the clock of this computer
    for (size_t i = 0; i < d.channels.size(); ++i)
        if (silenced_[i])
            d.channels[i].ringing = 0;
    return d;
}

void FormMonitor::connectFeed()
{
    ServiceFeed& feed = *feed_;
    connect(&feed, &ServiceFeed::stateChanged, this, [this] {
        for (size_t i = 0; i < silenced_.size(); ++i)
            silenced_[i] = silenced_[i] && feed_->state().display.channels[i].ringing != 0;
        drawDisplay();
    });
    connect(&feed, &ServiceFeed::callEvent, this, &FormMonitor::feedCallEvent);
    connect(&feed, &ServiceFeed::recordsChanged, this, &FormMonitor::feedRecords);
    connect(&feed, &ServiceFeed::attachedChanged, this, [this](bool attached) {
        if (attached)
            askedAboutPort_ = false;
        showConnectionState();
        if (!attached)
            QTimer::singleShot(ServiceFeed::kRetryMs, this, &FormMonitor::serviceLost);
    });
    connect(&feed, &ServiceFeed::problem, this, [this](const QString& text) { history_->showNote(text); });
    connect(&feed, &ServiceFeed::tracedLevelChanged, this, [this](int level) {
        if (level != debugLevel_)
            history_->showNote(tr("The trace panes show level %1 of corvane-monitor, not %2: another front end or "
                                  "its own --debug asks for it.")
                                   .arg(level)
                                   .arg(debugLevel_));
    });
}

void FormMonitor::feedCallEvent(const CallEvent& event)
{
    // The service announces no ignored caller; the window follows its own settings for the rest.
    if (event.kind == CallEvent::Kind::Incoming) {
        WindowAnnouncer announcer(popup_, ringLoop_);
        announceCaller(announcer, engine_.inputs(), {isVisible(), windowStateNormal()});
    }
    outputs_->callEvent(event);
}

void FormMonitor::feedRecords()
{
    const bool none = !FlexGrid1->currentIndex().isValid();
    engine_.callList().setRecords(feed_->records());
    if (none && engine_.callList().count() > 0)
        FlexGrid1->setCurrentRecord(0); // the newest record; its picture shows
}

void FormMonitor::silenceRing(int channel)
{
    silenced_[size_t(channel)] = true;
    drawDisplay();
}

// Still gone a moment later: the process ended (not a restart), so the user
// is asked once whether to take the port, as the settings window asks.
void FormMonitor::serviceLost()
{
    if (!feed_ || feed_->attached() || unloading_ || askedAboutPort_)
        return;
    if (serviceaddress::running(feed_->address().pid) && serviceaddress::holding(feed_->address().port)) {
        // Ending, restarting or out of reach for a moment: the feed goes on trying, and so does this check.
        QTimer::singleShot(ServiceFeed::kRetryMs, this, &FormMonitor::serviceLost);
        return;
    }
    askedAboutPort_ = true;
    const bool tookOver = mainWindow_.serviceGone(false);
    if (!tookOver || unloading_)
        return;
    // The port, or a new service holding it: the monitor opens again on it.
    Form1& form = mainWindow_;
    const int level = debugLevel_;
    const bool scan = scanMode_;
    closeWithoutAsking();
    form.hide();
    QTimer::singleShot(0, &form, [&form, level, scan] { Monitor_Click(form, level, scan); });
}
