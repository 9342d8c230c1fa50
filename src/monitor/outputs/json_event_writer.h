#pragma once
// JSON events ("corvane-monitor --json"): one JSON object per line for each
// call event, for scripts: event, time, channel, msn, number, name, place,
// number kind, type, duration, cost (and answered when ringing stopped).
#include "monitor/outputs/call_output.h"

#include <QByteArray>
#include <QObject>

class QIODevice;

class JsonEventWriter : public QObject, public CallOutput {
    Q_OBJECT
public:
    // Writes to `out` (stdout in the program), which must outlive the writer.
    explicit JsonEventWriter(QIODevice* out, QObject* parent = nullptr);

    // One event as its line, without the line end.
    static QByteArray toJson(const CallEvent& event);

public slots:
    void callEvent(const CallEvent& event) override;

private:
    QIODevice* out_;
};
