#include "monitor/web/http_server.h"

#include <QSocketNotifier>
#include <QTcpServer>
#include <QTimer>
#include <microhttpd.h>
#include <optional>
#include <sys/socket.h>
#include <unistd.h>

// One request as the library hands it over in pieces: headers, body, then
// the call that completes it.
struct HttpServer::Exchange {
    quint64 id = 0;
    MHD_Connection* connection = nullptr;
    HttpRequest request;
    qint64 limit = 0;
    bool handed = false;    // given to onRequest
    bool suspended = false; // waits for respond() or push()
    bool queued = false;    // its response is with the library
    std::optional<HttpResponse> answer;
    // The push channel: the head, then pieces as they come.
    bool streaming = false;
    HttpResponse head;
    QByteArray pending; // not yet taken by the library
    bool ended = false; // stop(), or the client was too slow
};

namespace {

// The system's send buffer of each client, fixed as for the monitor's other
// servers: left to grow, a client that does not read would hide megabytes.
constexpr int kSystemSendBuffer = 64 * 1024;
constexpr size_t kStreamBlock = 4096;

// Takes accepted sockets before QTcpServer wraps them.
class Listener : public QTcpServer {
public:
    std::function<void(qintptr fd)> take;

protected:
    void incomingConnection(qintptr fd) override { take(fd); }
};

MHD_Response* responseOf(const HttpResponse& r)
{
    MHD_Response* response = MHD_create_response_from_buffer(
        size_t(r.body.size()), const_cast<char*>(r.body.constData()), MHD_RESPMEM_MUST_COPY);
    if (!r.contentType.isEmpty())
        MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, r.contentType.constData());
    for (const auto& [name, value] : r.headers)
        MHD_add_response_header(response, name.constData(), value.constData());
    return response;
}

int hexDigit(char c)
{
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                  : -1;
}

// The paths' and query values' %HH, decoded in place as the library would,
// but for %00, which stays as it is: the library's string would end at a NUL,
// so "/api/v1/book/KEY%00/picture" would reach "/api/v1/book/KEY".
size_t unescape(void*, MHD_Connection*, char* s)
{
    char* out = s;
    for (const char* in = s; *in;) {
        const int high = in[0] == '%' ? hexDigit(in[1]) : -1, low = high >= 0 ? hexDigit(in[2]) : -1;
        if (low >= 0 && (high | low) != 0) {
            *out++ = char(high * 16 + low);
            in += 3;
        } else {
            *out++ = *in++;
        }
    }
    *out = 0;
    return size_t(out - s);
}

} // namespace

// The library's callbacks, with access to the server's insides.
struct HttpCallbacks {
    static MHD_Result onHeader(void* cls, MHD_ValueKind kind, const char* key, const char* value)
    {
        auto* request = static_cast<HttpRequest*>(cls);
        if (kind == MHD_HEADER_KIND)
            request->headers.insert(QByteArray(key).toLower(), QByteArray(value ? value : ""));
        else if (kind == MHD_GET_ARGUMENT_KIND)
            request->query.insert(QString::fromUtf8(key), QString::fromUtf8(value ? value : ""));
        return MHD_YES;
    }

    static MHD_Result onAccess(void* cls, MHD_Connection* connection, const char* url, const char* method, const char*,
        const char* data, size_t* size, void** context)
    {
        auto* server = static_cast<HttpServer*>(cls);
        auto* ex = static_cast<HttpServer::Exchange*>(*context);
        if (!ex)
            return begin(*server, connection, url, method, context);
        if (*size > 0) { // a piece of the body
            if (ex->request.body.size() + qint64(*size) <= ex->limit)
                ex->request.body.append(data, qsizetype(*size));
            else
                ex->request.bodyTooLarge = true, ex->request.body.clear();
            *size = 0;
            return MHD_YES;
        }
        if (!ex->handed) {
            ex->handed = true;
            if (server->onRequest)
                server->onRequest(ex->request); // may answer at once
        }
        if (ex->queued)
            return MHD_YES;
        if (ex->answer)
            return queue(*ex, responseOf(*ex->answer), ex->answer->status);
        if (ex->streaming) {
            MHD_Response* r = MHD_create_response_from_callback(MHD_SIZE_UNKNOWN, kStreamBlock, read, ex, nullptr);
            for (const auto& [name, value] : ex->head.headers)
                MHD_add_response_header(r, name.constData(), value.constData());
            MHD_add_response_header(r, MHD_HTTP_HEADER_CONTENT_TYPE, ex->head.contentType.constData());
            return queue(*ex, r, ex->head.status);
        }
        ex->suspended = true;
        MHD_suspend_connection(connection);
        return MHD_YES;
    }

