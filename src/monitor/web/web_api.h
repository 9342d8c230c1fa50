#pragma once
// The paths under /api/v1/ (docs/web.md): each a row of the route table in
// web_api.cpp with the method, the path (a "*" segment is a key or name) and
// the function that answers it; every answer is JSON, every error says why
// and changes nothing. The gate (login, Origin, body size) is WebOutput's.
#include "monitor/web/http_server.h"

#include <QStringList>
#include <optional>

class WebAuth;
class WebHost;
struct AdapterRequest;
class WebOutput;

class WebApi {
public:
    static constexpr int kPageLimit = 100, kMaxPageLimit = 1000;
    static constexpr int kMaxKeys = 1000;
    static constexpr int kProfiles = 4, kPhones = 2;

    WebApi(WebHost& host, WebOutput& output, WebAuth& auth);
    // Answers now or, for the adapter's operations, when they are done.
    void handle(const HttpRequest& request);

    using Answer = std::optional<HttpResponse>; // nothing: answered later
    using Args = QStringList;                   // the "*" segments
    struct Route {
        const char* method;
        const char* path;
        Answer (WebApi::*run)(const HttpRequest& request, const Args& args);
    };

private:
    Answer session(const HttpRequest& r, const Args&);
    Answer login(const HttpRequest& r, const Args&);
    Answer logout(const HttpRequest& r, const Args&);
    Answer state(const HttpRequest& r, const Args&);
    Answer livePicture(const HttpRequest& r, const Args& args);
    Answer calls(const HttpRequest& r, const Args&);
    Answer callsCsv(const HttpRequest& r, const Args&);
    Answer deleteCall(const HttpRequest& r, const Args& args);
    Answer deleteCalls(const HttpRequest& r, const Args&);
    Answer statistics(const HttpRequest& r, const Args&);
    Answer book(const HttpRequest& r, const Args&);
    Answer contacts(const HttpRequest& r, const Args&);
    Answer ignore(const HttpRequest& r, const Args&);
    Answer msnNames(const HttpRequest& r, const Args&);
    // The adapter's operations: run by the host in their turn, answered when done.
    Answer settingsRead(const HttpRequest& r, const Args&);
    Answer settingsWrite(const HttpRequest& r, const Args&);
    Answer factory(const HttpRequest& r, const Args&);
    Answer hangUp(const HttpRequest& r, const Args&);
    Answer resetCounters(const HttpRequest& r, const Args&);
    Answer profileLoad(const HttpRequest& r, const Args& args);
    Answer profileSave(const HttpRequest& r, const Args& args);
    Answer onAdapter(const HttpRequest& r, const AdapterRequest& request);
    Answer onProfile(const HttpRequest& r, const QString& operation, const QString& profile);

    // The changes of the phone book, the ignore list and the own numbers'
    // names (web_api_lists.cpp).
    Answer addEntry(const HttpRequest& r, const Args&);
    Answer editEntry(const HttpRequest& r, const Args& args);
    Answer deleteEntry(const HttpRequest& r, const Args& args);
    Answer entryPicture(const HttpRequest& r, const Args& args);
    Answer putPicture(const HttpRequest& r, const Args& args);
    Answer deletePicture(const HttpRequest& r, const Args& args);
    Answer putIgnore(const HttpRequest& r, const Args&);
    Answer putMsnNames(const HttpRequest& r, const Args&);
    // After a file was rewritten: the monitor reads it again, the pages hear of it.
    void listsChanged();

    // The rows of the call list a request's q, missed and ignored select, newest first:
    // ignored callers' calls only with ignored=1, as the window's "Ignored" toggle shows them.
    QList<int> selected(const HttpRequest& r) const;
    Answer removeRecords(const QStringList& keys);

    static const Route kRoutes[];
    WebHost& host_;
    WebOutput& output_;
    WebAuth& auth_;
};
