#pragma once
// The line to the adapter: a local serial port, or "tcp://HOST:PORT" for an
// adapter on another machine behind ser2net (raw TCP). Both look alike to the
// command channel and the monitor: the same calls as QSerialPort's, and a
// lost TCP connection reports ResourceError as an unplugged serial port does,
// so the reconnect logic treats both alike. Line settings apply to a local
// port only; behind ser2net its own configuration sets them.
//
// A local port is really opened and closed. Behind ser2net, open and close
// only take up and put down one TCP connection that lasts: ser2net drops what
// is in flight on a connection that ends while the next one arrives, so a
// command sequence that connected per command lost commands. The connection
// ends gracefully (all that was written reaches ser2net first) when the link
// has been closed for kIdleMs, when the port name changes and when the link
// is destroyed; one that was lost meanwhile is made again at the next open.
#include <QByteArray>
#include <QIODevice>
#include <QObject>
#include <QSerialPort>
#include <QString>

class QTcpSocket;
class QTimer;

class PortLink : public QObject {
    Q_OBJECT
public:
    // open() waits this long for ser2net, as a serial open blocks: ample on a
    // LAN, short enough that retrying an adapter host that is down every few
    // seconds leaves the program usable.
    static constexpr int kConnectTimeoutMs = 1000;
    // A connection closed this long ends: commands of one sequence (start-up,
    // a reading, the monitor's opening and closing) follow each other within
    // a few milliseconds, and another program may have the adapter after it.
    static constexpr int kIdleMs = 2000;
    // Ending a connection waits at most this long for ser2net to take what was
    // written and to end its side.
    static constexpr int kEndTimeoutMs = 500;

    explicit PortLink(QObject* parent = nullptr);
    ~PortLink() override;

    // True for "tcp://HOST:PORT".
    static bool isNetworkAddress(const QString& name);

    void setPortName(const QString& name); // a device path or tcp://HOST:PORT

    bool setBaudRate(qint32 rate);
    bool setDataBits(QSerialPort::DataBits bits);
    bool setParity(QSerialPort::Parity parity);
    bool setStopBits(QSerialPort::StopBits bits);
    bool setFlowControl(QSerialPort::FlowControl flow);

    bool open(QIODevice::OpenMode mode);
    void close();
    bool isOpen() const;
    // Behind ser2net: a connection is up, open or kept while closed.
    bool isConnected() const;

    // A local port is not read for `ms` after a read: what arrives meanwhile
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
    bool openNetwork(QIODevice::OpenMode mode);
    void startEnding();
    void endConnection();
    void endReadRest();
    void onSerialReadyRead();
    void onSocketReadyRead();
    void setError(QSerialPort::SerialPortError error, const QString& text);
    void onSocketError();

    QSerialPort* serial_;
    QTcpSocket* socket_;
    QTimer* readRest_; // runs while a local port is not read
    QTimer* idle_;     // runs while a connection is kept closed
    QTimer* ending_;   // runs while an ending connection waits for ser2net to close it
    QString name_;
    QString host_;
    quint16 tcpPort_ = 0;
    bool network_ = false;
    bool tcpOpen_ = false;
    QSerialPort::SerialPortError tcpError_ = QSerialPort::NoError;
    QString tcpErrorText_;
};
