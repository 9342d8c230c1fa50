#pragma once
// One client of the monitor's TCP servers (NCID, port-1012 call monitor):
// its socket as tcp_listening::prepareClient sets it up, its output bounded
// by kMaxUnread, and a stall timer. A client that leaves too much unread, or
// whose output does not move for kStallMs, is dropped, never waited for.
#include <QObject>
#include <QString>
#include <memory>

class Clock;
class ClockTimer;
class QTcpSocket;

class TcpClient : public QObject {
    Q_OBJECT
public:
    // Buffered: lines go out as the system takes them; OnePerWrite: each
    // line is handed to the system at once (some clients take each read for a line).
    enum class Lines { Buffered, OnePerWrite };

    // Takes the socket over; `name` begins its log lines ("NCID client").
    TcpClient(QTcpSocket* socket, Clock& clock, const QString& name, Lines lines, QObject* parent = nullptr);
    ~TcpClient() override;

    // Sends the line and its CR LF; drops the client when that would leave
    // more than kMaxUnread unread. False once the client is dropped.
    bool send(const QByteArray& line);
    qint64 unread() const;
    bool isDropped() const { return dropped_; }
    QTcpSocket& socket() { return *socket_; }
    QString peer() const;

    // Says why in the log, aborts the connection and emits dropped() (once).
    void drop(const QString& why);
    // Hands what is waiting to the system, then drops with "closed".
    void close();

signals:
    void written(); // output moved on
    void dropped();
    void logMessage(const QString& text);

private:
    void moved();

    QTcpSocket* socket_;
    std::unique_ptr<ClockTimer> stall_;
    QString name_;
    Lines lines_;
    bool dropped_ = false;
};
