#pragma once
// Reading the S-registers into the settings window and writing the window
// back, command by command, over a send function (SendAT or a test double).
#include <QString>
#include <QtGlobal>
#include <array>
#include <functional>

class SettingsElements;

struct RegisterIo {
    std::function<QString(const QString& cmd)> send;
    std::array<quint8, 128>& image;
    SettingsElements& elements;
    // Progress for the status bar: (registers done, registers in all).
    std::function<void(int done, int total)> progress = {};
    // A warning message box (text, title).
    std::function<void(const QString& text, const QString& title)> warn = {};
};

// Queries the sixteen registers in their fixed order and sets the elements.
void readRegisters(RegisterIo& io);
// Writes the elements back: read-modify-write registers first, then the
// whole-value ones; out-of-range hook time and rings are skipped with a warning.
void sendPotsSettings(RegisterIo& io);

inline const QString kHookWarning =
    QStringLiteral("Hook time value must be between 200 and 1000 ms! Value will be ignored.");
inline const QString kRingsWarning = QStringLiteral("Rings value must be between 0 and 120! Value will be ignored.");
inline const QString kWarningTitle = QStringLiteral("Warning!");
