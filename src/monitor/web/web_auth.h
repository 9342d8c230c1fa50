#pragma once
// Who may use the web API: nobody needs to log in without a password (the
// server then listens on loopback only); with one, a request carries either
// the session cookie the login gave or "Authorization: Bearer <password>".
// Wrong passwords from an address are slowed down, changing requests from a
// foreign page refused (the Origin check), and everything kept is bounded.
#include "monitor/web/http_server.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QString>

class WebAuth {
public:
    static constexpr int kFreeAttempts = 5;    // wrong passwords before the waits begin
    static constexpr int kMaxWaitSeconds = 30; // one second more per attempt, up to this
    static constexpr qint64 kSessionMs = 7LL * 24 * 3600 * 1000;
    static constexpr int kMaxSessions = 1000;  // the oldest goes first
    static constexpr int kMaxAddresses = 4096; // addresses whose wrong attempts are counted
    static constexpr char kCookie[] = "corvane_session";

    explicit WebAuth(QByteArray password = {});
    // The token of the service's address file: a front end's "Bearer <token>"
    // always passes; with `required`, nothing else does (no password then).
    void setFrontEndToken(QByteArray token, bool required);

    bool passwordRequired() const { return !password_.isEmpty() || tokenRequired_; }
    // A valid session cookie or Bearer password (or no password set).
    bool allows(const HttpRequest& request);
    bool loggedIn(const HttpRequest& request);

    // Seconds the address must still wait before it may try a password; 0: now.
    int waitSeconds(const QHostAddress& peer) const;
    // A password tried from `peer`: true when right (its failures forgotten).
    bool tryPassword(const QHostAddress& peer, const QByteArray& password);
    // A new session; the Set-Cookie value.
    QByteArray newSession(bool secure);
    void endSession(const HttpRequest& request);
    // The Set-Cookie value that ends the cookie in the browser.
    static QByteArray clearedCookie();

    // No Origin (a script), or the server's own: http[s]:// and the Host asked for.
    static bool sameOrigin(const HttpRequest& request, bool tls);

private:
    QByteArray sessionOf(const HttpRequest& request) const;

    struct Failures {
        int count = 0;
        qint64 until = 0; // no attempt before this (ms on clock_)
    };
    QByteArray password_;
    QByteArray frontEndToken_;
    bool tokenRequired_ = false;
    QElapsedTimer clock_;
    QHash<QByteArray, qint64> sessions_; // token -> expiry (ms on clock_)
    QHash<QString, Failures> failures_;
};
