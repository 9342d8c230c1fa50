#include "device/at_channel.h"
#include "common/settings_keys.h"

#include "common/settings_store.h"
#include "device/port_link.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSerialPort>
#include <QThread>
#include <QTimer>

#include <algorithm>

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

AtChannel::AtChannel(QObject* parent) : QObject(parent), port_(new PortLink(this))
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
    return QStringLiteral("COM%1").arg(CommPort);
#else
    return SettingsStore::user().portPath(CommPort);
#endif
}

void AtChannel::SetPort(int port)
{
    CommPort = port;
    SettingsStore::user().write(key::CommPort, QString::number(port));
}

void AtChannel::configurePort()
{
    // Changing the device under an open port fails, as it would on the
    // serial control; the open port keeps its device.
    if (!port_->isOpen())
        port_->setPortName(portPath());
    bool ok = false;
    const int rate = Speed.toInt(&ok);
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
    if (ScanState) {
        if (scanHandler)
            scanHandler(); // the monitor takes the characters itself
        return;
    }
    const QByteArray bytes = port_->readAll();
    for (char c : bytes)
        ReplyBuffer.append(QChar::fromLatin1(c));
    if (ReplyBuffer.size() > kReplyCap)
        ReplyBuffer.remove(0, ReplyBuffer.size() - kReplyCap);
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

// The part of ReplyBuffer that answers `cmd`: from its echo on. What came
// before the echo is a late answer to an earlier command (or trace lines left
// on the line) and does not count. After "ATE0" (trace mode) nothing is
// echoed until "ATE1" has been answered, so then the buffer counts from its
// start when no echo is there.
QString AtChannel::answerTo(const QString& cmd) const
{
    const qsizetype echo = ReplyBuffer.indexOf(cmd + u'\r');
    if (echo >= 0)
        return ReplyBuffer.mid(echo);
    return echoOff_ ? ReplyBuffer : QString();
}

void AtChannel::waitForAnswer(const QString& cmd, qint64& elapsedMs)
{
    QElapsedTimer clock; // monotonic: midnight or a clock change do not matter
    clock.start();
    // Keeps the dispatcher waking while nothing else happens.
    QTimer wake;
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(kWakeMs);
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        elapsedMs = clock.elapsed();
        if (answerTo(cmd).contains(QLatin1String("OK\r")) || elapsedMs > kAnswerLimitMs || (latchIsSet && latchIsSet()))
            return;
    }
}

void AtChannel::pauseAfterCommand() const
{
    // Slow devices need a pause before the next command. It blocks the window
    // on purpose (no events run), but sleeps instead of spinning the CPU.
    QElapsedTimer pause;
    pause.start();
    const double limitMs = std::clamp(static_cast<double>(CommDelay) * 1000.0, 0.0, kLongestPauseMs);
    while (static_cast<double>(pause.nsecsElapsed()) / 1e6 <= limitMs) {
        const double leftMs = limitMs - static_cast<double>(pause.nsecsElapsed()) / 1e6;
        QThread::usleep(static_cast<unsigned long>(std::max(leftMs, 0.0) * 1000.0) + 1);
    }
}

QString AtChannel::SendAT(const QString& cmd)
{
    lastOutcome_ = AtOutcome::NotSent;
    if (latchIsSet && latchIsSet())
        return {};
    ReplyBuffer.clear();
    if (setLed)
        setLed(BusyColour);
    configurePort();

    ReplyBuffer.clear();
    // Open failures (busy or wrong port) are not reported here: the command
    // simply gets no answer. An already open port (trace mode) is written to.
    if (!port_->isOpen())
        port_->open(QIODevice::ReadWrite);
    if (port_->isOpen())
        port_->write(cmd.toLatin1() + '\r');
    if (commandSent)
        commandSent(cmd);

    qint64 elapsedMs = 0;
    waitForAnswer(cmd, elapsedMs);
    if (port_->isOpen())
        port_->close();
    const QString answer = answerTo(cmd);
    if (cmd == QLatin1String("ATE0"))
        echoOff_ = true;
    else if (cmd == QLatin1String("ATE1"))
        echoOff_ = false;

    const bool failed = answer.contains(QLatin1String("ERROR\r\n")) || elapsedMs > kFailLimitMs
                        || (latchIsSet && latchIsSet());
    lastOutcome_ = failed                                   ? AtOutcome::Refused
                   : answer.contains(QLatin1String("OK\r")) ? AtOutcome::Answered
                                                            : AtOutcome::Unanswered;
    if (failed) {
        if (cmd != QLatin1String("ATE1") && beep)
            beep();
        if (setLed)
            setLed(kIdleColour);
        return QStringLiteral("Error");
    }
    if (setLed)
        setLed(kIdleColour);
    pauseAfterCommand();
    if (cmd == QLatin1String("ATE1"))
        return QStringLiteral("OK");
    const QString body = cutAnswerBody(answer);
    if (cmd == QLatin1String("ATCD9"))
        return QStringLiteral("MONITOR");
    return body;
}
