#include "monitor/web/web_json.h"

#include "monitor/engine/call_event.h"
#include "monitor/engine/call_history.h"
#include "monitor/engine/call_list.h"
#include "monitor/engine/call_statistics.h"
#include "monitor/web/http_server.h"
#include "phonebook/book_file.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

namespace webjson {

namespace {

constexpr char kTime[] = "yyyy-MM-dd HH:mm:ss";

QByteArray keyOf(const QString& line)
{
    return QCryptographicHash::hash(line.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
}

QString shown(const QString& text)
{
    return text == u"-" ? QString() : text;
}

template <class Range>
QJsonArray numbers(const Range& values)
{
    QJsonArray a;
    for (const auto& v : values)
        a.append(v);
    return a;
}

// The kind of a number no contact names, as scripts read it; "" otherwise.
QString placeKind(const QString& name, const PlaceOfNumber& place)
{
    return name.isEmpty() && !place.place.isEmpty() ? NumberPlace::kindName(place.kind) : QString();
}

} // namespace

QByteArray recordKey(const CallRecord& record)
{
    return keyOf(CallList::toLine(record));
}

QByteArray entryKey(const BookEntry& e)
{
    return keyOf(QStringList{e.name, e.phone1, e.phone2, e.mobile, e.other, e.picture}.join(u'\t'));
}

bool hasPicture(const QString& path)
{
    return !path.isEmpty() && path != u"-" && QFileInfo(path).fileName() != u"noname.jpg";
}

QString pictureUrl(const QString& path, const QString& url)
{
    return hasPicture(path) ? url + QStringLiteral("?v=") + QString::fromLatin1(keyOf(path).left(8)) : QString();
}

QJsonObject state(const MonitorDisplay& display, const std::array<ChannelLive, 2>& live, const MonitorInputs& inputs,
    const Adapter& adapter, int missed)
{
    QJsonArray channels;
    for (int i = 0; i < 2; ++i) {
        const ChannelDisplay& d = display.channels[size_t(i)];
        const ChannelLive& l = live[size_t(i)];
        const QString name = i == 0 ? QStringLiteral("A") : QStringLiteral("B");
        const QString msn = shown(d.msn);
        channels.append(QJsonObject{{"channel", name}, {"phase", callPhaseName(l.phase)}, {"number", d.number},
            {"name", d.name}, {"place", d.name.isEmpty() ? d.place.place : QString()},
            {"numberGrouped", d.name.isEmpty() ? d.place.grouped : QString()}, {"msn", msn},
            {"msnName", inputs.msnName(msn)},
            {"picture", pictureUrl(d.picture, QStringLiteral("/api/v1/pictures/live/") + name)},
            {"start", l.start.isValid() ? l.start.toString(QLatin1String(kTime)) : QString()},
            {"duration", shown(d.duration)}, {"cost", shown(d.cost)},
            {"lamps", QJsonObject{{"active", d.active}, {"connected", d.connected}, {"ringing", d.ringing}}},
            {"quiet", d.quiet}, {"placeKind", placeKind(d.name, d.place)}});
    }
    return QJsonObject{
        {"adapter", QJsonObject{{"port", adapter.port}, {"connected", adapter.connected},
                        {"busy", !adapter.busyWith.isEmpty()}, {"busyWith", adapter.busyWith}}},
        {"missed", missed},
        {"channels", channels},
        {"lastCaller", QJsonObject{{"number", display.LabelCID}, {"time", display.LabelTIM},
                           {"picture", pictureUrl(display.Image2, QStringLiteral("/api/v1/pictures/live/last"))},
                           {"place", display.cidPlace.place}, {"placeKind", placeKind({}, display.cidPlace)},
                           {"numberGrouped", display.cidPlace.grouped}}},
    };
}

QJsonObject record(const CallRecord& r, const MonitorInputs& inputs, const callhistory::PlaceOf& places)
{
    return QJsonObject{{"key", QString::fromLatin1(recordKey(r))}, {"date", r.date}, {"time", r.time}, {"msn", r.msn},
        {"msnName", inputs.msnName(r.msn)}, {"type", r.type}, {"number", shown(r.number)}, {"name", r.name},
        {"place", places(r)}, {"duration", r.duration}, {"cost", r.cost}, {"missed", callhistory::isMissed(r)},
        {"ignored", inputs.ignored.matches(r.number)}};
}

QJsonObject statistics(const CallStatistics& s)
{
    QJsonArray kinds, perDay, top, costs;
    for (int k = 0; k < CallStatistics::KindCount; ++k)
        kinds.append(QString::fromLatin1(CallStatistics::kindTitle(k)));
    for (int d = 0; d < CallStatistics::kDays; ++d)
        perDay.append(QJsonObject{{"date", s.lastDay.addDays(d - CallStatistics::kDays + 1).toString(Qt::ISODate)},
            {"counts", numbers(s.perDay[size_t(d)])}});
    for (const CallStatistics::Frequent& f : s.topNumbers)
        top.append(QJsonObject{{"number", f.number}, {"name", f.name}, {"calls", f.calls}});
    for (qsizetype m = 0; m < s.msns.size(); ++m)
        costs.append(
            QJsonObject{{"msn", s.msns[m]}, {"perMonth", numbers(s.costs[m])}, {"total", s.msnTotals.value(m)}});
    return QJsonObject{{"calls", s.calls}, {"lastDay", s.lastDay.toString(Qt::ISODate)}, {"kinds", kinds},
        {"perDay", perDay}, {"perHour", numbers(s.perHour)}, {"topNumbers", top},
        {"months", QJsonArray::fromStringList(s.months)}, {"costs", costs}};
}

QJsonObject entry(const BookEntry& e)
{
    const QString key = QString::fromLatin1(entryKey(e));
    return QJsonObject{{"key", key}, {"name", e.name}, {"phone1", e.phone1}, {"phone2", e.phone2}, {"mobile", e.mobile},
        {"other", e.other}, {"picture", pictureUrl(e.picture, QStringLiteral("/api/v1/book/%1/picture").arg(key))}};
}

HttpResponse json(int status, const QJsonObject& body)
{
    return {status, "application/json; charset=utf-8", QJsonDocument(body).toJson(QJsonDocument::Compact),
        {{"Cache-Control", "no-store"}}};
}

HttpResponse noContent()
{
    return {204, {}, {}, {{"Cache-Control", "no-store"}}};
}

std::optional<QJsonObject> jsonBody(const HttpRequest& r)
{
    QJsonParseError e{};
    const QJsonDocument doc = QJsonDocument::fromJson(r.body, &e);
    if (e.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    return doc.object();
}

std::optional<int> queryNumber(const HttpRequest& r, const char* name, int fallback, int low, int high)
{
    const QString text = r.query.value(QLatin1String(name));
    if (text.isEmpty())
        return fallback;
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n >= low && n <= high ? std::optional<int>(n) : std::nullopt;
}

HttpResponse error(int status, const char* code, const QString& message)
{
    return json(status, QJsonObject{{"error", QLatin1String(code)}, {"message", message}});
}

} // namespace webjson
