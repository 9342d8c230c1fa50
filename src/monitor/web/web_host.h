#pragma once
// What the web page's server takes from the program that runs it: the live
// display, the call list, the monitor's inputs (book, ignore list, own
// numbers' names, contacts), the adapter's connection, and the adapter's
// operations, which the program runs between leaving and re-entering trace
// mode. changed() says the connection, the busy state or the inputs moved.
#include "monitor/engine/monitor_display.h"
#include "monitor/engine/monitor_inputs.h"

#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPair>
#include <array>
#include <functional>

class CallList;
class ContactFolder;
class TracePane;
class TraceTree;

// An operation on the adapter as the API names it ("settings-read",
// "settings-write", "factory", "hangup", "counters-reset", "profile-load",
// "profile-save") with the request's body.
struct AdapterRequest {
    QString operation;
    QJsonObject body;
    int number = 0; // the profile (1-4) or the phone (1, 2)
};
// Its answer: an HTTP status and the JSON body (an error object when it failed;
// none with 204).
struct AdapterReply {
    int status = 200;
    QJsonObject body;
};

class WebHost : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual MonitorDisplay display() const = 0;
    virtual const MonitorInputs& inputs() const = 0;
    virtual CallList& callList() = 0;
    virtual int missedCount() const = 0;
    virtual QString adapterPort() const = 0;
    virtual bool adapterConnected() const = 0;
    // What the program is doing with the adapter ("settings", ...), "" when monitoring.
    virtual QString busyWith() const = 0;
    // The address-book folder followed, or null.
    virtual const ContactFolder* contacts() const = 0;

    // The own numbers' names (MSN, name), stored and in effect at once; false when not stored.
    virtual bool setMsnNames(const QList<QPair<QString, QString>>& names) = 0;
    // ignore.txt or book.txt was rewritten: the monitor reads it again.
    virtual void filesChanged() = 0;
    // Runs on the adapter when its turn comes; `done` is called once.
    virtual void adapter(const AdapterRequest& request, std::function<void(const AdapterReply&)> done) = 0;

    // The engine's trace panes (Text1 to Text3) and identifier tree.
    virtual std::array<TracePane*, 3> tracePanes() = 0;
    virtual TraceTree& traceTree() = 0;
    // The highest level a front end asks for (0: none); the engine traces at
    // it or at the program's own, whichever is higher. The level in effect:
    virtual void askTraceLevel(int level) = 0;
    virtual int traceLevel() const = 0;

signals:
    void changed();
    // The display moved (a lamp, a number, a duration): the pages follow it.
    void displayChanged();
};
