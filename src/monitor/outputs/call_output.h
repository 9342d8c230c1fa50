#pragma once
// What every output of the monitor is to CallOutputs: it hears each call
// event and stops when told (says goodbye where it has someone to say it to).
#include "monitor/engine/call_event.h"

class CallOutput {
public:
    virtual ~CallOutput() = default;
    virtual void callEvent(const CallEvent& event) = 0;
    virtual void stop() {}
};
