#pragma once
// The missed calls since the user last looked at the monitor, in its title
// and the tray's tool-tip: "Call Monitor (2 missed)". Looking is activating
// the window (a popup shows it without activating); opening it counts too.
// A missed call is a "Ring" record that started after that moment, so the
// count follows the list when records are deleted, sorted or read again
// (callhistory::missedSince).
#include <QDateTime>
#include <QObject>
#include <QString>

class CallList;
class Clock;
class QWidget;

class MissedCalls : public QObject {
    Q_OBJECT
public:
    MissedCalls(const CallList& list, Clock& clock, QWidget& window);

    int count() const { return count_; }
    // The user looks at the monitor now.
    void looked();

    // The title (or tool-tip) for a count.
    static QString titled(const QString& title, int count);

signals:
    void changed(int count);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void recount();
    void show();

    const CallList& list_;
    Clock& clock_;
    QWidget& window_;
    QString since_;
    int count_ = 0;
};
