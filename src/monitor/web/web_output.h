#pragma once
// The web page and its API as one of the monitor's outputs (docs/web.md): the
// HTTP server, the login gate and Origin check, the page's own files, and the
// push channel, which hears every call event as the other outputs do and
// tells each connected page. The paths under /api/v1/ are WebApi's.
#include "monitor/outputs/call_output.h"
#include "monitor/outputs/call_outputs.h"
#include "monitor/web/http_server.h"
#include "monitor/web/web_auth.h"
#include "monitor/web/web_json.h"
#include "monitor/web/web_trace.h"

#include <QObject>
#include <QTimer>
#include <memory>

class WebApi;
class WebHost;

class WebOutput : public QObject, public CallOutput {
    Q_OBJECT
public:
    static constexpr qint64 kMaxJsonBody = 64 * 1024;
    static constexpr qint64 kMaxPicture = 2 * 1024 * 1024;
    static constexpr int kPingMs = 20000;

    // The plan's server for `host`, listening; or why it cannot run. Log
    // lines go to `owner`'s logMessage.
    static StartedOutput start(const WebPlan& plan, WebHost& host, CallOutputs& owner);

    WebOutput(WebHost& host, QByteArray password);
    ~WebOutput() override;
    HttpServer& server() { return server_; }

    void callEvent(const CallEvent& event) override;
    void stop() override;

    // The whole state as GET /api/v1/state answers it.
    QJsonObject state() const;
    // Sends `data` (one JSON value) as an event named `name` to every page.
    void broadcast(const char* name, const QByteArray& data);
    // Tells every page that the phone book, the ignore list or the own
    // numbers' names changed (the `book` event).
    void listsChanged();

signals:
    void logMessage(const QString& text);

private:
    void handle(const HttpRequest& request);
    bool gate(const HttpRequest& request);
    void openEvents(const HttpRequest& request);
    void sendState();
    // The display changed: the state goes out when it differs from the one last sent.
    void sendStateIfChanged();

    WebHost& host_;
    HttpServer server_;
    WebAuth auth_;
    std::unique_ptr<WebApi> api_;
    WebTrace trace_; // the engine's trace for the streams that ask for it
    std::array<webjson::ChannelLive, 2> live_{};
    QTimer ping_;
    QString busyWith_;      // as last told, for the busy event
    QJsonObject lastState_; // as last sent
    QString addressFile_;   // written for the front ends while serving
    QByteArray token_;
};
