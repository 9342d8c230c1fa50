#pragma once
// Opening and closing the call monitor from the main window ("&Call monitor",
// TimerScan, the main window's closing).
class Form1;
class FormMonitor;

// The own-number check, then the main window hides and the monitor opens.
void Monitor_Click(Form1& form, int debugLevel, bool scanMode);
bool callMonitorOpen();
void closeCallMonitor();
FormMonitor* currentMonitor();
