#pragma once
// The web API's JSON for the monitor's values: the live state, call records
// with their keys, the statistics, phone-book entries; and the errors.
#include "monitor/engine/call_history.h"
#include "monitor/engine/call_state.h"
#include "monitor/engine/monitor_display.h"
#include "monitor/engine/monitor_inputs.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <array>
#include <optional>

struct BookEntry;
struct CallRecord;
struct CallStatistics;
struct HttpRequest;
struct HttpResponse;

namespace webjson {

// A record's key: 16 hex digits of a hash of its line; the same while the record is.
QByteArray recordKey(const CallRecord& record);
QByteArray entryKey(const BookEntry& entry);

// What the API knows of a channel beyond its display: the phase from the
// call events and when its call started.
struct ChannelLive {
    CallPhase phase = CallPhase::Idle;
    QDateTime start;
};
struct Adapter {
    QString port;
    bool connected = true;
    QString busyWith; // "" when monitoring
};
QJsonObject state(const MonitorDisplay& display, const std::array<ChannelLive, 2>& live, const MonitorInputs& inputs,
    const Adapter& adapter, int missed);
// The URL of a picture file for the API, "" for none ("noname.jpg" is none).
QString pictureUrl(const QString& path, const QString& url);
bool hasPicture(const QString& path);

QJsonObject record(const CallRecord& r, const MonitorInputs& inputs, const callhistory::PlaceOf& places);
QJsonObject statistics(const CallStatistics& s);
QJsonObject entry(const BookEntry& e);

HttpResponse json(int status, const QJsonObject& body);
// 204 without a body.
HttpResponse noContent();
// The request's body as a JSON object; nothing when it is none.
std::optional<QJsonObject> jsonBody(const HttpRequest& request);
// A query value as a number in [low, high]; `fallback` when absent; nothing when bad.
std::optional<int> queryNumber(const HttpRequest& request, const char* name, int fallback, int low, int high);
// {"error": code, "message": message}
HttpResponse error(int status, const char* code, const QString& message);

} // namespace webjson
