#pragma once
// corvane-capture's command line: the extcap calls Wireshark makes, one per
// phase, and the capture's own arguments.
#include "common/option_parser.h"

enum class CapturePhase { None, Interfaces, Dlts, Config, Capture };

struct CaptureOptions : CommandLineStatus {
    CapturePhase phase = CapturePhase::None;
    QString iface;     // --extcap-interface
    QString fifo;      // --fifo: where the pcap goes
    QString port;      // --port; empty: the port the settings window uses
    QString otherPort; // --other-port: a port typed in, used instead of --port
    bool listenOnly = false;

    QString device() const { return otherPort.isEmpty() ? port : otherPort; }
};

// Arguments without the program name. --help and --version win over errors.
CaptureOptions parseCaptureOptions(const QStringList& arguments);
QString captureUsage();
