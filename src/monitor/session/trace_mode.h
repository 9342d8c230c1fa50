#pragma once
// The adapter's trace output switched on and off: the command sequences the
// call monitor and the live capture share.
#include <QByteArray>
#include <QSerialPort>
#include <QString>
#include <functional>

class AtChannel;

namespace TraceMode {

using SendAT = std::function<QString(const QString& cmd)>;
using WriteToPort = std::function<void(const QByteArray& bytes)>;

inline constexpr int kFlushMs = 500; // "ATCD8" on its way before the port closes

// "ATE0", "ATCD1", "ATCD9" through the command channel; true when the adapter
// confirmed with "MONITOR". The commands let events run: `carryOn`, asked
// after each, ends the sequence early by answering false.
bool switchOn(const SendAT& sendAT, const std::function<bool()>& carryOn = {});

// "ATCD8" straight to the port held for the trace, the port handed back to the
// command channel, then the closing commands through it, the first on the
// port still open.
void switchOff(AtChannel& at, const WriteToPort& writeToPort, const SendAT& sendAT);

// Whether an error of the port held for the trace means the adapter is gone.
bool isLineLoss(QSerialPort::SerialPortError e);

} // namespace TraceMode
