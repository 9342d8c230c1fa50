#pragma once
// One NCID client of the server: its start-up (banner, the chance to send
// HELLO: lines, the call log, "300"), then the live lines. Everything it holds
// is bounded: a line it sends, the lines waiting for its start-up to end and
// the bytes it has not yet read. A client that stops reading is dropped,
// never waited for.
#include <QByteArray>
#include <QList>
#include <QObject>
#include <memory>

class Clock;
class ClockTimer;
class QTcpSocket;

// What a client gets between "210" and "300": the log lines and the 25x line
// that closes them (or says why there are none).
struct NcidStartupLog {
    QList<QByteArray> lines;
    QByteArray status;
};

class NcidClient : public QObject {
    Q_OBJECT
public:
    // Takes the socket over and sends the banner at once; the call log
    // follows when the HELLO: window has passed.
    NcidClient(QTcpSocket* socket, Clock& clock, NcidStartupLog log, QObject* parent = nullptr);
    ~NcidClient() override;

    // A live line (no line end): sent at once, or after "300" while the
    // client is still starting up.
    void send(const QByteArray& line);
    QString peer() const;
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
    void endHelloWindow();
    void feedLog();
    void drop(const QString& why);

    QTcpSocket* socket_;
    std::unique_ptr<ClockTimer> helloTimer_;
    NcidStartupLog log_;
    qsizetype logSent_ = 0;
    QList<QByteArray> waiting_; // live lines held until "300"
    QByteArray input_;
    bool skippingLongLine_ = false;
    bool warnedLongLine_ = false;
    bool noLog_ = false;
    QString ident_;
    Stage stage_ = Stage::Hello;
};
