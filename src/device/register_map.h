#pragma once
// The register map: which S-register and which bits stand behind each element
// of the settings window. Reading and writing both walk this one table, so
// the two directions cannot drift apart.
#include <QString>
#include <QtGlobal>
#include <array>
#include <optional>
#include <vector>

#include "device/settings_elements.h"

enum class RegisterRule {
    AnyBitSet,     // check box ticked when any bit of the mask is set; ticking sets all of them
    AllBitsClear,  // inverted: ticked when every bit of the mask is 0; ticking clears them
    ZeroTicked,    // check box ticked when the value is 0 (auto baud)
    NonZeroTicked, // check box ticked when the value is not 0 (full emergency: written 0 / 255)
    Choice,        // choice group; choice index i stands for values[i]
    DecimalText,   // text field with the value in decimal
    TenMsText,     // text field in milliseconds, the register counts 10 ms steps
};

struct RegisterField {
    int reg;
    FormElement element;
    RegisterRule rule;
    quint8 mask = 0;
    std::vector<int> values = {}; // Choice: register value per choice index
};

// Every field of the map, grouped by register.
const std::vector<RegisterField>& registerMap();
std::vector<const RegisterField*> fieldsOfRegister(int reg);
const RegisterField* fieldOfElement(FormElement element);
// What the window calls register `reg`, to name it to the user ("Call Waiting").
QString registerCaption(int reg);

// Order of the queries when reading; the PPP-mode choice follows S87.
inline constexpr std::array<int, 16> kReadOrder = {109, 108, 79, 89, 118, 85, 84, 83, 87, 56, 82, 0, 18, 123, 100, 15};
// Registers that are read first and only have their own bits changed.
inline constexpr std::array<int, 7> kReadModifyWriteOrder = {79, 89, 118, 85, 84, 83, 87};
// Registers written outright, in this order, after the read-modify-write ones.
inline constexpr std::array<int, 9> kWholeValueOrder = {56, 82, 0, 18, 123, 100, 15, 109, 108};

// An answer to "ATSn?" as a register byte: the trimmed text as a number
// 0..255, a fraction rounded with halves to even. nullopt for anything else.
std::optional<quint8> registerValue(const QString& answer);

// Sets the elements of register `reg` from `value`. A value that is not in a
// choice group's list changes no choice.
void showRegister(int reg, quint8 value, SettingsElements& elements);

// The bits of `base` owned by check boxes of register `reg` replaced by the
// boxes' states; greyed boxes and unknown bits keep their value.
quint8 composeRegister(int reg, quint8 base, const SettingsElements& elements);

// The PPP-mode choice that matches the bundle box: 2 "128 kbps", 1 "64 kbps".
int pppChoiceFor(const SettingsElements& elements);
