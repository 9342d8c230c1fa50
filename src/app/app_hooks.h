#pragma once
// Menu entries and timers of the main window reach the windows of later parts
// (phone book, call monitor) through these hooks; main.cpp wires them. An
// unset hook does nothing.
#include <functional>

class QWidget;

struct AppHooks {
    std::function<void(QWidget* parent)> openPhoneBook; // "&Phonebook"
    std::function<void()> openCallMonitor;              // "&Call monitor" and TimerScan
    std::function<void()> closeCallMonitor;             // main window closing
    std::function<bool()> callMonitorOpen;
};

AppHooks& appHooks();
