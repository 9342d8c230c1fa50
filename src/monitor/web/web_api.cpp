#include "monitor/web/web_api.h"

#include "monitor/engine/call_history.h"
#include "monitor/engine/call_list.h"
#include "monitor/engine/call_list_csv.h"
#include "monitor/engine/call_statistics.h"
#include "monitor/web/web_auth.h"
#include "monitor/web/web_files.h"
#include "monitor/web/web_host.h"
#include "monitor/web/web_json.h"
#include "monitor/web/web_output.h"
#include "common/user_text.h"
#include "phonebook/book_file.h"
#include "phonebook/contact_folder.h"
#include "phonebook/ignore_list.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QTimer>
#include <QUrlQuery>

using webjson::error;
using webjson::json;
using webjson::jsonBody;
using webjson::noContent;

namespace {

constexpr int kWrongPasswordDelayMs = 1000;

HttpResponse badRequest(const QString& why)
{
    return error(400, "bad-request", why);
}

bool matches(const char* pattern, const QByteArray& path, QStringList& args)
{
    const QList<QByteArray> want = QByteArray(pattern).split('/'), have = path.split('/');
    if (want.size() != have.size())
        return false;
    args.clear();
    for (qsizetype i = 0; i < want.size(); ++i) {
        if (want[i] == "*") {
            if (have[i].isEmpty())
                return false;
            args << QString::fromUtf8(have[i]);
        } else if (want[i] != have[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

const WebApi::Route WebApi::kRoutes[] = {
    {"GET", "/api/v1/session", &WebApi::session},
    {"POST", "/api/v1/login", &WebApi::login},
    {"POST", "/api/v1/logout", &WebApi::logout},
    {"GET", "/api/v1/state", &WebApi::state},
    {"GET", "/api/v1/pictures/live/*", &WebApi::livePicture},
    {"GET", "/api/v1/calls", &WebApi::calls},
    {"GET", "/api/v1/calls.csv", &WebApi::callsCsv},
    {"DELETE", "/api/v1/calls/*", &WebApi::deleteCall},
    {"POST", "/api/v1/calls/delete", &WebApi::deleteCalls},
    {"GET", "/api/v1/statistics", &WebApi::statistics},
    {"GET", "/api/v1/book", &WebApi::book},
    {"POST", "/api/v1/book", &WebApi::addEntry},
    {"PUT", "/api/v1/book/*", &WebApi::editEntry},
    {"DELETE", "/api/v1/book/*", &WebApi::deleteEntry},
    {"GET", "/api/v1/book/*/picture", &WebApi::entryPicture},
    {"PUT", "/api/v1/book/*/picture", &WebApi::putPicture},
    {"DELETE", "/api/v1/book/*/picture", &WebApi::deletePicture},
    {"GET", "/api/v1/contacts", &WebApi::contacts},
    {"GET", "/api/v1/ignore", &WebApi::ignore},
    {"PUT", "/api/v1/ignore", &WebApi::putIgnore},
    {"GET", "/api/v1/msn-names", &WebApi::msnNames},
    {"PUT", "/api/v1/msn-names", &WebApi::putMsnNames},
    {"GET", "/api/v1/settings", &WebApi::settingsRead},
    {"PUT", "/api/v1/settings", &WebApi::settingsWrite},
    {"POST", "/api/v1/settings/factory", &WebApi::factory},
    {"POST", "/api/v1/hangup", &WebApi::hangUp},
    {"POST", "/api/v1/counters/reset", &WebApi::resetCounters},
    {"POST", "/api/v1/profiles/*/load", &WebApi::profileLoad},
    {"POST", "/api/v1/profiles/*/save", &WebApi::profileSave},
};

WebApi::WebApi(WebHost& host, WebOutput& output, WebAuth& auth) : host_(host), output_(output), auth_(auth)
{
}

void WebApi::handle(const HttpRequest& r)
{
    QStringList args;
    QByteArray allowed;
    for (const Route& route : kRoutes) {
        if (!matches(route.path, r.path, args))
            continue;
        const QByteArray method = r.method == "HEAD" ? QByteArray("GET") : r.method;
        if (method == route.method) {
            if (const Answer answer = (this->*route.run)(r, args))
                output_.server().respond(r.id, *answer);
            return;
        }
        allowed += (allowed.isEmpty() ? "" : ", ") + QByteArray(route.method);
    }
    if (allowed.isEmpty()) {
        output_.server().respond(r.id, error(404, "not-found", QStringLiteral("no such path")));
        return;
    }
    HttpResponse e = error(
        405, "method-not-allowed", QStringLiteral("this path takes %1").arg(QString::fromLatin1(allowed)));
    e.addHeader("Allow", allowed);
    output_.server().respond(r.id, e);
}

WebApi::Answer WebApi::session(const HttpRequest& r, const Args&)
{
    return json(200, QJsonObject{{"passwordRequired", auth_.passwordRequired()}, {"loggedIn", auth_.loggedIn(r)}});
}

WebApi::Answer WebApi::login(const HttpRequest& r, const Args&)
{
    QByteArray password;
    const QByteArray type = r.header("content-type");
    if (type.startsWith("application/x-www-form-urlencoded")) {
        password = QUrlQuery(QString::fromUtf8(r.body).replace(u'+', u' '))
                       .queryItemValue(QStringLiteral("password"), QUrl::FullyDecoded)
                       .toUtf8();
    } else if (const std::optional<QJsonObject> body = jsonBody(r); body && body->value(u"password").isString()) {
        password = body->value(u"password").toString().toUtf8();
    } else {
        return badRequest(QStringLiteral("send {\"password\": \"...\"} or a form with password"));
    }
    if (!auth_.passwordRequired())
        return noContent();
    if (const int wait = auth_.waitSeconds(r.peer); wait > 0) {
        HttpResponse e = error(
            429, "too-many-attempts", QStringLiteral("too many wrong passwords; wait %1 s").arg(wait));
        e.addHeader("Retry-After", QByteArray::number(wait));
        return e;
    }
    if (!auth_.tryPassword(r.peer, password)) {
        // Answered a second later: guessing costs time even before the waits begin.
        QTimer::singleShot(kWrongPasswordDelayMs, &output_, [server = &output_.server(), id = r.id] {
            server->respond(id, error(401, "unauthorized", QStringLiteral("wrong password")));
        });
        return std::nullopt;
    }
    HttpResponse ok = noContent();
    ok.addHeader("Set-Cookie", auth_.newSession(output_.server().tls()));
    return ok;
}

WebApi::Answer WebApi::logout(const HttpRequest& r, const Args&)
{
    auth_.endSession(r);
    HttpResponse ok = noContent();
    ok.addHeader("Set-Cookie", WebAuth::clearedCookie());
    return ok;
}

WebApi::Answer WebApi::state(const HttpRequest&, const Args&)
{
    return json(200, output_.state());
}

WebApi::Answer WebApi::livePicture(const HttpRequest&, const Args& args)
{
    const MonitorDisplay d = host_.display();
    const QString& which = args.value(0);
    const QString path = which == u"A"      ? d.channels[0].picture
                         : which == u"B"    ? d.channels[1].picture
                         : which == u"last" ? d.Image2
                                            : QString();
    if (webjson::hasPicture(path))
        if (std::optional<HttpResponse> picture = webfiles::picture(path))
            return picture;
    return error(404, "not-found", QStringLiteral("no picture there"));
}

QList<int> WebApi::selected(const HttpRequest& r) const
{
    const QStringList words = callhistory::searchWords(r.query.value(QStringLiteral("q")));
    const bool missed = r.query.value(QStringLiteral("missed")) == u"1";
    const bool withIgnored = r.query.value(QStringLiteral("ignored")) == u"1";
    const IgnoreList& ignore = host_.inputs().ignored;
    const QList<CallRecord>& records = host_.callList().records();
    const callhistory::PlaceOf places = callhistory::placesOf(host_.inputs());
    QList<int> rows;
    for (int i = 0; i < records.size(); ++i)
        if (callhistory::accepts(records[i], words, missed, places)
            && (withIgnored || !ignore.matches(records[i].number)))
            rows << i;
    return rows;
}

WebApi::Answer WebApi::calls(const HttpRequest& r, const Args&)
{
    const std::optional<int> offset = webjson::queryNumber(r, "offset", 0, 0, INT_MAX);
    const std::optional<int> limit = webjson::queryNumber(r, "limit", kPageLimit, 1, kMaxPageLimit);
    if (!offset || !limit)
        return badRequest(QStringLiteral("offset is a number from 0, limit one from 1 to %1").arg(kMaxPageLimit));
    const QList<int> rows = selected(r);
    const QList<CallRecord>& records = host_.callList().records();
    const callhistory::PlaceOf places = callhistory::placesOf(host_.inputs());
    QJsonArray page;
    for (qsizetype i = *offset; i < rows.size() && i < qsizetype(*offset) + *limit; ++i)
        page.append(webjson::record(records[rows[i]], host_.inputs(), places));
    int missedTotal = 0;
    for (const CallRecord& record : records)
        missedTotal += callhistory::isMissed(record);
    return json(200, QJsonObject{{"total", rows.size()}, {"offset", *offset}, {"limit", *limit},
                         {"missedTotal", missedTotal}, {"calls", page}});
}

WebApi::Answer WebApi::callsCsv(const HttpRequest& r, const Args&)
{
    return HttpResponse{200, "text/csv; charset=utf-8", calllistcsv::toCsv(host_.callList().records(), selected(r)),
        {{"Cache-Control", "no-store"}, {"Content-Disposition", "attachment; filename=\"calls.csv\""}}};
}

WebApi::Answer WebApi::removeRecords(const QStringList& keys)
{
    CallList& list = host_.callList();
    QList<CallRecord> kept = list.records();
    for (const QString& key : keys) {
        const auto it = std::find_if(
            kept.begin(), kept.end(), [&](const CallRecord& c) { return webjson::recordKey(c) == key.toLatin1(); });
        if (it == kept.end())
            return error(404, "not-found", QStringLiteral("no call record has the key %1").arg(key.left(40)));
        kept.erase(it);
    }
    const QList<CallRecord> before = list.records();
    list.setRecords(kept);
    if (!list.SaveTheList()) {
        list.setRecords(before);
        return error(500, "not-saved", list.fileProblemText());
    }
    return noContent();
}

WebApi::Answer WebApi::deleteCall(const HttpRequest&, const Args& args)
{
    return removeRecords(args);
}

WebApi::Answer WebApi::deleteCalls(const HttpRequest& r, const Args&)
{
    const std::optional<QJsonObject> body = jsonBody(r);
    const QJsonValue keys = body ? body->value(u"keys") : QJsonValue();
    if (!keys.isArray() || keys.toArray().size() > kMaxKeys)
        return badRequest(QStringLiteral("send {\"keys\": [...]} with at most %1 keys").arg(kMaxKeys));
    QStringList list;
    for (const QJsonValue& k : keys.toArray()) {
        if (!k.isString())
            return badRequest(QStringLiteral("each key is a string"));
        list << k.toString();
    }
    return removeRecords(list);
}

WebApi::Answer WebApi::statistics(const HttpRequest&, const Args&)
{
    return json(200, webjson::statistics(CallStatistics::compute(host_.callList().records(), QDate::currentDate())));
}

WebApi::Answer WebApi::book(const HttpRequest&, const Args&)
{
    bool ok = true;
    const QList<BookEntry> entries = BookFile::read(host_.inputs().bookPath, &ok);
    if (!ok)
        return error(409, "conflict", QStringLiteral("book.txt cannot be read"));
    QJsonArray list;
    for (const BookEntry& e : entries)
        list.append(webjson::entry(e));
    return json(200, QJsonObject{{"entries", list}});
}

WebApi::Answer WebApi::contacts(const HttpRequest&, const Args&)
{
    const ContactFolder* folder = host_.contacts();
    QJsonArray list;
    if (folder)
        for (const BookEntry& e : folder->contents().contacts) {
            QJsonArray numbers;
            for (const QString& n : {e.phone1, e.phone2, e.mobile, e.other})
                if (!n.isEmpty())
                    numbers.append(n);
            list.append(QJsonObject{{"name", e.name}, {"numbers", numbers}});
        }
    return json(200, QJsonObject{{"folder", folder ? folder->folder() : QString()}, {"contacts", list},
                         {"unusable", folder ? folder->contents().unusable : 0}});
}

WebApi::Answer WebApi::ignore(const HttpRequest&, const Args&)
{
    const QStringList entries = IgnoreList::entries(usertext::readFile(IgnoreList::defaultPath()));
    return json(200, QJsonObject{{"entries", QJsonArray::fromStringList(entries)}});
}

WebApi::Answer WebApi::msnNames(const HttpRequest&, const Args&)
{
    const QHash<QString, QString>& names = host_.inputs().msnNames;
    QStringList msns = names.keys();
    msns.sort();
    QJsonArray list;
    for (const QString& msn : msns)
        list.append(QJsonObject{{"msn", msn}, {"name", names.value(msn)}});
    return json(200, QJsonObject{{"names", list}});
}

WebApi::Answer WebApi::onAdapter(const HttpRequest& r, const AdapterRequest& request)
{
    host_.adapter(request, [server = QPointer<HttpServer>(&output_.server()), id = r.id](const AdapterReply& reply) {
        if (server)
            server->respond(id, reply.status == 204 ? noContent() : json(reply.status, reply.body));
    });
    return std::nullopt;
}

WebApi::Answer WebApi::settingsRead(const HttpRequest& r, const Args&)
{
    return onAdapter(r, {QStringLiteral("settings-read"), {}});
}

WebApi::Answer WebApi::settingsWrite(const HttpRequest& r, const Args&)
{
    const std::optional<QJsonObject> body = jsonBody(r);
    if (!body || !body->value(u"settings").isObject())
        return badRequest(QStringLiteral("send {\"settings\": {\"NAME\": \"VALUE\", ...}}"));
    return onAdapter(r, {QStringLiteral("settings-write"), *body});
}

WebApi::Answer WebApi::factory(const HttpRequest& r, const Args&)
{
    return onAdapter(r, {QStringLiteral("factory"), {}});
}

WebApi::Answer WebApi::hangUp(const HttpRequest& r, const Args&)
{
    const std::optional<QJsonObject> body = jsonBody(r);
    const int port = body ? body->value(u"port").toInt() : 0;
    if (port < 1 || port > kPhones)
        return error(400, "bad-value", QStringLiteral("send {\"port\": 1} or {\"port\": 2} (Phone 1 or Phone 2)"));
    return onAdapter(r, {QStringLiteral("hangup"), {}, port});
}

WebApi::Answer WebApi::resetCounters(const HttpRequest& r, const Args&)
{
    return onAdapter(r, {QStringLiteral("counters-reset"), {}});
}

WebApi::Answer WebApi::onProfile(const HttpRequest& r, const QString& operation, const QString& profile)
{
    bool ok = false;
    const int n = profile.toInt(&ok);
    if (!ok || n < 1 || n > kProfiles)
        return error(400, "bad-value", QStringLiteral("profiles are 1 to %1").arg(kProfiles));
    return onAdapter(r, {operation, {}, n});
}

WebApi::Answer WebApi::profileLoad(const HttpRequest& r, const Args& args)
{
    return onProfile(r, QStringLiteral("profile-load"), args.value(0));
}

WebApi::Answer WebApi::profileSave(const HttpRequest& r, const Args& args)
{
    return onProfile(r, QStringLiteral("profile-save"), args.value(0));
}
