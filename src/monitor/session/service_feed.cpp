#include "monitor/session/service_feed.h"

#include "device/service_client.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkReply>
#include <QUrlQuery>

namespace servicefeed {

namespace {

constexpr char kTime[] = "yyyy-MM-dd HH:mm:ss";

// The panel shows "-" where the service says "".
QString panelText(const QJsonValue& v)
{
    const QString text = v.toString();
    return text.isEmpty() ? QStringLiteral("-") : text;
}

PlaceOfNumber placeOf(const QJsonObject& o)
{
    return {o.value(u"place").toString(), NumberPlace::kindNamed(o.value(u"placeKind").toString()),
        o.value(u"numberGrouped").toString()};
}

ChannelDisplay channelOf(const QJsonObject& c)
{
    const QJsonObject lamps = c.value(u"lamps").toObject();
    ChannelDisplay d;
    d.active = lamps.value(u"active").toInt();
    d.connected = lamps.value(u"connected").toInt();
    d.ringing = lamps.value(u"ringing").toInt();
    d.quiet = c.value(u"quiet").toBool();
    d.number = panelText(c.value(u"number"));
    d.name = c.value(u"name").toString();
    d.place = placeOf(c);
    d.msn = panelText(c.value(u"msn"));
    d.cost = panelText(c.value(u"cost"));
    d.duration = panelText(c.value(u"duration"));
    d.picture = c.value(u"picture").toString();
    return d;
}

// Why a request did not work, for the user: the service's error, else the network's reason.
QString failure(QNetworkReply* reply, const QJsonObject& body)
{
    const QString text = serviceErrorText(body);
    return text.isEmpty() ? reply->errorString() : text;
}

QString orEmpty(const QJsonValue& v)
{
    return v.isString() ? v.toString() : QString();
}

} // namespace

State stateOf(const QJsonObject& s)
{
    State state;
    const QJsonArray channels = s.value(u"channels").toArray();
    for (int i = 0; i < 2 && i < channels.size(); ++i) {
        const QJsonObject c = channels[i].toObject();
        state.display.channels[size_t(i)] = channelOf(c);
        ChannelLive& live = state.live[size_t(i)];
        live.phase = callPhaseNamed(c.value(u"phase").toString()).value_or(CallPhase::Idle);
        live.start = QDateTime::fromString(c.value(u"start").toString(), QLatin1String(kTime));
    }
    const QJsonObject last = s.value(u"lastCaller").toObject();
    state.display.LabelCID = last.value(u"number").toString();
    state.display.LabelTIM = last.value(u"time").toString();
    state.display.cidPlace = placeOf(last);
    state.display.Image2 = last.value(u"picture").toString();
    const QJsonObject adapter = s.value(u"adapter").toObject();
    state.connected = adapter.value(u"connected").toBool(true);
    state.busyWith = adapter.value(u"busyWith").toString();
    state.missed = s.value(u"missed").toInt();
    return state;
}

std::optional<CallEvent> eventOf(const QJsonObject& o)
{
    const std::optional<CallEvent::Kind> kind = callEventKind(o.value(u"event").toString());
    if (!kind)
        return std::nullopt;
    CallEvent e;
    e.kind = *kind;
    e.time = QDateTime::fromString(o.value(u"time").toString(), Qt::ISODate);
    e.start = e.time;
    const QString channel = orEmpty(o.value(u"channel"));
    e.channel = channel == u"A" || channel == u"B" ? channel[0] : QChar();
    e.msn = orEmpty(o.value(u"msn"));
    e.msnName = orEmpty(o.value(u"msn_name"));
    e.number = orEmpty(o.value(u"number"));
    e.name = orEmpty(o.value(u"name"));
    e.place = orEmpty(o.value(u"place"));
    if (const QJsonValue kindName = o.value(u"number_kind"); kindName.isString())
        e.numberKind = NumberPlace::kindNamed(kindName.toString());
    e.type = call_type::fromText(orEmpty(o.value(u"type")));
    e.duration = orEmpty(o.value(u"duration"));
    e.cost = orEmpty(o.value(u"cost"));
    e.answered = o.value(u"answered").toBool();
    e.seconds = o.value(u"seconds").toInt();
    e.phase = callPhaseNamed(orEmpty(o.value(u"phase"))).value_or(CallPhase::Idle);
    return e;
}

CallRecord recordOf(const QJsonObject& r)
{
    const QString number = r.value(u"number").toString();
    return {r.value(u"msn").toString(), r.value(u"type").toString(), r.value(u"date").toString(),
        r.value(u"time").toString(), number.isEmpty() ? QStringLiteral("-") : number, r.value(u"name").toString(),
        r.value(u"duration").toString(), r.value(u"cost").toString()};
}

QList<TreeNode> treeOf(const QJsonObject& tree)
{
    QList<TreeNode> nodes;
    for (const QJsonValue& v : tree.value(u"nodes").toArray()) {
        const QJsonObject n = v.toObject();
        nodes << TreeNode{n.value(u"key").toString(), n.value(u"text").toString(), n.value(u"parent").toString(),
            n.value(u"image").toInt(), n.value(u"expanded").toBool()};
    }
    return nodes;
}

} // namespace servicefeed

