#include "monitor/outputs/mqtt_messages.h"

#include "monitor/outputs/event_names.h"
#include "monitor/outputs/json_event_writer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace mqtt_messages {

namespace {

constexpr char kChannelNames[][2] = {"a", "b"};
constexpr CallPhase kPhases[] = {CallPhase::Idle, CallPhase::Ringing, CallPhase::Dialing, CallPhase::Talking};

QByteArray json(const QJsonObject& o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QJsonValue textOrNull(const QString& s)
{
    return s.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(s);
}

QString topic(const MqttConfig& c, const QString& leaf)
{
    return c.base() + u'/' + leaf;
}

QString phaseTopic(const MqttConfig& c, int channel)
{
    return topic(c, QStringLiteral("channel/%1/phase").arg(QLatin1String(kChannelNames[channel])));
}

int channelIndex(const CallEvent& e)
{
    return e.channel == u'A' ? 0 : e.channel == u'B' ? 1 : -1;
}

// The Home Assistant event type of a call event, or "" for none.
QString eventType(const CallEvent& e)
{
    using Kind = CallEvent::Kind;
    switch (e.kind) {
    case Kind::Incoming:
    case Kind::Waiting: return QStringLiteral("ring");
    case Kind::Outgoing: return QStringLiteral("call");
    case Kind::Connected: return QStringLiteral("connect");
    case Kind::Ended:
        return e.missed()      ? QStringLiteral("missed")
               : e.unreached() ? QStringLiteral("unreached")
                               : QStringLiteral("disconnect");
    case Kind::RingEnded:
    case Kind::Logged:
    case Kind::Phase: break;
    }
    return {};
}

QJsonObject callFields(const CallEvent& e)
{
    return {{"number", textOrNull(e.number)}, {"name", textOrNull(e.name)}, {"place", textOrNull(e.place)},
        {"number_kind", textOrNull(event_names::numberKind(e))}, {"msn", textOrNull(e.msn)},
        {"channel", textOrNull(e.channel.isNull() ? QString() : QString(e.channel))}};
}

QJsonObject device(const MqttConfig& c)
{
    return {{"identifiers", QJsonArray{QStringLiteral("corvane_") + c.deviceId}},
        {"name", QStringLiteral("Corvane %1").arg(c.deviceId)}, {"manufacturer", QStringLiteral("DodOva")},
        {"model", QStringLiteral("ISDN terminal adapter (Corvane monitor)")}};
}

MqttClient::Message config(const MqttConfig& c, const char* component, const QString& object, QJsonObject o)
{
    o.insert("unique_id", QStringLiteral("corvane_%1_%2").arg(c.deviceId, object));
    o.insert("availability_topic", statusTopic(c));
    o.insert("device", device(c));
    return {QStringLiteral("%1/%2/%3/%4/config").arg(c.discoveryPrefix, QLatin1String(component), c.deviceId, object),
        json(o), 1, true};
}

} // namespace

QString statusTopic(const MqttConfig& c)
{
    return topic(c, QStringLiteral("status"));
}

QString phaseName(CallPhase p)
{
    switch (p) {
    case CallPhase::Idle: return QStringLiteral("idle");
    case CallPhase::Ringing: return QStringLiteral("ringing");
    case CallPhase::Dialing: return QStringLiteral("dialing");
    case CallPhase::Talking: return QStringLiteral("talking");
    }
    return {};
}

MqttClient::Message status(const MqttConfig& c, bool online)
{
    return {statusTopic(c), online ? kOnline : kOffline, 1, true};
}

MqttClient::Message phase(const MqttConfig& c, int channel, CallPhase p)
{
    return {phaseTopic(c, channel), phaseName(p).toUtf8(), 1, true};
}

MqttClient::Message missed(const MqttConfig& c, int count)
{
    return {topic(c, QStringLiteral("missed")), QByteArray::number(count), 1, true};
}

QList<MqttClient::Message> forEvent(const MqttConfig& c, const CallEvent& e)
{
    QList<MqttClient::Message> out{{topic(c, QStringLiteral("event")), JsonEventWriter::toJson(e), 1, false}};
    if (const QString type = eventType(e); !type.isEmpty()) {
        QJsonObject o = callFields(e);
        o.insert("event_type", type);
        out.append({topic(c, QStringLiteral("call")), json(o), 1, false});
    }
    if (e.kind == CallEvent::Kind::Phase && channelIndex(e) >= 0)
        out.append(phase(c, channelIndex(e), e.phase));
    if (e.kind == CallEvent::Kind::Ended) {
        QJsonObject o = callFields(e);
        o.insert("type", textOrNull(e.type ? call_type::text(*e.type) : QString()));
        o.insert("time", e.start.toOffsetFromUtc(e.start.offsetFromUtc()).toString(Qt::ISODate));
        o.insert("duration", e.seconds);
        out.append({topic(c, QStringLiteral("last_call")), json(o), 1, true});
    }
    return out;
}

QList<MqttClient::Message> discovery(const MqttConfig& c)
{
    QJsonArray types;
    for (const char* t : {"ring", "call", "connect", "disconnect", "missed", "unreached"})
        types.append(QLatin1String(t));
    QList<MqttClient::Message> out{config(c, "event", QStringLiteral("call"),
        {{"name", "Call"}, {"state_topic", topic(c, QStringLiteral("call"))}, {"event_types", types},
            {"icon", "mdi:phone"}})};
    QJsonArray phases;
    for (CallPhase p : kPhases)
        phases.append(phaseName(p));
    for (int ch = 0; ch < 2; ++ch) {
        const QString letter = QLatin1String(kChannelNames[ch]);
        out.append(config(c, "binary_sensor", QStringLiteral("ringing_") + letter,
            {{"name", QStringLiteral("Ringing %1").arg(letter.toUpper())}, {"state_topic", phaseTopic(c, ch)},
                {"value_template", "{{ 'ON' if value == 'ringing' else 'OFF' }}"}, {"icon", "mdi:phone-ring"}}));
        out.append(config(c, "sensor", QStringLiteral("phase_") + letter,
            {{"name", QStringLiteral("Channel %1").arg(letter.toUpper())}, {"state_topic", phaseTopic(c, ch)},
                {"device_class", "enum"}, {"options", phases}, {"icon", "mdi:phone-classic"}}));
    }
    const QString lastCall = topic(c, QStringLiteral("last_call"));
    out.append(config(c, "sensor", QStringLiteral("last_caller"),
        {{"name", "Last caller"}, {"state_topic", lastCall},
            {"value_template", "{{ value_json.name or value_json.number or 'unknown' }}"},
            {"json_attributes_topic", lastCall}, {"icon", "mdi:phone-log"}}));
    out.append(config(c, "sensor", QStringLiteral("missed"),
        {{"name", "Missed calls"}, {"state_topic", topic(c, QStringLiteral("missed"))}, {"state_class", "measurement"},
            {"icon", "mdi:phone-missed"}}));
    return out;
}

} // namespace mqtt_messages
