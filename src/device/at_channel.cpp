#include "device/at_channel.h"
#include "common/settings_keys.h"

#include "common/settings_store.h"
#include "common/system_clock.h"
#include "device/port_link.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSerialPort>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace {

// The wait loop sleeps in the event dispatcher and wakes at least this often
// to look at the clock and the latch.
constexpr int kWakeMs = 20;
constexpr qint64 kAnswerLimitMs = 1000; // stop waiting for "OK"
constexpr qint64 kFailLimitMs = 2000;   // an exchange this slow counts as failed
// A device that floods the line cannot grow the reply without bound; a real
// answer is a few hundred characters.
constexpr qsizetype kReplyCap = 64 * 1024;
// The pause after a command is 0.01 s or 0.2 s from the options window; a
// stored value edited by hand cannot freeze the window for longer than this.
constexpr double kLongestPauseMs = 1000.0;

} // namespace

AtChannel::AtChannel(QObject* parent) : AtChannel(SettingsStore::user(), *new SystemClock, parent)
{
    ownClock_.reset(clock_);
}

AtChannel::AtChannel(SettingsStore& settings, Clock& clock, QObject* parent)
    : QObject(parent), settings_(settings), clock_(&clock), port_(new PortLink(this))
{
    connect(port_, &PortLink::readyRead, this, &AtChannel::MSComm1_OnComm);
    connect(port_, &PortLink::errorOccurred, this,
        [this](QSerialPort::SerialPortError e) { onPortError(static_cast<int>(e)); });
}

AtChannel::~AtChannel()
{
    if (port_->isOpen())
        port_->close();
}

PortLink& AtChannel::port()
{
    return *port_;
}

QString AtChannel::portPath() const
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(line_.port);
#else
    return settings_.portPath(line_.port);
#endif
}

void AtChannel::SetPort(int port)
{
    line_.port = port;
    settings_.write(key::CommPort, QString::number(port));
}

void AtChannel::setDeviceAbsent(bool absent)
{
    if (std::exchange(deviceAbsent_, absent) != absent)
        emit deviceAbsentChanged(absent);
}

AtReply AtChannel::send(const QString& cmd)
{
    const QString text = SendAT(cmd);
    return AtReply(text, lastOutcome_);
}

void AtChannel::pauseWithEvents(int ms)
{
    // A timer of the clock ends a local loop: no core spins, and a virtual
    // clock's test moves it on.
    QEventLoop loop;
    const std::unique_ptr<ClockTimer> done = clock_->createTimer([&loop] { loop.quit(); }, true);
    done->start(ms);
    loop.exec();
}

void AtChannel::configurePort()
{
    // Changing the device under an open port fails, as it would on the
    // serial control; the open port keeps its device.
    if (!port_->isOpen())
        port_->setPortName(portPath());
    bool ok = false;
    const int rate = line_.speed.toInt(&ok);
    if (ok && rate > 0) // a bad speed text keeps the previous rate
        port_->setBaudRate(rate);
    port_->setDataBits(QSerialPort::Data8);
    port_->setParity(QSerialPort::NoParity);
    port_->setStopBits(QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::HardwareControl); // RTS/CTS; RTS is asserted by the driver
}

bool AtChannel::portOpens()
{
    if (port_->isOpen())
        return false; // held by trace mode: busy for a second opener
    configurePort();
    if (!port_->open(QIODevice::ReadWrite))
        return false;
    port_->readAll();
    port_->close();
    return true;
}

bool AtChannel::openForTrace()
{
    if (port_->isOpen())
        port_->close();
    configurePort();
    return port_->open(QIODevice::ReadWrite);
}

void AtChannel::onPortError(int error)
{
    // A device that vanishes (USB adapter pulled, simulator gone) keeps
    // signalling; close the port so nothing spins. The next command or trace
    // reopen tries again.
    if (error == QSerialPort::ResourceError && port_->isOpen())
        port_->close();
}

void AtChannel::MSComm1_OnComm()
{
    if (trace_.active()) {
        trace_.deliver(); // the monitor takes the characters itself
        return;
    }
    const QByteArray bytes = port_->readAll();
    for (char c : bytes)
        reply_.append(QChar::fromLatin1(c));
    if (reply_.size() > kReplyCap)
        reply_.remove(0, reply_.size() - kReplyCap);
}