using namespace servicefeed;

ServiceFeed::ServiceFeed(serviceaddress::Address service, int traceLevel, QObject* parent)
    : QObject(parent), service_(std::move(service)), channel_(service_), traceLevel_(traceLevel)
{
    tree_.reset();
    if (traceLevel_ > 0)
        channel_.setQuery(QStringLiteral("trace=%1").arg(traceLevel_));
    connect(&channel_, &PushChannel::received, this, &ServiceFeed::handle);
    connect(&channel_, &PushChannel::ended, this, &ServiceFeed::streamEnded);
}

ServiceFeed::~ServiceFeed()
{
    stop();
}

QNetworkRequest ServiceFeed::request(const QString& path) const
{
    return serviceRequest(service_, path);
}

void ServiceFeed::start()
{
    channel_.start();
}

void ServiceFeed::stop()
{
    channel_.stop();
    for (QNetworkReply* r : std::as_const(pictureReplies_))
        r->abort();
}

void ServiceFeed::streamEnded()
{
    emitEvents(false);
    setAttached(false);
}

void ServiceFeed::setAttached(bool attached)
{
    if (std::exchange(attached_, attached) != attached)
        emit attachedChanged(attached);
}

void ServiceFeed::handle(const pushchannel::Message& m)
{
    const QJsonObject data = QJsonDocument::fromJson(m.data).object();
    if (m.event == "state") {
        setState(data);
        if (!attached_) { // the first state after connecting: the list may have changed meanwhile
            setAttached(true);
            fetchCalls();
        }
    } else if (m.event == "call") {
        if (std::optional<CallEvent> e = eventOf(data); e && pending_.size() < kMostPending)
            pending_ << *e; // the state that follows names its picture
    } else if (m.event == "calls") {
        fetchCalls();
    } else if (m.event == "book") {
        emit listsChanged();
    } else if (m.event == "trace") {
        addTrace(data);
    } else if (m.event == "tree" && !tracePaused_) {
        tree_.replace(treeOf(data));
    }
}

void ServiceFeed::addTrace(const QJsonObject& trace)
{
    if (const int level = trace.value(u"level").toInt(); level != tracedLevel_)
        emit tracedLevelChanged(tracedLevel_ = level);
    if (tracePaused_)
        return;
    for (int i = 0; i < 3; ++i)
        panes_[size_t(i)].append(trace.value(QStringLiteral("text%1").arg(i + 1)).toString());
}

void ServiceFeed::clearTrace()
{
    for (TracePane& pane : panes_)
        pane.clear();
}

void ServiceFeed::setState(const QJsonObject& s)
{
    state_ = stateOf(s);
    for (const ChannelDisplay& c : state_.display.channels)
        fetchPicture(c.picture);
    fetchPicture(state_.display.Image2);
    emit stateChanged();
    emitEvents();
}

// In the order they came; a caller's announcement waits for the picture its state names.
void ServiceFeed::emitEvents(bool waitForPictures)
{
    while (!pending_.isEmpty()) {
        CallEvent& e = pending_.front();
        if (e.kind == CallEvent::Kind::Incoming || e.kind == CallEvent::Kind::Waiting) {
            const int ch = e.channel == u'B' ? 1 : 0;
            const ChannelDisplay& c = state_.display.channels[size_t(ch)];
            const QString url = e.kind == CallEvent::Kind::Incoming ? c.picture : state_.display.Image2;
            if (waitForPictures && pictureReplies_.contains(url))
                return;
            e.picture = pictureFile(url);
            if (e.kind == CallEvent::Kind::Incoming && e.name.isEmpty())
                e.groupedNumber = c.place.grouped;
        }
        const CallEvent event = pending_.takeFirst();
        emit callEvent(event);
    }
}

MonitorDisplay ServiceFeed::display() const
{
    MonitorDisplay d = state_.display;
    for (ChannelDisplay& c : d.channels)
        c.picture = pictureFile(c.picture);
    d.Image2 = pictureFile(d.Image2);
    d.ImageLED = 1;
    return d;
}

// ---- the call list ---------------------------------------------------------

void ServiceFeed::fetchCalls()
{
    fetchPage(0, {}, {});
}

