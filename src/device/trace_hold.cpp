#include "device/trace_hold.h"

#include "device/at_channel.h"
#include "device/port_link.h"

bool TraceHold::take(std::function<void()> onData)
{
    onData_ = std::move(onData);
    const bool opened = at_.openForTrace();
    active_ = true;
    return opened;
}

void TraceHold::lapse()
{
    active_ = false;
    if (at_.port().isOpen())
        at_.port().close(); // a vanished device would keep signalling
}

bool TraceHold::regain()
{
    if (!at_.openForTrace())
        return false;
    active_ = true;
    return true;
}

void TraceHold::release()
{
    active_ = false;
    onData_ = nullptr;
}

void TraceHold::deliver() const
{
    if (onData_)
        onData_();
}
