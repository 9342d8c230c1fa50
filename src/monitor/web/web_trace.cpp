#include "monitor/web/web_trace.h"

#include "monitor/engine/trace_pane.h"
#include "monitor/web/http_server.h"
#include "monitor/web/web_host.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

const char* const kPaneNames[] = {"text1", "text2", "text3"};

QByteArray eventText(const char* name, const QJsonObject& data)
{
    return "event: " + QByteArray(name) + "\ndata: " + QJsonDocument(data).toJson(QJsonDocument::Compact) + "\n\n";
}

} // namespace

WebTrace::WebTrace(WebHost& host, HttpServer& server) : host_(host), server_(server)
{
    flush_.setSingleShot(true);
    flush_.setInterval(kFlushMs);
    connect(&flush_, &QTimer::timeout, this, &WebTrace::flush);
    const std::array<TracePane*, 3> panes = host_.tracePanes();
    for (int i = 0; i < 3; ++i)
        connect(panes[size_t(i)], &TracePane::appended, this, [this, i](const QString& text) { appended(i, text); });
    connect(&host_.traceTree(), &TraceTree::changed, this, [this] {
        if (asked_.empty())
            return;
        treeChanged_ = true;
        if (!flush_.isActive())
            flush_.start();
    });
    // Said inside the server's run: handled after it.
    connect(&server_, &HttpServer::streamEnded, this, &WebTrace::closed, Qt::QueuedConnection);
}

void WebTrace::open(quint64 stream, int level)
{
    if (level <= 0)
        return;
    flush(); // what came before this stream is not its own
    asked_[stream] = level;
    setLevel();
    server_.push(stream, traceMessage({}) + eventText("tree", treeJson(host_.traceTree().nodes())));
}

void WebTrace::closed(quint64 stream)
{
    if (asked_.erase(stream) > 0)
        setLevel();
}

void WebTrace::setLevel()
{
    int highest = 0;
    for (const auto& [stream, level] : asked_)
        highest = std::max(highest, level);
    const int before = host_.traceLevel();
    host_.askTraceLevel(highest);
    if (host_.traceLevel() != before) {
        flush(); // the text so far was traced at the old level
        send(traceMessage({}));
    }
}

void WebTrace::appended(int pane, const QString& text)
{
    if (asked_.empty())
        return;
    QString& pending = pending_[size_t(pane)];
    pending += text;
    if (pending.size() >= kFlushAt)
        flush();
    else if (!flush_.isActive())
        flush_.start();
}

void WebTrace::flush()
{
    flush_.stop();
    QJsonObject texts;
    for (size_t i = 0; i < pending_.size(); ++i)
        if (!pending_[i].isEmpty())
            texts.insert(QLatin1String(kPaneNames[i]), std::exchange(pending_[i], QString()));
    QByteArray message = texts.isEmpty() ? QByteArray() : traceMessage(texts);
    if (std::exchange(treeChanged_, false))
        message += eventText("tree", treeJson(host_.traceTree().nodes()));
    if (!message.isEmpty())
        send(message);
}

void WebTrace::send(const QByteArray& message)
{
    for (const auto& [stream, level] : asked_)
        server_.push(stream, message); // a stream dropped now says so with streamEnded
}

QByteArray WebTrace::traceMessage(const QJsonObject& texts) const
{
    QJsonObject data = texts;
    data.insert(QLatin1String("level"), host_.traceLevel());
    return eventText("trace", data);
}

QJsonObject WebTrace::treeJson(const QList<TreeNode>& nodes)
{
    QJsonArray out;
    for (qsizetype i = 0; i < nodes.size() && i < kMostTreeNodes; ++i) {
        const TreeNode& n = nodes[i];
        out.append(QJsonObject{
            {"key", n.key}, {"text", n.text}, {"parent", n.parentKey}, {"image", n.image}, {"expanded", n.expanded}});
    }
    return {{"nodes", out}, {"cut", nodes.size() > kMostTreeNodes}};
}
