#pragma once
// The call monitor of a front end: what a running corvane-monitor follows,
// read from its push channel instead of the line. Its state becomes the same
// display model the engine gives a window on the port, its call events the
// same events, and its call list the same records; the window's deletions and
// ignored callers go back to the service. The feed never decodes: the service
// holds the line and is the only one that does.
#include "common/service_address.h"
#include "device/push_channel.h"
#include "monitor/engine/call_event.h"
#include "monitor/engine/call_list.h"
#include "monitor/engine/monitor_display.h"
#include "monitor/engine/trace_pane.h"
#include "monitor/engine/trace_tree.h"

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <array>
#include <optional>

class QNetworkReply;

namespace servicefeed {

// What the state says of a channel beyond its display: its phase and when
// its call started.
struct ChannelLive {
    CallPhase phase = CallPhase::Idle;
    QDateTime start;
};
struct State {
    MonitorDisplay display;          // pictures as the service's URLs
    std::array<ChannelLive, 2> live; // A, B
    bool connected = true;           // the adapter, as the service has it
    QString busyWith;                // "" while the service monitors
    int missed = 0;
};
State stateOf(const QJsonObject& state);
// A call event of the push channel; nothing for an object that is none.
std::optional<CallEvent> eventOf(const QJsonObject& event);
// A record of GET /api/v1/calls, its fields as list.txt keeps them.
CallRecord recordOf(const QJsonObject& record);
// The identifier tree of a `tree` event.
QList<TreeNode> treeOf(const QJsonObject& tree);

} // namespace servicefeed

class ServiceFeed : public QObject {
    Q_OBJECT
public:
    static constexpr int kRetryMs = PushChannel::kRetryMs;
    static constexpr int kPageSize = 1000;          // the most GET /api/v1/calls gives at once
    static constexpr int kMostRecords = 200000;     // a list beyond it is shown cut
    static constexpr qint64 kMostPicture = 2 << 20; // as the service takes them
    static constexpr int kMostPictures = 64;        // kept in the temporary folder at once
    static constexpr int kMostPending = 64;         // call events waiting for their state

    // `traceLevel` > 0: the service traces at that level (or a higher one
    // another front end asks for) and the feed's panes and tree follow it.
    explicit ServiceFeed(serviceaddress::Address service, int traceLevel = 0, QObject* parent = nullptr);
    ~ServiceFeed() override;
    const serviceaddress::Address& address() const { return service_; }

    // Connects to the push channel and keeps connecting while the window is open.
    void start();
    void stop();
    // The push channel answers and has sent its state.
    bool attached() const { return attached_; }

    // The display as the window draws it: the service's, with the pictures as files here.
    MonitorDisplay display() const;
    const servicefeed::State& state() const { return state_; }
    // The service's call list, newest first, and each record's key there.
    const QList<CallRecord>& records() const { return records_; }

    // Read the call list again (the phone book changed: the service names afresh).
    void fetchCalls();
    // The records at these rows out of the service's list; it says when they are gone.
    void deleteCalls(const QList<int>& rows);
    // Appends the number to the service's ignore list; the reply is a note for the user.
    void ignore(const QString& number, std::function<void(bool done, const QString& why)> replied);

    // The service's trace panes (Text1 to Text3) and identifier tree as this
    // window shows them: from the moment it attached, the text as the
    // service's engine wrote it.
    TracePane& tracePane(int pane) { return panes_[size_t(pane)]; }
    TraceTree& traceTree() { return tree_; }
    // The level the service traces at (0 before it said).
    int tracedLevel() const { return tracedLevel_; }
    // "Stop Trace" and "Resume Trace" of this window: the service traces on
    // for its other front ends; what comes meanwhile is not shown.
    void pauseTrace(bool paused) { tracePaused_ = paused; }
    // "CLEAR THE WINDOWS" of this window: its panes only.
    void clearTrace();

signals:
    void stateChanged();
    void callEvent(const CallEvent& event);
    void recordsChanged();
    // The service's phone book, ignore list or own numbers' names changed.
    void listsChanged();
    // The push channel was lost (the service ended or is out of reach) or is back.
    void attachedChanged(bool attached);
    // A request of the window did not work: the words for the user.
    void problem(const QString& text);
    // The service traces at another level (another front end asked for a higher one, or left).
    void tracedLevelChanged(int level);

private:
    QNetworkRequest request(const QString& path) const;
    void streamEnded();
    void handle(const pushchannel::Message& message);
    void setState(const QJsonObject& state);
    void addTrace(const QJsonObject& trace);
    void emitEvents(bool waitForPictures = true);
    void fetchPage(int offset, QList<CallRecord> records, QList<QByteArray> keys);
    void fetchPicture(const QString& url);
    void keepPicture(const QString& url, const QByteArray& bytes);
    QString pictureFile(const QString& url) const;
    void setAttached(bool attached);

    serviceaddress::Address service_;
    QNetworkAccessManager network_;
    PushChannel channel_;
    bool attached_ = false;
    servicefeed::State state_;
    QList<CallRecord> records_;
    QList<QByteArray> keys_; // records_'s keys at the service
    int fetching_ = 0;       // which fetch of the list is current; older answers are dropped
    QTemporaryDir pictures_;
    QHash<QString, QString> pictureFiles_; // the service's URL -> the file here
    QHash<QString, QNetworkReply*> pictureReplies_;
    int pictureCount_ = 0;
    QList<CallEvent> pending_;
    const int traceLevel_;
    int tracedLevel_ = 0;
    bool tracePaused_ = false;
    std::array<TracePane, 3> panes_;
    TraceTree tree_;
};
