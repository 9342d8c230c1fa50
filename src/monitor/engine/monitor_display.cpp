#include "monitor/engine/monitor_display.h"

#include "monitor/engine/call_state.h"

#include <QList>
#include <utility>

MonitorDisplay displayOf(const CallState& s)
{
    const ChannelState& a = s.channels[0];
    const ChannelState& b = s.channels[1];
    MonitorDisplay d;
    d.Check1 = a.active;
    d.Check2 = b.active;
    d.Check3 = a.phase == CallPhase::Talking;
    d.Check4 = b.phase == CallPhase::Talking;
    d.Check5 = a.ringSounds;
    d.Check6 = b.ringSounds;
    d.Label1 = a.number;
    d.Label2 = b.number;
    d.Label19 = a.name;
    d.Label20 = b.name;
    d.LabelMSNA = a.msn;
    d.LabelMSNB = b.msn;
    d.Label9 = a.cost;
    d.Label10 = b.cost;
    d.LabelDur1 = a.duration;
    d.LabelDur2 = b.duration;
    d.LabelCID = s.lastCaller;
    d.LabelTIM = s.lastCallTime;
    d.LabelNOW = s.clockText;
    d.Image2 = s.lastPicture;
    d.ImageA = a.picture;
    d.ImageB = b.picture;
    d.ImageLED = s.trafficLamp;
    return d;
}

QString stateText(const CallState& s)
{
    const MonitorDisplay d = displayOf(s);
    const QList<std::pair<const char*, QString>> items{
        {"Check1", QString::number(d.Check1)},
        {"Check2", QString::number(d.Check2)},
        {"Check3", QString::number(d.Check3)},
        {"Check4", QString::number(d.Check4)},
        {"Check5", QString::number(d.Check5)},
        {"Check6", QString::number(d.Check6)},
        {"Label1", d.Label1},
        {"Label2", d.Label2},
        {"Label19", d.Label19},
        {"Label20", d.Label20},
        {"LabelMSNA", d.LabelMSNA},
        {"LabelMSNB", d.LabelMSNB},
        {"Label9", d.Label9},
        {"Label10", d.Label10},
        {"LabelDur1", d.LabelDur1},
        {"LabelDur2", d.LabelDur2},
        {"LabelCID", d.LabelCID},
        {"CallWaiting", QString::number(s.CallWaiting)},
        {"CidCallerA", s.channels[0].cidCaller},
        {"CidCalledA", s.channels[0].cidCalled},
        {"CidCallerB", s.channels[1].cidCaller},
        {"CidCalledB", s.channels[1].cidCalled},
        {"CidCallerBusy", s.CidCallerBusy},
        {"CidCalledBusy", s.CidCalledBusy},
    };
    QString text;
    for (const auto& [name, value] : items)
        text += QLatin1String(name) + u'=' + value + u'\n';
    return text;
}
