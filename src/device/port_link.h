#pragma once
// The line to the adapter: a local serial port, or "tcp://HOST:PORT" for an
// adapter on another machine behind ser2net (raw TCP). Both look alike to the
// command channel and the monitor: the same calls as QSerialPort's, and a
// lost TCP connection reports ResourceError as an unplugged serial port does,
// so the reconnect logic treats both alike. Line settings apply to a local
// port only; behind ser2net its own configuration sets them.
#include <QByteArray>
#include <QIODevice>
#include <QObject>
#include <QPointer>
#include <QSerialPort>
#include <QString>

class QSocketNotifier;
class QTcpSocket;
class QTimer;

class PortLink : public QObject {
    Q_OBJECT
public:
    // open() waits this long for ser2net, as a serial open blocks: ample on a
    // LAN, short enough that retrying an adapter host that is down every few
    // seconds leaves the program usable.
    static constexpr int kConnectTimeoutMs = 1000;

    explicit PortLink(QObject* parent = nullptr);
    ~PortLink() override;

    // True for "tcp://HOST:PORT".
    static bool isNetworkAddress(const QString& name);

    void setPortName(const QString& name); // a device path or tcp://HOST:PORT
    QString portName() const;
    bool isNetwork() const;

    bool setBaudRate(qint32 rate);
    bool setDataBits(QSerialPort::DataBits bits);
    bool setParity(QSerialPort::Parity parity);
    bool setStopBits(QSerialPort::StopBits bits);
    bool setFlowControl(QSerialPort::FlowControl flow);

    bool open(QIODevice::OpenMode mode);
    void close();
    bool isOpen() const;

    // A local port is not watched for `ms` after a read: what arrives meanwhile
    // waits in the driver and comes in one read. At the full line rate a port
    // would otherwise wake the program for every few bytes. Behind ser2net
    // the network already delivers in packets.
    void restReading(int ms);

    qint64 write(const QByteArray& data);
    QByteArray readAll();
    qint64 bytesAvailable() const;
    bool waitForReadyRead(int msecs);
    bool waitForBytesWritten(int msecs);

    QSerialPort::SerialPortError error() const;
    QString errorString() const;
    void clearError();

signals:
    void readyRead();
    void errorOccurred(QSerialPort::SerialPortError error);

private:
    QIODevice* device() const;
    QSocketNotifier* serialReadNotifier() const;
    void endReadRest();
    void setError(QSerialPort::SerialPortError error, const QString& text);
    void onSocketError();

    QSerialPort* serial_;
    QTcpSocket* socket_;
    QTimer* readRest_;
    QPointer<QSocketNotifier> resting_; // disabled until readRest_ runs out
    QString name_;
    QString host_;
    quint16 tcpPort_ = 0;
    bool network_ = false;
    bool tcpOpen_ = false;
    QSerialPort::SerialPortError tcpError_ = QSerialPort::NoError;
    QString tcpErrorText_;
};