    static MHD_Result begin(
        HttpServer& server, MHD_Connection* connection, const char* url, const char* method, void** context)
    {
        auto* ex = new HttpServer::Exchange;
        ex->id = server.nextId_++;
        ex->connection = connection;
        ex->request.id = ex->id;
        ex->request.method = method;
        ex->request.path = url;
        MHD_get_connection_values(connection, MHD_HEADER_KIND, onHeader, &ex->request);
        MHD_get_connection_values(connection, MHD_GET_ARGUMENT_KIND, onHeader, &ex->request);
        if (const MHD_ConnectionInfo* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS))
            ex->request.peer = QHostAddress(info->client_addr);
        ex->limit = server.bodyLimit ? server.bodyLimit(ex->request.method, ex->request.path) : 0;
        *context = ex;
        server.exchanges_[ex->id] = ex;
        bool ok = false;
        const qint64 announced = ex->request.header("content-length").toLongLong(&ok);
        if (ok && announced > ex->limit) { // refused before a byte of it is read
            ex->request.bodyTooLarge = true;
            ex->handed = true;
            if (server.onRequest)
                server.onRequest(ex->request);
            if (ex->answer && !ex->queued)
                return queue(*ex, responseOf(*ex->answer), ex->answer->status);
        }
        return MHD_YES;
    }

    static MHD_Result queue(HttpServer::Exchange& ex, MHD_Response* response, int status)
    {
        ex.queued = true;
        const MHD_Result result = MHD_queue_response(ex.connection, unsigned(status), response);
        MHD_destroy_response(response);
        return result;
    }

    static ssize_t read(void* cls, uint64_t, char* buf, size_t max)
    {
        auto* ex = static_cast<HttpServer::Exchange*>(cls);
        if (!ex->pending.isEmpty()) {
            const qsizetype n = std::min(ex->pending.size(), qsizetype(max));
            memcpy(buf, ex->pending.constData(), size_t(n));
            ex->pending.remove(0, n);
            return n;
        }
        if (ex->ended)
            return MHD_CONTENT_READER_END_OF_STREAM;
        ex->suspended = true; // until the next push
        MHD_suspend_connection(ex->connection);
        return 0;
    }

    static void completed(void* cls, MHD_Connection*, void** context, MHD_RequestTerminationCode)
    {
        auto* server = static_cast<HttpServer*>(cls);
        auto* ex = static_cast<HttpServer::Exchange*>(*context);
        if (!ex)
            return;
        server->exchanges_.erase(ex->id);
        if (ex->streaming)
            emit server->streamEnded(ex->id);
        delete ex;
        *context = nullptr;
    }

    static void connection(void* cls, MHD_Connection*, void**, MHD_ConnectionNotificationCode code)
    {
        auto* server = static_cast<HttpServer*>(cls);
        server->clients_ += code == MHD_CONNECTION_NOTIFY_STARTED ? 1 : -1;
    }

    static void log(void* cls, const char* format, va_list args)
    {
        auto* server = static_cast<HttpServer*>(cls);
        if (server->daemon_)
            return; // each client's failures are its own
        char text[512];
        vsnprintf(text, sizeof text, format, args);
        server->error_ += QString::fromLocal8Bit(text).trimmed() + u' ';
    }
};

HttpServer::HttpServer(QObject* parent) : QObject(parent), timer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &HttpServer::run);
}

HttpServer::~HttpServer()
{
    stop();
}

bool HttpServer::listen(const QHostAddress& address, quint16 port, const QByteArray& certPem, const QByteArray& keyPem)
{
    stop();
    error_.clear();
    certPem_ = certPem, keyPem_ = keyPem;
    tls_ = !certPem.isEmpty();
    unsigned flags = MHD_USE_EPOLL | MHD_USE_NO_LISTEN_SOCKET | MHD_ALLOW_SUSPEND_RESUME | MHD_USE_ERROR_LOG;
    if (tls_)
        flags |= MHD_USE_TLS;
    // The library accepts no more than we let in; our cap answers first.
    const unsigned limit = kMaxClients + 1;
    MHD_OptionItem tlsOptions[] = {{MHD_OPTION_HTTPS_MEM_CERT, 0, const_cast<char*>(certPem_.constData())},
        {MHD_OPTION_HTTPS_MEM_KEY, 0, const_cast<char*>(keyPem_.constData())}, {MHD_OPTION_END, 0, nullptr}};
    MHD_OptionItem plain[] = {{MHD_OPTION_END, 0, nullptr}};
    daemon_ = nullptr;
    MHD_Daemon* daemon = MHD_start_daemon(flags, 0, nullptr, nullptr, &HttpCallbacks::onAccess, this,
        MHD_OPTION_EXTERNAL_LOGGER, &HttpCallbacks::log, this, MHD_OPTION_CONNECTION_LIMIT, limit,
        MHD_OPTION_CONNECTION_TIMEOUT, kIdleSeconds, MHD_OPTION_NOTIFY_COMPLETED, &HttpCallbacks::completed, this,
        MHD_OPTION_NOTIFY_CONNECTION, &HttpCallbacks::connection, this, MHD_OPTION_UNESCAPE_CALLBACK, &unescape,
        nullptr, MHD_OPTION_ARRAY, tls_ ? tlsOptions : plain, MHD_OPTION_END);
    if (!daemon) {
        error_ = tls_ ? QStringLiteral("the certificate or key is not usable: %1").arg(error_.trimmed())
                      : error_.trimmed();
        return false;
    }
    auto* listener = new Listener;
    listener->setParent(this);
    listener->setListenBacklogSize(kMaxClients);
    listener_ = listener;
    listener->take = [this](qintptr fd) {
        sockaddr_storage peer{};
        socklen_t length = sizeof peer;
        if (clients_ >= kMaxClients || getpeername(int(fd), reinterpret_cast<sockaddr*>(&peer), &length) != 0) {
            if (clients_ >= kMaxClients && !std::exchange(refusing_, true))
                emit logMessage(QStringLiteral("web page: %1 clients; turning new ones away").arg(kMaxClients));
            static const char kBusy[] = "HTTP/1.1 503 Service Unavailable\r\nConnection: close\r\n"
                                        "Content-Length: 0\r\n\r\n";
            (void)!::send(int(fd), kBusy, sizeof kBusy - 1, MSG_DONTWAIT | MSG_NOSIGNAL);
            ::close(int(fd));
            return;
        }
        refusing_ = false;
        setsockopt(int(fd), SOL_SOCKET, SO_SNDBUF, &kSystemSendBuffer, sizeof kSystemSendBuffer);
        MHD_add_connection(daemon_, MHD_socket(fd), reinterpret_cast<sockaddr*>(&peer), length);
        scheduleRun();
    };
    if (!listener->listen(address, port)) {
        error_ = listener->errorString();
        MHD_stop_daemon(daemon);
        delete listener;
        listener_ = nullptr;
        return false;
    }
    daemon_ = daemon;
    const MHD_DaemonInfo* info = MHD_get_daemon_info(daemon_, MHD_DAEMON_INFO_EPOLL_FD);
    notifier_ = new QSocketNotifier(info->epoll_fd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &HttpServer::run);
    return true;
}

