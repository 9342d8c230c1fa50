#pragma once
// The missed calls in the monitor's title and the tray's tool-tip: "Call
// Monitor (2 missed)". The count is the session's MissedCount; looking at the
// monitor (activating the window; a popup shows it without activating, opening
// it counts) starts it again.
#include <QObject>
#include <QString>

class MissedCount;
class QWidget;

class MissedCalls : public QObject {
    Q_OBJECT
public:
    MissedCalls(MissedCount& count, QWidget& window);

    int count() const;
    // The window's own title, which the count follows ("Call Monitor" until set).
    void setTitle(const QString& title);

    // The title (or tool-tip) for a count.
    static QString titled(const QString& title, int count);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show();

    MissedCount& count_;
    QWidget& window_;
    QString title_;
};
