#pragma once
// Opening and closing the call monitor from the main window ("&Call monitor",
// TimerScan, the main window's closing).
#include "common/service_address.h"

#include <optional>

class Form1;
class FormMonitor;

// The corvane-monitor that holds the program folder, when the window is its
// front end: the call list there is the service's, so no monitor opens here.
void setFolderService(std::optional<serviceaddress::Address> service);

// The own-number check, then the main window hides and the monitor opens.
void Monitor_Click(Form1& form, int debugLevel, bool scanMode);
bool callMonitorOpen();
void closeCallMonitor();
FormMonitor* currentMonitor();