QString AtChannel::cutAnswerBody(const QString& reply)
{
    const qsizetype p1 = reply.indexOf(u'\r') + 1; // 1-based, 0 = none
    const qsizetype p2 = reply.indexOf(QLatin1String("OK\r")) + 1;
    const qsizetype length = p2 - p1 - 3;
    if (p2 == 0 || length < 0)
        return {};
    return reply.mid(p1 + 2, length); // 1-based start p1 + 3
}

// The part of reply_ that answers `cmd`: from its echo on. What came
// before the echo is a late answer to an earlier command (or trace lines left
// on the line) and does not count. After "ATE0" (trace mode) nothing is
// echoed until "ATE1" has been answered, so then the buffer counts from its
// start when no echo is there.
QString AtChannel::answerTo(const QString& cmd) const
{
    const qsizetype echo = reply_.indexOf(cmd + u'\r');
    if (echo >= 0)
        return reply_.mid(echo);
    return echoOff_ ? reply_ : QString();
}

void AtChannel::waitForAnswer(const QString& cmd, qint64& elapsedMs)
{
    // The clock never jumps: midnight or a clock change do not matter.
    const qint64 start = clock_->steadyMs();
    // Keeps the dispatcher waking while nothing else happens.
    const std::unique_ptr<ClockTimer> wake = clock_->createTimer([] {}, false);
    wake->start(kWakeMs);
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        elapsedMs = clock_->steadyMs() - start;
        if (answerTo(cmd).contains(QLatin1String("OK\r")) || elapsedMs > kAnswerLimitMs || deviceAbsent_)
            return;
    }
}

void AtChannel::pauseAfterCommand() const
{
    // Slow devices need a pause before the next command. It blocks the window
    // on purpose (no events run), but sleeps instead of spinning the CPU. It is
    // real time, whatever the clock: the device needs it.
    QElapsedTimer pause;
    pause.start();
    const double limitMs = std::clamp(static_cast<double>(line_.pause) * 1000.0, 0.0, kLongestPauseMs);
    while (static_cast<double>(pause.nsecsElapsed()) / 1e6 <= limitMs) {
        const double leftMs = limitMs - static_cast<double>(pause.nsecsElapsed()) / 1e6;
        QThread::usleep(static_cast<unsigned long>(std::max(leftMs, 0.0) * 1000.0) + 1);
    }
}

QString AtChannel::SendAT(const QString& cmd)
{
    lastOutcome_ = AtOutcome::NotSent;
    if (deviceAbsent_)
        return {};
    reply_.clear();
    emit lampChanged(busyColour_);
    configurePort();

    reply_.clear();
    // Open failures (busy or wrong port) are not reported here: the command
    // simply gets no answer. An already open port (trace mode) is written to.
    if (!port_->isOpen())
        port_->open(QIODevice::ReadWrite);
    if (port_->isOpen())
        port_->write(cmd.toLatin1() + '\r');
    emit commandSent(cmd);

    qint64 elapsedMs = 0;
    waitForAnswer(cmd, elapsedMs);
    if (port_->isOpen())
        port_->close();
    const QString answer = answerTo(cmd);
    if (cmd == QLatin1String("ATE0"))
        echoOff_ = true;
    else if (cmd == QLatin1String("ATE1"))
        echoOff_ = false;

    const bool failed = answer.contains(QLatin1String("ERROR\r\n")) || elapsedMs > kFailLimitMs || deviceAbsent_;
    lastOutcome_ = failed                                   ? AtOutcome::Refused
                   : answer.contains(QLatin1String("OK\r")) ? AtOutcome::Answered
                                                            : AtOutcome::Unanswered;
    if (failed) {
        if (cmd != QLatin1String("ATE1"))
            emit commandFailed(cmd);
        emit lampChanged(kIdleColour);
        return QStringLiteral("Error");
    }
    emit lampChanged(kIdleColour);
    pauseAfterCommand();
    if (cmd == QLatin1String("ATE1"))
        return QStringLiteral("OK");
    const QString body = cutAnswerBody(answer);
    if (cmd == QLatin1String("ATCD9"))
        return QStringLiteral("MONITOR");
    return body;
}
