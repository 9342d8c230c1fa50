#include "monitor/session/monitor_session.h"

#include "device/at_channel.h"
#include "device/port_link.h"
#include "monitor/engine/clock.h"
#include "monitor/session/trace_mode.h"

#include <QPointer>
#include <QSerialPort>
#include <utility>

MonitorSession::MonitorSession(AtChannel& at, Clock& clock, QObject* parent)
    : QObject(parent), at_(at), engine_(clock), missed_(engine_.callList(), clock)
{
    engine_.setHost(&host_);
    sendAT = [this](const QString& cmd) { return at_.SendAT(cmd); };
    writeToPort = [this](const QByteArray& bytes) {
        if (at_.port().isOpen())
            at_.port().write(bytes);
    };
    timerReconnect_ = clock.createTimer([this] { tryReconnect(); }, false);
    connect(&at_.port(), &PortLink::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (TraceMode::isLineLoss(e))
            portFailed();
    });
}

MonitorSession::~MonitorSession()
{
    if (!stopping_) {
        // Destroyed without stopping (program end): never leave Scan pointing here.
        at_.trace().release();
    }
}

QString MonitorSession::portPath() const
{
    return at_.portPath();
}

void MonitorSession::start()
{
    stopping_ = false;
    engine_.traceModeStarted();
    if (!TraceMode::switchOn(sendAT))
        emit traceModeFailed();
    // A port that cannot be opened delivers nothing; the retry takes over.
    lineUp_ = at_.trace().take([this] { received(); });
    timerReconnect_->start(kReconnectMs);
}

void MonitorSession::received()
{
    // Every waiting character goes to Scan, one at a time.
    const QByteArray bytes = at_.port().readAll();
    for (char c : bytes) {
        if (!at_.trace().active())
            return;
        engine_.Scan(c);
    }
    if (!bytes.isEmpty())
        at_.port().restReading(kReadRestMs);
}

void MonitorSession::portFailed()
{
    if (!at_.trace().active() || stopping_)
        return;
    at_.trace().lapse();
    if (std::exchange(lineUp_, false))
        engine_.lineLost(); // calls were followed on it until now
    setConnectionLost(true);
}

void MonitorSession::setConnectionLost(bool lost)
{
    if (connectionLost_ == lost)
        return;
    connectionLost_ = lost;
    emit connectionChanged(lost);
}

void MonitorSession::tryReconnect()
{
    if (stopping_ || reconnecting_)
        return;
    if (at_.trace().active() && !at_.port().isOpen())
        portFailed(); // closed under us (the channel closes a port that errs)
    if (!connectionLost_ || !at_.portOpens())
        return; // fine, or still gone: try again at the next tick
    reconnecting_ = true;
    const QPointer<MonitorSession> self(this);
    // The commands let events run; the session may be stopped or destroyed meanwhile.
    TraceMode::switchOn(sendAT, [&] { return self && !stopping_; });
    if (!self)
        return;
    reconnecting_ = false;
    if (stopping_ || !at_.trace().regain())
        return;
    lineUp_ = true;
    setConnectionLost(false);
}

void MonitorSession::stop(bool saveList)
{
    stopping_ = true;
    timerReconnect_->stop();
    if (saveList)
        engine_.callList().SaveTheList();
    TraceMode::switchOff(at_, writeToPort, sendAT);
}

void MonitorSession::stopEndingCalls()
{
    if (std::exchange(lineUp_, false))
        engine_.lineLost();
    stop(false);
}

void MonitorSession::loadList()
{
    CallList& list = engine_.callList();
    list.clearRows();
    list.ReadTheList();
}

bool MonitorSession::saveList()
{
    return engine_.callList().SaveTheList();
}

void MonitorSession::reloadList()
{
    if (saveList()) // else the calls only held in memory would be dropped
        loadList();
}

void MonitorSession::pauseTrace()
{
    writeToPort("ATCD8\r");
}

void MonitorSession::resumeTrace()
{
    writeToPort("ATCD9\r");
}
