#include "monitor/session/trace_mode.h"

#include "device/at_channel.h"
#include "device/port_link.h"

namespace {
const char* const kOpeningCommands[] = {"ATE0", "ATCD1", "ATCD9"};
// Echo back on twice (the first may be eaten by the end of the trace), and
// every trace output of the adapter off.
const char* const kClosingCommands[] = {"ATE1", "ATE1", "ATCD0", "ATCD2", "ATCD4", "ATCD6", "ATCD10"};
} // namespace

namespace TraceMode {

bool switchOn(const SendAT& sendAT, const std::function<bool()>& carryOn)
{
    QString answer;
    for (const char* cmd : kOpeningCommands) {
        answer = sendAT(QLatin1String(cmd));
        if (carryOn && !carryOn())
            return false;
    }
    return answer == QLatin1String("MONITOR");
}

void switchOff(AtChannel& at, const WriteToPort& writeToPort, const SendAT& sendAT)
{
    if (at.trace().active() && at.port().isOpen()) {
        writeToPort("ATCD8\r");
        at.port().waitForBytesWritten(kFlushMs);
        at.port().readAll();
    }
    at.trace().release();
    // The port stays open until the first closing command is answered, so
    // nothing closes the line while "ATCD8" may still be on its way.
    for (const char* cmd : kClosingCommands)
        sendAT(QLatin1String(cmd));
    if (at.port().isOpen())
        at.port().close(); // no command took it (the latch was set)
}

bool isLineLoss(QSerialPort::SerialPortError e)
{
    return e == QSerialPort::ResourceError || e == QSerialPort::ReadError || e == QSerialPort::WriteError;
}

} // namespace TraceMode
