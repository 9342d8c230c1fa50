#include "monitor/outputs/json_event_writer.h"

#include "monitor/outputs/event_names.h"

#include <QFileDevice>
#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

// A field the event does not have is null rather than missing, so every
// object has the same keys.
QJsonValue textOrNull(const QString& s)
{
    return s.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(s);
}

QString isoTime(const QDateTime& t)
{
    return t.toOffsetFromUtc(t.offsetFromUtc()).toString(Qt::ISODate); // with the local offset
}

// One value in JSON notation, escaped as QJsonDocument escapes it.
QByteArray encoded(const QJsonValue& v)
{
    const QByteArray array = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

} // namespace

JsonEventWriter::JsonEventWriter(QIODevice* out, QObject* parent) : QObject(parent), out_(out)
{
}

QByteArray JsonEventWriter::toJson(const CallEvent& e)
{
    // Built by hand to keep the keys in this order, "event" first.
    QList<std::pair<const char*, QJsonValue>> fields{
        {"event", event_names::kind(e.kind)},
        {"time", isoTime(e.time)},
        {"channel", textOrNull(event_names::channel(e))},
        {"msn", textOrNull(e.msn)},
        {"msn_name", textOrNull(e.msnName)},
        {"number", textOrNull(e.number)},
        {"name", textOrNull(e.name)},
        {"place", textOrNull(e.place)},
        {"number_kind", textOrNull(event_names::numberKind(e))},
        {"type", textOrNull(e.type ? call_type::text(*e.type) : QString())},
        {"duration", textOrNull(e.duration)},
        {"cost", textOrNull(e.cost)},
    };
    if (e.kind == CallEvent::Kind::RingEnded || e.kind == CallEvent::Kind::Ended)
        fields.append({"answered", e.answered});
    if (e.kind == CallEvent::Kind::Ended)
        fields.append({"seconds", e.seconds});
    if (e.kind == CallEvent::Kind::Phase)
        fields.append({"phase", callPhaseName(e.phase)});
    QByteArray line = "{";
    for (const auto& [key, value] : fields)
        line += (line.size() > 1 ? ",\"" : "\"") + QByteArray(key) + "\":" + encoded(value);
    return line + '}';
}

void JsonEventWriter::callEvent(const CallEvent& event)
{
    if (!out_ || !out_->isWritable())
        return;
    out_->write(toJson(event) + '\n');
    if (auto* file = qobject_cast<QFileDevice*>(out_))
        file->flush(); // a script reading a pipe sees each event when it happens
}
