#pragma once
// What the monitor publishes over MQTT, as messages; MqttOutput sends them.
// Under the device's base "<prefix>/<device-id>":
//   status                "online", or the will's "offline" (retained)
//   event                 each call event as --json writes it (QoS 1)
//   call                  the call events Home Assistant's event entity fires:
//                         {"event_type": ring|call|connect|disconnect|missed|unreached, ...}
//   channel/a/phase, channel/b/phase
//                         idle, ringing, dialing or talking (retained)
//   last_call             the last call that ended: number, name, msn, type, time, duration (retained)
//   missed                the missed calls since the user last looked (retained)
// and the Home Assistant discovery configs under "<discovery>/<component>/<device-id>/".
#include "monitor/engine/call_event.h"
#include "monitor/outputs/mqtt_client.h"
#include "monitor/outputs/mqtt_config.h"

#include <QList>
#include <optional>

namespace mqtt_messages {

inline constexpr char kOnline[] = "online", kOffline[] = "offline";

QString statusTopic(const MqttConfig& c);
// The phase's word: idle, ringing, dialing, talking.
QString phaseName(CallPhase phase);
MqttClient::Message status(const MqttConfig& c, bool online);
MqttClient::Message phase(const MqttConfig& c, int channel, CallPhase phase);
MqttClient::Message missed(const MqttConfig& c, int count);
// The messages a call event makes: the event, its Home Assistant event, and
// the channel's phase or the last call when those change.
QList<MqttClient::Message> forEvent(const MqttConfig& c, const CallEvent& e);
// The retained discovery configs: one device, every entity.
QList<MqttClient::Message> discovery(const MqttConfig& c);

} // namespace mqtt_messages
