#pragma once
// What the engine wants done by whoever runs it when a caller is announced or
// a call event is decided. The engine never touches a widget; the monitor
// session turns these into signals for the window and the outputs.
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
