#include "tools/monitor_web_host.h"

#include "common/settings_keys.h"
#include "common/settings_store.h"
#include "monitor/session/monitor_session.h"
#include "phonebook/contact_folder.h"

MonitorWebHost::MonitorWebHost(
    MonitorSession& session, SettingsStore& settings, const ContactFolder& contacts, int ownTraceLevel, QObject* parent)
    : WebHost(parent), session_(session), settings_(settings), contacts_(contacts), ownTraceLevel_(ownTraceLevel)
{
    connect(&session_, &MonitorSession::connectionChanged, this, &WebHost::changed);
    connect(&session_.missedCount(), &MissedCount::changed, this, &WebHost::changed);
    connect(&session_.engine(), &MonitorEngine::displayChanged, this, &WebHost::displayChanged);
}

MonitorDisplay MonitorWebHost::display() const
{
    return session_.engine().display();
}

const MonitorInputs& MonitorWebHost::inputs() const
{
    return session_.engine().inputs();
}

CallList& MonitorWebHost::callList()
{
    return session_.callList();
}

int MonitorWebHost::missedCount() const
{
    return session_.missedCount().count();
}

QString MonitorWebHost::adapterPort() const
{
    return session_.portPath();
}

bool MonitorWebHost::adapterConnected() const
{
    return !session_.connectionLost();
}

const ContactFolder* MonitorWebHost::contacts() const
{
    return contacts_.folder().isEmpty() ? nullptr : &contacts_;
}

bool MonitorWebHost::setMsnNames(const QList<QPair<QString, QString>>& names)
{
    for (int slot = 1; slot <= key::kMsnSlots; ++slot) {
        const QPair<QString, QString> pair = names.value(slot - 1);
        settings_.write(key::msnNumber(slot), pair.first);
        settings_.write(key::msnName(slot), pair.second);
    }
    filesChanged();
    return true;
}

void MonitorWebHost::filesChanged()
{
    MonitorInputs in = readMonitorInputs(settings_, session_.engine().inputs().debugLevel);
    in.contacts = session_.engine().inputs().contacts;
    session_.engine().setInputs(in);
    emit changed();
}

void MonitorWebHost::adapter(const AdapterRequest& request, std::function<void(const AdapterReply&)> done)
{
    if (!runOnAdapter) {
        done({503, QJsonObject{{"error", "adapter-unavailable"}, {"message", "no adapter here"}}});
        return;
    }
    runOnAdapter(request, std::move(done));
}

void MonitorWebHost::setBusyWith(const QString& what)
{
    busyWith_ = what;
    emit changed();
}

std::array<TracePane*, 3> MonitorWebHost::tracePanes()
{
    MonitorEngine& engine = session_.engine();
    return {&engine.Text1(), &engine.Text2(), &engine.Text3()};
}

TraceTree& MonitorWebHost::traceTree()
{
    return session_.engine().TreeIDs();
}

void MonitorWebHost::askTraceLevel(int level)
{
    session_.engine().setTraceLevel(std::max(level, ownTraceLevel_));
}

int MonitorWebHost::traceLevel() const
{
    return session_.engine().inputs().debugLevel;
}
