#pragma once
// The serial line as the user chose it: which port, its bit rate and the pause
// after each command. Read in one place from the settings store, so the window,
// corvane-monitor, corvane-capture and corvane-config open the same line.
#include <QString>

class SettingsStore;

struct LineSettings {
    int port = 1;                             // "CommPort": 1 = the first port
    QString speed = QStringLiteral("115200"); // "Speed": bit/s in decimal digits
    float pause = 0.01f;                      // "CommDelay": seconds after each command

    bool operator==(const LineSettings&) const = default;
};

// The stored line settings; a value that does not convert reads as 0.
LineSettings readLineSettings(const SettingsStore& store);
// The same, and a non-empty `portOverride` (--port DEVICE or tcp://HOST:PORT)
// maps the stored port number to that device for this run, never stored.
LineSettings readLineSettings(SettingsStore& store, const QString& portOverride);
void writeLineSettings(SettingsStore& store, const LineSettings& line);
