#pragma once
// Reading the S-registers into the settings window and writing the window
// back, command by command, over a send function (SendAT or a test double).
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <array>
#include <functional>

#include "device/at_reply.h"

class SettingsElements;

struct RegisterIo {
    std::function<AtReply(const QString& cmd)> send;
    std::array<quint8, 128>& image;
    SettingsElements& elements;
    // Progress for the status bar: (registers done, registers in all).
    std::function<void(int done, int total)> progress = {};
    // A warning message box (text, title).
    std::function<void(const QString& text, const QString& title)> warn = {};
    // Reading: runs once the PPP-mode choice follows the bundle bits of S87.
    std::function<void()> pppChosen = {};
    // Writing: the captions of the registers the device refused, in order.
    QStringList refused = {};
};

// Queries the sixteen registers in their fixed order and sets the elements;
// a register that got no answer leaves its elements as they are.
void readRegisters(RegisterIo& io);
// Writes the elements back: read-modify-write registers first, then the
// whole-value ones; out-of-range hook time and rings are skipped with a warning.
void sendPotsSettings(RegisterIo& io);

// The warnings' texts, translated in the settings window's context when shown.
inline constexpr char kHookWarning[] = QT_TRANSLATE_NOOP(
    "Form1", "Hook time value must be between 200 and 1000 ms! Value will be ignored.");
inline constexpr char kRingsWarning[] = QT_TRANSLATE_NOOP(
    "Form1", "Rings value must be between 0 and 120! Value will be ignored.");
inline constexpr char kWarningTitle[] = QT_TRANSLATE_NOOP("Form1", "Warning!");
