#pragma once
// What the engine wants done by whoever runs it when a caller is announced or
// a call event is decided. The engine never touches a widget; the monitor
// session turns these into signals for the window and the outputs.
#include "monitor/engine/monitor_inputs.h"

#include <QString>

struct CallEvent;

class MonitorHost {
public:
    virtual ~MonitorHost() = default;
    // Make the window visible in normal state and enable TimerPopup; when the
    // popup ends, the window goes back to `wasVisible`.
    virtual void popupRequested(bool wasVisible) = 0;
    // Stop Timer2, then Close / set file / Open / Prev / Play, then enable Timer2.
    virtual void playCallerIdSound(const QString& wavFile) = 0;
    // SWOnTop1: keep the window above the others.
    virtual void keepOnTop(bool on) = 0;
    // Every call event the engine decides, for the outputs that listen to calls.
    virtual void callEvent(const CallEvent& /*event*/) {}
};

// The announcement of a caller not ignored, as the user's inputs ask for it:
// the window on the line and a window on a running service make it alike.
inline void announceCaller(MonitorHost& host, const MonitorInputs& inputs, const ViewState& view)
{
    if (inputs.popup)
        host.popupRequested(view.visible);
    if (inputs.callerIdSound)
        host.playCallerIdSound(inputs.wavFile);
    if (inputs.popup || view.normal) // a popup leaves the window in normal state
        host.keepOnTop(true);
}
