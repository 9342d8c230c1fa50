#include "monitor/outputs/network_outputs.h"
#include "common/settings_keys.h"

#include "common/settings_store.h"
#include "monitor/engine/call_list.h"
#include "monitor/outputs/event_program_runner.h"
#include "monitor/outputs/ncid_server.h"

#include <QHostAddress>

NetworkOutputs::NetworkOutputs(Clock& clock, SettingsStore& settings, const CallList* callList, QObject* parent)
    : QObject(parent), clock_(clock), settings_(settings), callList_(callList),
      runner_(std::make_unique<EventProgramRunner>(clock))
{
    connect(runner_.get(), &EventProgramRunner::logMessage, this, &NetworkOutputs::logMessage);
    if (callList_) // calls the window could not save are announced as by corvane-monitor
        connect(callList_, &CallList::callsNotSaved, this, [this] {
            if (server_)
                server_->announce(callList_->unsavedCallsText());
        });
}

NetworkOutputs::~NetworkOutputs() = default;

QString NetworkOutputs::apply()
{
    runner_->setProgram(settings_.read(key::EventProgram));
    return state_ = applyServer();
}

QString NetworkOutputs::applyServer()
{
    if (!settings_.isOne(key::NcidServer)) {
        server_.reset();
        endpoint_.clear();
        return QStringLiteral("Off");
    }
    const QString endpoint = settings_.read(key::NcidAddress) + u':' + settings_.read(key::NcidPort);
    QHostAddress address;
    quint16 port = 0;
    if (!NcidServer::parseEndpoint(endpoint, address, port)) {
        server_.reset();
        endpoint_.clear();
        return QStringLiteral("Not a valid address and port");
    }
    if (server_ && endpoint == endpoint_)
        return state_; // running as asked: its clients stay connected
    server_ = std::make_unique<NcidServer>(clock_);
    server_->setCallList(callList_);
    connect(server_.get(), &NcidServer::logMessage, this, &NetworkOutputs::logMessage);
    if (!server_->listen(address, port)) {
        const QString why = server_->errorString();
        server_.reset();
        endpoint_.clear();
        return QStringLiteral("Cannot listen: %1").arg(why);
    }
    endpoint_ = endpoint;
    return QStringLiteral("Listening on %1 port %2").arg(address.toString()).arg(server_->serverPort());
}

void NetworkOutputs::stop()
{
    server_.reset();
    endpoint_.clear();
    runner_->setProgram({});
    state_ = QStringLiteral("Off");
}

void NetworkOutputs::callEvent(const CallEvent& event)
{
    if (server_)
        server_->callEvent(event);
    runner_->callEvent(event);
}
