#pragma once
// One NCID client of the server: its start-up (banner, the chance to send
// HELLO: lines, the call log, "300"), then the live lines. Everything it holds
// is bounded: a line it sends, the lines waiting for its start-up to end and
// the bytes it has not yet read. A client that stops reading is dropped,
// never waited for; one that sits idle, reading whatever comes, stays for as
// long as it likes.
#include "monitor/outputs/tcp_listening.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <memory>

class Clock;
class ClockTimer;
class QTcpSocket;
class TcpClient;

// What a client gets between "210" and "300": the log lines and the 25x line
// that closes them (or says why there are none). The server's formatted log is
// shared by every client, never copied per client; it only grows while they
// read it, and each client sends the lines there were when it connected.
struct NcidStartupLog {
    std::shared_ptr<const QList<QByteArray>> lines;
    qsizetype count = 0;
    QByteArray status;
};

class NcidClient : public QObject {
    Q_OBJECT
public:
    // Output that has waited this long without moving marks a client that
    // does not read (or a host that is gone): it is dropped.
    static constexpr int kStallMs = tcp_listening::kStallMs;
    // A client's MSG: lines are passed on at this rate at most, after a burst.
    static constexpr int kMessageIntervalMs = 1000;
    static constexpr int kMessageBurst = 5;

    // Takes the socket over and sends the banner at once; the call log
    // follows when the HELLO: window has passed.
    NcidClient(QTcpSocket* socket, Clock& clock, NcidStartupLog log, QObject* parent = nullptr);
    ~NcidClient() override;

    // A call line or server warning (no line end): sent at once, or after
    // "300" while the client is still starting up.
    void send(const QByteArray& line);
    // Another client's message: as send(), but it never costs this client its
    // connection. Messages beyond what a starting client may hold, or beyond
    // half of what a live client may leave unread, are left out for it.
    void relay(const QByteArray& line);
    QString peer() const;
    // Hands what is waiting to the system, then closes.
    void close();

signals:
    void message(const QByteArray& line); // a client's MSG: line, to pass on
    void logMessage(const QString& text);
    void closed(NcidClient* client);

private:
    enum class Stage { Hello, Log, Live, Closed };
    void write(const QByteArray& line);
    void readInput();
    void handleLine(QByteArray line);
    bool mayPassOnMessage();
    void endHelloWindow();
    void feedLog();
    void dropped();

    Clock& clock_;
    TcpClient* tcp_;
    std::unique_ptr<ClockTimer> helloTimer_;
    NcidStartupLog log_;
    qsizetype logSent_ = 0;
    QList<QByteArray> waiting_; // live lines held until "300"
    qsizetype waitingMessages_ = 0;
    QByteArray input_;
    bool skippingLongLine_ = false;
    bool warnedLongLine_ = false;
    bool warnedMessages_ = false;
    bool noLog_ = false;
    qint64 messageCreditMs_ = qint64(kMessageBurst) * kMessageIntervalMs;
    qint64 messageCreditAt_ = 0; // when the credit was last topped up, ms since the epoch
    QString ident_;
    Stage stage_ = Stage::Hello;
};
