#pragma once
// The adapter's configuration as a value, as "Receive Settings" reads it:
// what it says of itself, its register image, every setting decoded from the
// registers under the names the settings window knows (with the MSNs and own
// numbers of the three ports), and the six charge counters. The settings
// window shows one; corvane-config prints, changes and saves one.
#include <QString>
#include <QtGlobal>
#include <array>

#include "device/settings_elements.h"

struct AdapterSettings {
    // The answers to "ATI4", "ATI3", "ATI0" and "ATI1" exactly as received.
    std::array<QString, 4> identity;
    std::array<quint8, 128> registers{};
    // The check boxes, choices and text fields, MSNs and own numbers included.
    ElementValues elements;
    // "ATCH?" in the device's order (DTE, Phone 1, Phone 2 last call; the
    // same three in total): the texts as received, and the counts.
    std::array<QString, 6> counterTexts;
    std::array<qint32, 6> chargeUnits{};
};

// The commands of the identification, in the order they are read.
inline constexpr std::array<const char*, 4> kIdentityCommands = {"ATI4", "ATI3", "ATI0", "ATI1"};
