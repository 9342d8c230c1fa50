#pragma once
// SIGTERM and SIGINT become a Qt signal on the UI thread, so the program can
// close its windows and save its settings as on a normal close.
#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested();

private:
    QSocketNotifier* notifier_ = nullptr;
};

// A file grown past the user's size limit (ulimit -f) is an ordinary write
// error, as on a full disk: the save fails and says so, where SIGXFSZ would end
// the program on the spot with the adapter left in trace mode.
void ignoreFileSizeSignal();
