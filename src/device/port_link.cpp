#include "device/port_link.h"

#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <algorithm>

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

namespace {

constexpr char kScheme[] = "tcp";

// While a local port rests, QSerialPort may hold this much: once it holds it,
// it reads no more and the rest waits in the driver.
constexpr qint64 kRestingBuffer = 1;

// Ends the sending side only: the far end reads every byte sent and then the
// end of the stream, while we can still read what it sends until it closes.
void endSending(qintptr descriptor)
{
#ifdef Q_OS_WIN
    ::shutdown(static_cast<SOCKET>(descriptor), SD_SEND);
#else
    ::shutdown(static_cast<int>(descriptor), SHUT_WR);
#endif
}

} // namespace

PortLink::PortLink(QObject* parent)
    : QObject(parent), serial_(new QSerialPort(this)), socket_(new QTcpSocket(this)), readRest_(new QTimer(this)),
      idle_(new QTimer(this)), ending_(new QTimer(this))
{
    // Real time, not the monitor's clock: these are about the operating system's line.
    for (QTimer* t : {readRest_, idle_, ending_})
        t->setSingleShot(true);
    connect(readRest_, &QTimer::timeout, this, &PortLink::endReadRest);
    connect(idle_, &QTimer::timeout, this, &PortLink::startEnding);
    connect(ending_, &QTimer::timeout, socket_, &QTcpSocket::abort);
    connect(socket_, &QTcpSocket::disconnected, ending_, &QTimer::stop);
    connect(serial_, &QSerialPort::readyRead, this, &PortLink::onSerialReadyRead);
    connect(serial_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (!network_ && e != QSerialPort::TimeoutError) // a look at the line that found nothing
            emit errorOccurred(e);
    });
    connect(socket_, &QTcpSocket::readyRead, this, &PortLink::onSocketReadyRead);
    connect(socket_, &QTcpSocket::errorOccurred, this, &PortLink::onSocketError);
}

PortLink::~PortLink()
{
    disconnect(socket_, nullptr, this, nullptr);
    disconnect(serial_, nullptr, this, nullptr);
    tcpOpen_ = false;
    endConnection();
}

bool PortLink::isNetworkAddress(const QString& name)
{
    return name.startsWith(QLatin1String(kScheme) + QLatin1String("://"), Qt::CaseInsensitive);
}

void PortLink::setPortName(const QString& name)
{
    if (name != name_ && !tcpOpen_)
        endConnection(); // a kept connection belongs to the old name
    name_ = name;
    network_ = isNetworkAddress(name);
    if (!network_) {
        serial_->setPortName(name);
        return;
    }
    const QUrl url(name.trimmed());
    host_ = url.host();
    const int port = url.port();
    tcpPort_ = port > 0 && port <= 65535 ? static_cast<quint16>(port) : 0;
}

bool PortLink::setBaudRate(qint32 rate)
{
    return serial_->setBaudRate(rate);
}

bool PortLink::setDataBits(QSerialPort::DataBits bits)
{
    return serial_->setDataBits(bits);
}

bool PortLink::setParity(QSerialPort::Parity parity)
{
    return serial_->setParity(parity);
}

bool PortLink::setStopBits(QSerialPort::StopBits bits)
{
    return serial_->setStopBits(bits);
}

bool PortLink::setFlowControl(QSerialPort::FlowControl flow)
{
    return serial_->setFlowControl(flow);
}

QIODevice* PortLink::device() const
{
    return network_ ? static_cast<QIODevice*>(socket_) : serial_;
}

bool PortLink::open(QIODevice::OpenMode mode)
{
    return network_ ? openNetwork(mode) : serial_->open(mode);
}

bool PortLink::openNetwork(QIODevice::OpenMode mode)
{
    if (tcpOpen_) {
        setError(QSerialPort::OpenError, QStringLiteral("Already open"));
        return false;
    }
    clearError();
    idle_->stop();
    if (ending_->isActive())
        endConnection(); // ending: a new one follows the old one's end
    if (socket_->state() == QAbstractSocket::ConnectedState) {
        socket_->readAll(); // arrived while closed: nobody was listening
        tcpOpen_ = true;
        return true;
    }
    socket_->abort(); // lost while closed
    if (host_.isEmpty() || tcpPort_ == 0) {
        setError(QSerialPort::DeviceNotFoundError, QStringLiteral("Not a tcp://HOST:PORT address: %1").arg(name_));
        return false;
    }
    socket_->connectToHost(host_, tcpPort_, mode);
    if (!socket_->waitForConnected(kConnectTimeoutMs)) {
        // Nobody listening, or no such host: the device is not there.
        const QString why = socket_->errorString();
        socket_->abort();
        setError(QSerialPort::DeviceNotFoundError, why);
        return false;
    }
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);  // commands are a few bytes
    socket_->setSocketOption(QAbstractSocket::KeepAliveOption, 1); // notices a vanished host
    tcpOpen_ = true;
    return true;
}

