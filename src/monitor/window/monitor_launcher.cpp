#include "monitor/window/monitor_launcher.h"

#include "common/service_address.h"
#include "common/settings_store.h"
#include "device/form1.h"
#include "monitor/engine/system_clock.h"
#include "monitor/window/formmonitor.h"
#include "monitor/window/monitor_message.h"
#include "phonebook/service_book.h"

#include <QLineEdit>
#include <QPointer>
#include <utility>

namespace {

QPointer<FormMonitor>& monitor()
{
    static QPointer<FormMonitor> m;
    return m;
}

std::optional<serviceaddress::Address>& folderService()
{
    static std::optional<serviceaddress::Address> service;
    return service;
}

Clock& applicationClock()
{
    static SystemClock clock;
    return clock;
}

bool ownNumberSet(const Form1& form, const char* name)
{
    const auto* field = form.findChild<QLineEdit*>(QLatin1String(name));
    return field && field->text().size() >= 2;
}

} // namespace

void Monitor_Click(Form1& form, int debugLevel, bool scanMode)
{
    if (callMonitorOpen()) { // the menu is hidden meanwhile; TimerScan could still fire
        monitor()->raise();
        return;
    }
    const std::optional<serviceaddress::Address> attached = form.attachedService();
    std::optional<serviceaddress::Address> service = folderService();
    if (!service && !attached)
        service = serviceaddress::holding(form.at().portPath());
    if (service && !attached) {
        // Its trace is the adapter's only one: a second would take the line from every output.
        monitormessage::show(&form,
            QCoreApplication::translate("FormMonitor", "corvane-monitor (process %1) follows the calls on %2: its "
                                                       "call list, outputs and web page have them. Stop the service "
                                                       "to follow them in this window.")
                .arg(service->pid)
                .arg(service->port));
        return;
    }
    if (!form.settleChanges()) // the monitor takes the line: edits go out now or not at all
        return;
    if (!ownNumberSet(form, "TextOWN1") || !ownNumberSet(form, "TextOWN2")) {
        monitormessage::show(&form,
            QCoreApplication::translate("FormMonitor", "Please set Own Numbers for Phone 1 & Phone 2 and Transmit "
                                                       "Settings before using Call Monitor"));
        return;
    }
    auto* m = new FormMonitor(form, form.at(), applicationClock(), SettingsStore::user(), debugLevel, scanMode);
    m->setAttribute(Qt::WA_DeleteOnClose);
    if (attached) // the service follows the calls; the window shows them
        m->setService(*attached);
    // The price typed in the main window since start-up read the store counts.
    m->setUnitCost(form.UnitCost);
    QObject::connect(&form, &Form1::unitCostChanged, m, &FormMonitor::setUnitCost);
    monitor() = m;
    m->open();
}

void setFolderService(std::optional<serviceaddress::Address> service)
{
    folderService() = std::move(service);
}

bool callMonitorOpen()
{
    return monitor() && !monitor()->unloading();
}

void closeCallMonitor()
{
    if (callMonitorOpen())
        monitor()->closeWithoutAsking();
}

FormMonitor* currentMonitor()
{
    return callMonitorOpen() ? monitor().data() : nullptr;
}

std::unique_ptr<BookSource> phoneBookSource(const Form1& form)
{
    const std::optional<serviceaddress::Address> service = form.attachedService();
    if (!service || (folderService() && folderService()->token == service->token))
        return nullptr;
    return std::make_unique<ServiceBook>(*service);
}
