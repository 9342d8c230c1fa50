#pragma once
// The missed calls that count as news: "Ring" records of the call list that
// started after the monitor started, or after the user last looked at the
// call list (looked()). Computed from the list, so the count follows it when
// records are deleted, sorted or read again (callhistory::missedSince). The
// window's title and tray and the retained MQTT value of both programs read
// this one count (docs/mqtt.md).
#include <QObject>
#include <QString>

class CallList;
class Clock;

class MissedCount : public QObject {
    Q_OBJECT
public:
    // Counts from now on.
    MissedCount(const CallList& list, Clock& clock, QObject* parent = nullptr);

    int count() const { return count_; }
    // Someone looked at the calls now: the count starts again from zero.
    void looked();

signals:
    void changed(int count);

private:
    void recount();

    const CallList& list_;
    Clock& clock_;
    QString since_; // "yyyy-MM-dd HH:mm:ss", as the records keep their start
    int count_ = 0;
};
