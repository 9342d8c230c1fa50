#pragma once
// A front end's requests to a running corvane-monitor: its configuration API
// (the settings, the factory settings, the profiles, a hang-up, the counters)
// and its state, each a JSON request with the token of its address file. The
// service leaves trace mode for the adapter's requests and goes back into it.
// Each request waits with events running, and never longer than its timeout.
// corvane-config and the settings window ask through this one class.
#include "common/service_address.h"

#include <QEventLoop>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

class ServiceClient {
public:
    // A settings request may wait for a call's end (at most ten minutes there).
    static constexpr int kAdapterTimeoutMs = 11 * 60 * 1000;
    // The service's state is at hand: it answers at once or not at all.
    static constexpr int kStateTimeoutMs = 5000;

    // The commands that act at once, as the API names them.
    enum class Command { ProfileLoad, ProfileSave, Factory, HangUp, ResetCounters };

    struct Reply {
        int status = 0; // 0: the service did not answer
        QJsonObject body;
        QByteArray data; // the body as sent (a picture), when it is no JSON object
        QNetworkReply::NetworkError error = QNetworkReply::NoError;
        // The service is not there any more: nothing listens, it closed the connection, or it said it ends.
        bool gone() const;
        // The service's message, or the network's reason when it did not answer.
        QString message() const;
        // The same for the user: serviceErrorText() of the body.
        QString explained() const;
    };

    explicit ServiceClient(serviceaddress::Address service);
    const serviceaddress::Address& address() const { return service_; }
    // The user's clicks and keys wait until a request is answered (for short
    // requests whose window cannot take a second one meanwhile).
    void holdInputWhileWaiting() { loopFlags_ = QEventLoop::ExcludeUserInputEvents; }
    // A request waits for its answer (events run meanwhile).
    bool waiting() const { return waiting_ > 0; }

    Reply request(
        const QByteArray& method, const QString& path, const QJsonObject& body = {}, int timeoutMs = kAdapterTimeoutMs);
    // The same with a body of `type` ("image/png"); an empty `data` sends none.
    Reply send(const QByteArray& method, const QString& path, const QByteArray& data, const QByteArray& type,
        int timeoutMs = kAdapterTimeoutMs);
    // GET settings: 200 and {"settings": {NAME: TEXT ...}}.
    Reply readSettings();
    // PUT settings with NAME -> TEXT: 200, the settings read back, "refused" and "warnings".
    Reply writeSettings(const QJsonObject& changes);
    // 204 when done; `number` is the profile (1..4) or the phone (1, 2).
    Reply command(Command command, int number = 0);
    // What the service's state says it is busy with ("busyWith") while it runs the command.
    static QString operationOf(Command command);
    // GET state: 200 and {"adapter": {"port", "connected", ...} ...}.
    Reply state();

private:
    serviceaddress::Address service_;
    QNetworkAccessManager network_;
    QEventLoop::ProcessEventsFlags loopFlags_ = QEventLoop::AllEvents;
    int waiting_ = 0;
};

// A request to the service at `path` with its token; redirects are not followed.
QNetworkRequest serviceRequest(const serviceaddress::Address& service, const QString& path);

// An error the service answered ({"error": CODE, "message": "..."}) in the
// user's language: a text for its code, followed by the service's message
// where that gives the details (which value, which file); the message alone
// for a code without a text here (a network error's reason, a newer service's
// code).
QString serviceErrorText(const QJsonObject& body);

// The address of the service at `url` ("http://127.0.0.1:40123/"): its token
// is the URL's password, else the one in the address file naming that URL.
serviceaddress::Address serviceAt(const QString& url);
