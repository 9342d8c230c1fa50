#include "monitor/engine/monitor_display.h"

#include "monitor/engine/call_state.h"

#include <QList>
#include <utility>

namespace {

ChannelDisplay channelOf(const ChannelState& c)
{
    ChannelDisplay d;
    d.active = c.active;
    d.connected = c.phase == CallPhase::Talking;
    d.ringing = c.ringSounds;
    d.quiet = c.ignored;
    d.number = c.number;
    d.name = c.name;
    d.place = c.place;
    d.msn = c.msn;
    d.cost = c.cost;
    d.duration = c.duration;
    d.picture = c.picture;
    return d;
}

QString flag(int value)
{
    return QString::number(value);
}

// The channel fields state.txt keeps, by their names for A and B, in its order.
struct StateField {
    const char* a;
    const char* b;
    QString (*text)(const ChannelDisplay&);
};
const StateField kChannelFields[] = {
    {"Check1", "Check2", [](const ChannelDisplay& c) { return flag(c.active); }},
    {"Check3", "Check4", [](const ChannelDisplay& c) { return flag(c.connected); }},
    {"Check5", "Check6", [](const ChannelDisplay& c) { return flag(c.ringing); }},
    {"Label1", "Label2", [](const ChannelDisplay& c) { return c.number; }},
    {"Label19", "Label20", [](const ChannelDisplay& c) { return c.name; }},
    {"LabelMSNA", "LabelMSNB", [](const ChannelDisplay& c) { return c.msn; }},
    {"Label9", "Label10", [](const ChannelDisplay& c) { return c.cost; }},
    {"LabelDur1", "LabelDur2", [](const ChannelDisplay& c) { return c.duration; }},
};

} // namespace

MonitorDisplay displayOf(const CallState& s)
{
    MonitorDisplay d;
    for (int i = 0; i < 2; ++i)
        d.channels[i] = channelOf(s.channels[i]);
    d.LabelCID = s.lastCaller;
    d.cidPlace = s.lastCallerPlace;
    d.LabelTIM = s.lastCallTime;
    d.LabelNOW = s.clockText;
    d.Image2 = s.lastPicture;
    d.ImageLED = s.trafficLamp;
    return d;
}

QString stateText(const CallState& s)
{
    const MonitorDisplay d = displayOf(s);
    QList<std::pair<const char*, QString>> items;
    for (const StateField& f : kChannelFields)
        items << std::pair{f.a, f.text(d.channels[0])} << std::pair{f.b, f.text(d.channels[1])};
    items << std::pair{"LabelCID", d.LabelCID} << std::pair{"CallWaiting", flag(s.CallWaiting)}
          << std::pair{"CidCallerA", s.channels[0].cidCaller} << std::pair{"CidCalledA", s.channels[0].cidCalled}
          << std::pair{"CidCallerB", s.channels[1].cidCaller} << std::pair{"CidCalledB", s.channels[1].cidCalled}
          << std::pair{"CidCallerBusy", s.CidCallerBusy} << std::pair{"CidCalledBusy", s.CidCalledBusy};
    QString text;
    for (const auto& [name, value] : items)
        text += QLatin1String(name) + u'=' + value + u'\n';
    return text;
}
