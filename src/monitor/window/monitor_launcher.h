#pragma once
// Opening and closing the call monitor from the main window ("&Call monitor",
// TimerScan, the main window's closing).
#include "common/service_address.h"

#include <memory>
#include <optional>

class BookSource;
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

// The phone book the window edits: the service's, through its API, when the
// window works through a corvane-monitor on another folder (the system
// daemon, --service URL); else nullptr, the program folder's book.txt (which a
// service on this folder shares).
std::unique_ptr<BookSource> phoneBookSource(const Form1& form);
