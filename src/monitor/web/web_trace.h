#pragma once
// The engine's trace for the front ends that ask for it on the push channel
// (GET /api/v1/events?trace=N, docs/web.md): the engine traces at the
// highest level asked (or the service's own, if higher), and every such
// stream gets the new text of the three panes as `trace` events and the
// identifier tree as `tree` events. Nothing is kept for a front end: text
// goes out at most kFlushMs after it was written, and a stream that does not
// read is dropped by the server, as for the other events.
#include "monitor/engine/trace_tree.h"

#include <QJsonObject>
#include <QObject>
#include <QTimer>
#include <array>
#include <map>

class HttpServer;
class WebHost;

class WebTrace : public QObject {
    Q_OBJECT
public:
    static constexpr int kFlushMs = 100;
    // Text waiting beyond this goes out at once: each message stays far below
    // what a stream may have waiting (HttpServer::kMaxStreamBacklog).
    static constexpr qsizetype kFlushAt = 16 * 1024;
    // A larger tree is sent cut to its first nodes (a terminal that never
    // clears its calls grows it): each change sends it whole.
    static constexpr int kMostTreeNodes = 200;

    WebTrace(WebHost& host, HttpServer& server);

    // The stream asks for the trace at `level` (1 to 5; 0 asks nothing).
    void open(quint64 stream, int level);

    // {"nodes": [{"key", "text", "parent", "image", "expanded"}, ...], "cut": false}
    static QJsonObject treeJson(const QList<TreeNode>& nodes);

private:
    void closed(quint64 stream);
    void setLevel();
    void appended(int pane, const QString& text);
    void flush();
    void send(const QByteArray& message);
    QByteArray traceMessage(const QJsonObject& data) const;

    WebHost& host_;
    HttpServer& server_;
    std::map<quint64, int> asked_; // stream -> the level it asked for
    std::array<QString, 3> pending_;
    bool treeChanged_ = false;
    QTimer flush_;
};
