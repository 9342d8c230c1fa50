#pragma once
// What the engine asks of the monitor window when a caller is announced. The
// engine never touches a widget; the window implements this.
#include <QString>

struct CallEvent;

class MonitorHost {
public:
    virtual ~MonitorHost() = default;
    virtual bool windowVisible() const = 0;
    // Neither minimised nor maximised.
    virtual bool windowStateNormal() const = 0;
    // Make the window visible in normal state and enable TimerPopup.
    virtual void popupRequested() = 0;
    // Stop Timer2, then Close / set file / Open / Prev / Play, then enable Timer2.
    virtual void playCallerIdSound(const QString& wavFile) = 0;
    // SWOnTop1: keep the window above the others.
    virtual void keepOnTop(bool on) = 0;
    // Every call event the engine decides, for the outputs that listen to calls.
    virtual void callEvent(const CallEvent& /*event*/) {}
};
