#pragma once
// HTTP(S) on libmicrohttpd, run in the Qt event loop: the library parses
// requests and writes responses; this class accepts the connections (at most
// kMaxClients, the next one closed at once, as the monitor's other servers
// do), drives the library from one socket notifier and a timer, so every
// handler runs on the program's own thread, and lets a handler answer later
// (the request waits, suspended) or stream an answer (the push channel).
#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPair>
#include <functional>
#include <map>
#include <memory>

class QSocketNotifier;
class QTcpServer;
class QTimer;
struct MHD_Daemon;

struct HttpRequest {
    quint64 id = 0; // for respond() and startStream()
    QByteArray method;
    QByteArray path;                       // decoded, without the query
    QHash<QString, QString> query;         // decoded; the last of repeated names
    QHash<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;
    bool bodyTooLarge = false; // more than the path's limit arrived (and was dropped)
    QHostAddress peer;

    QByteArray header(const char* lowerName) const { return headers.value(QByteArray(lowerName)); }
};

struct HttpResponse {
    int status = 200;
    QByteArray contentType;
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;

    void addHeader(const QByteArray& name, const QByteArray& value) { headers.append(qMakePair(name, value)); }
};

class HttpServer : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxClients = 256;
    // A client that neither sends nor reads this long is closed.
    static constexpr unsigned kIdleSeconds = 30;
    // What a streaming client may leave unread before it is dropped.
    static constexpr qsizetype kMaxStreamBacklog = 256 * 1024;

    explicit HttpServer(QObject* parent = nullptr);
    ~HttpServer() override;

    // PEM texts of the certificate (chain) and its key; empty for plain HTTP.
    bool listen(
        const QHostAddress& address, quint16 port, const QByteArray& certPem = {}, const QByteArray& keyPem = {});
    QString errorString() const { return error_; }
    quint16 serverPort() const;
    bool tls() const { return tls_; }
    int clients() const { return clients_; }

    // Each complete request, once; answer it with respond() or startStream(),
    // now or later. `bodyLimit` says how many body bytes a path may have.
    std::function<void(const HttpRequest& request)> onRequest;
    std::function<qint64(const QByteArray& method, const QByteArray& path)> bodyLimit;

    // A request's answer; nothing happens when that client has gone.
    void respond(quint64 id, const HttpResponse& response);
    // The answer's head, its body then sent piece by piece with push().
    void startStream(quint64 id, const HttpResponse& head);
    // False when the stream is gone (closed, or its client too slow: dropped).
    bool push(quint64 id, const QByteArray& bytes);
    // Every stream open now.
    QList<quint64> streams() const;

    // Closes every connection (each waiting request gets 503) and the listener.
    void stop();

signals:
    void logMessage(const QString& text);
    // A stream's connection was closed (by its client, a drop or stop()); said
    // inside the library's run, so a receiver connects queued.
    void streamEnded(quint64 id);

public:
    // One request from its first header to its completion (http_server.cpp).
    struct Exchange;
    struct Stream;

private:
    void run();
    void scheduleRun();
    void resume(Exchange& exchange);

    QTcpServer* listener_ = nullptr;
    MHD_Daemon* daemon_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
    QTimer* timer_ = nullptr;
    QByteArray certPem_, keyPem_; // the library reads them as long as it runs
    bool tls_ = false;
    bool running_ = false; // inside the library's run: never entered twice
    bool runSoon_ = false; // a connection was resumed: the library runs again at once
    bool refusing_ = false;
    int clients_ = 0;
    quint64 nextId_ = 1;
    std::map<quint64, Exchange*> exchanges_;
    QString error_;

    friend struct HttpCallbacks;
};