void PortLink::close()
{
    readRest_->stop();
    serial_->setReadBufferSize(0);
    if (!network_) {
        serial_->close();
        return;
    }
    tcpOpen_ = false;
    if (socket_->state() == QAbstractSocket::ConnectedState)
        idle_->start(kIdleMs);
    else
        socket_->abort();
}

// What was written goes out, then our end of the stream: ser2net reads every
// byte up to it and closes its side. Closing the socket at once would reset
// the connection and make ser2net drop what it has not read yet, and so would
// closing it with bytes from ser2net unread, so what comes is read until then.
void PortLink::startEnding()
{
    idle_->stop();
    if (socket_->state() != QAbstractSocket::ConnectedState || ending_->isActive())
        return;
    ending_->start(kEndTimeoutMs);
    while (socket_->bytesToWrite() > 0 && socket_->waitForBytesWritten(std::max(ending_->remainingTime(), 0))) {}
    endSending(socket_->socketDescriptor());
}

// The same, waiting for ser2net here, for when the link cannot wait in the event loop.
void PortLink::endConnection()
{
    startEnding();
    while (socket_->state() == QAbstractSocket::ConnectedState && ending_->remainingTime() > 0) {
        socket_->waitForReadyRead(ending_->remainingTime());
        socket_->readAll();
    }
    ending_->stop();
    socket_->abort();
}

bool PortLink::isOpen() const
{
    // A lost connection stays "open" until closed, like a serial port whose
    // device went away.
    return network_ ? tcpOpen_ : serial_->isOpen();
}

bool PortLink::isConnected() const
{
    return socket_->state() == QAbstractSocket::ConnectedState;
}

// QSerialPort reads no more from the driver once its read buffer is full (its
// documented read buffer size); the rest lets it fill a buffer of one byte
// and holds back readyRead, then lifts the limit and takes in everything.
void PortLink::restReading(int ms)
{
    if (network_ || !serial_->isOpen() || readRest_->isActive())
        return;
    serial_->setReadBufferSize(kRestingBuffer);
    readRest_->start(ms);
}

void PortLink::endReadRest()
{
    serial_->setReadBufferSize(0);
    if (!serial_->isOpen())
        return;
    // What waits in the driver comes in now, with the byte held: one readyRead.
    if (serial_->waitForReadyRead(0))
        return;
    if (serial_->error() == QSerialPort::TimeoutError)
        serial_->clearError(); // the look found the driver empty
    if (serial_->bytesAvailable() > 0)
        emit readyRead();
}

void PortLink::onSerialReadyRead()
{
    if (!readRest_->isActive())
        emit readyRead();
}

void PortLink::onSocketReadyRead()
{
    if (tcpOpen_)
        emit readyRead();
    else
        socket_->readAll(); // a closed port hears nothing; nor does memory grow
}

qint64 PortLink::write(const QByteArray& data)
{
    if (network_ && (!tcpOpen_ || socket_->state() != QAbstractSocket::ConnectedState))
        return -1;
    return device()->write(data);
}

QByteArray PortLink::readAll()
{
    return device()->readAll();
}

qint64 PortLink::bytesAvailable() const
{
    return device()->bytesAvailable();
}

bool PortLink::waitForReadyRead(int msecs)
{
    if (network_ && socket_->state() != QAbstractSocket::ConnectedState)
        return false;
    return device()->waitForReadyRead(msecs);
}

bool PortLink::waitForBytesWritten(int msecs)
{
    if (network_ && socket_->state() != QAbstractSocket::ConnectedState)
        return false;
    return device()->waitForBytesWritten(msecs);
}

QSerialPort::SerialPortError PortLink::error() const
{
    return network_ ? tcpError_ : serial_->error();
}

QString PortLink::errorString() const
{
    return network_ ? tcpErrorText_ : serial_->errorString();
}

void PortLink::clearError()
{
    serial_->clearError();
    tcpError_ = QSerialPort::NoError;
    tcpErrorText_.clear();
}

void PortLink::setError(QSerialPort::SerialPortError error, const QString& text)
{
    tcpError_ = error;
    tcpErrorText_ = text;
    emit errorOccurred(error);
}

void PortLink::onSocketError()
{
    // Failures while connecting are open()'s to report; once connected, any
    // socket error means the adapter is gone, as an unplugged serial port. A
    // kept connection lost while closed is made again at the next open.
    if (!network_ || !tcpOpen_ || tcpError_ == QSerialPort::ResourceError)
        return;
    setError(QSerialPort::ResourceError, socket_->errorString());
}