quint16 HttpServer::serverPort() const
{
    return listener_ ? listener_->serverPort() : 0;
}

void HttpServer::run()
{
    if (!daemon_ || std::exchange(running_, true))
        return;
    runSoon_ = false;
    MHD_run(daemon_);
    running_ = false;
    scheduleRun();
}

// A connection resumed during a run (a push or an answer made by a request
// handler) is served by the next run: the library's time-out must not put it off.
void HttpServer::scheduleRun()
{
    MHD_UNSIGNED_LONG_LONG ms = 0;
    if (!daemon_)
        return;
    if (runSoon_)
        timer_->start(0);
    else if (MHD_get_timeout(daemon_, &ms) == MHD_YES)
        timer_->start(int(std::min<MHD_UNSIGNED_LONG_LONG>(ms, 60000)));
    else
        timer_->stop();
}

void HttpServer::resume(Exchange& ex)
{
    if (!std::exchange(ex.suspended, false))
        return;
    MHD_resume_connection(ex.connection);
    runSoon_ = true;
    timer_->start(0);
}

void HttpServer::respond(quint64 id, const HttpResponse& response)
{
    const auto it = exchanges_.find(id);
    if (it == exchanges_.end() || it->second->queued || it->second->answer || it->second->streaming)
        return;
    it->second->answer = response;
    resume(*it->second);
}

void HttpServer::startStream(quint64 id, const HttpResponse& head)
{
    const auto it = exchanges_.find(id);
    if (it == exchanges_.end() || it->second->queued || it->second->answer)
        return;
    it->second->streaming = true;
    it->second->head = head;
    resume(*it->second);
}

bool HttpServer::push(quint64 id, const QByteArray& bytes)
{
    const auto it = exchanges_.find(id);
    if (it == exchanges_.end() || !it->second->streaming || it->second->ended)
        return false;
    Exchange& ex = *it->second;
    if (ex.pending.size() + bytes.size() > kMaxStreamBacklog) {
        ex.ended = true; // the library closes it: an unending stream cannot end cleanly
        ex.pending.clear();
        emit logMessage(
            QStringLiteral("web page: a client at %1 does not read; dropped").arg(ex.request.peer.toString()));
        MHD_Connection* c = ex.connection;
        resume(ex);
        MHD_set_connection_option(c, MHD_CONNECTION_OPTION_TIMEOUT, 1u);
        return false;
    }
    ex.pending += bytes;
    resume(ex);
    return true;
}

QList<quint64> HttpServer::streams() const
{
    QList<quint64> ids;
    for (const auto& [id, ex] : exchanges_)
        if (ex->streaming && !ex->ended)
            ids << id;
    return ids;
}

void HttpServer::stop()
{
    if (!daemon_)
        return;
    delete listener_;
    listener_ = nullptr;
    for (const auto& [id, ex] : exchanges_) {
        if (ex->streaming)
            ex->ended = true;
        else if (!ex->queued && !ex->answer)
            ex->answer = HttpResponse{
                503, "application/json", R"({"error":"stopping","message":"the monitor ends"})", {}};
        resume(*ex);
    }
    MHD_run(daemon_);
    delete notifier_;
    notifier_ = nullptr;
    MHD_stop_daemon(std::exchange(daemon_, nullptr));
    timer_->stop();
    exchanges_.clear();
    clients_ = 0;
}