void ServiceFeed::fetchPage(int offset, QList<CallRecord> records, QList<QByteArray> keys)
{
    const int fetch = offset == 0 ? ++fetching_ : fetching_;
    QNetworkRequest r = request(
        QStringLiteral("/api/v1/calls?ignored=1&offset=%1&limit=%2").arg(offset).arg(kPageSize));
    QNetworkReply* reply = network_.get(r);
    connect(reply, &QNetworkReply::finished, this,
        [=, this, records = std::move(records), keys = std::move(keys)]() mutable {
            reply->deleteLater();
            if (fetch != fetching_)
                return; // a newer fetch runs
            const QJsonObject page = QJsonDocument::fromJson(reply->readAll()).object();
            if (reply->error() != QNetworkReply::NoError || !page.contains(u"calls"))
                return; // the list stays as it was; the next change fetches again
            const QJsonArray calls = page.value(u"calls").toArray();
            for (const QJsonValue& c : calls) {
                records << recordOf(c.toObject());
                keys << c.toObject().value(u"key").toString().toLatin1();
            }
            const int total = std::min(page.value(u"total").toInt(), kMostRecords);
            if (!calls.isEmpty() && records.size() < total) {
                fetchPage(int(records.size()), std::move(records), std::move(keys));
                return;
            }
            records_ = std::move(records);
            keys_ = std::move(keys);
            emit recordsChanged();
        });
}

void ServiceFeed::deleteCalls(const QList<int>& rows)
{
    QJsonArray keys;
    for (int row : rows)
        if (row >= 0 && row < keys_.size())
            keys.append(QString::fromLatin1(keys_[row]));
    if (keys.isEmpty())
        return;
    QNetworkRequest r = request(QStringLiteral("/api/v1/calls/delete"));
    r.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    QNetworkReply* reply = network_.post(r, QJsonDocument(QJsonObject{{"keys", keys}}).toJson(QJsonDocument::Compact));
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        if (reply->error() != QNetworkReply::NoError)
            emit problem(tr("corvane-monitor did not delete the calls: %1")
                             .arg(servicefeed::failure(reply, QJsonDocument::fromJson(reply->readAll()).object())));
        fetchCalls(); // deleted or not, the list shows what the service has
    });
}

void ServiceFeed::ignore(const QString& number, std::function<void(bool, const QString&)> replied)
{
    QNetworkReply* read = network_.get(request(QStringLiteral("/api/v1/ignore")));
    connect(read, &QNetworkReply::finished, this, [this, read, number, replied] {
        read->deleteLater();
        const QJsonObject list = QJsonDocument::fromJson(read->readAll()).object();
        if (read->error() != QNetworkReply::NoError || !list.contains(u"entries")) {
            replied(false, servicefeed::failure(read, list));
            return;
        }
        QJsonArray entries = list.value(u"entries").toArray();
        entries.append(number);
        QNetworkRequest r = request(QStringLiteral("/api/v1/ignore"));
        r.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
        QNetworkReply* write = network_.put(
            r, QJsonDocument(QJsonObject{{"entries", entries}}).toJson(QJsonDocument::Compact));
        connect(write, &QNetworkReply::finished, this, [write, replied] {
            write->deleteLater();
            const QString why = servicefeed::failure(write, QJsonDocument::fromJson(write->readAll()).object());
            replied(write->error() == QNetworkReply::NoError, why);
        });
    });
}

// ---- pictures --------------------------------------------------------------

QString ServiceFeed::pictureFile(const QString& url) const
{
    return pictureFiles_.value(url);
}

void ServiceFeed::fetchPicture(const QString& url)
{
    if (url.isEmpty() || pictureFiles_.contains(url) || pictureReplies_.contains(url) || !pictures_.isValid())
        return;
    if (pictureFiles_.size() >= kMostPictures) { // the oldest callers' pictures are fetched again when needed
        for (const QString& file : std::as_const(pictureFiles_))
            QFile::remove(file);
        pictureFiles_.clear();
    }
    QNetworkReply* reply = network_.get(request(url));
    pictureReplies_.insert(url, reply);
    connect(reply, &QNetworkReply::downloadProgress, this, [reply](qint64 received, qint64) {
        if (received > kMostPicture)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, url] {
        reply->deleteLater();
        pictureReplies_.remove(url);
        if (reply->error() == QNetworkReply::NoError)
            keepPicture(url, reply->readAll());
        emit stateChanged();
        emitEvents();
    });
}

void ServiceFeed::keepPicture(const QString& url, const QByteArray& bytes)
{
    const QString file = pictures_.filePath(QStringLiteral("picture-%1").arg(++pictureCount_));
    QFile out(file);
    if (out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size())
        pictureFiles_.insert(url, file);
}
