#include "device/settings_elements.h"

#include <array>

namespace {

// In the order of the enum.
constexpr std::array<const char*, kElementCount> kNames = {
    "CheckGC1",
    "CheckGC2",
    "CheckDCB1",
    "CheckDCB2",
    "CheckCID1",
    "CheckCID2",
    "CheckCL1",
    "CheckCL2",
    "CheckIC1",
    "CheckIC2",
    "CheckMP1",
    "CheckMP2",
    "CheckCH1",
    "CheckCH2",
    "CheckCW1",
    "CheckCW2",
    "Check3",
    "Check4",
    "CheckCH3",
    "CheckFUL",
    "CheckBUN",
    "CheckCIDOnHook",
    "CheckCIDOffHook",
    "CheckBAUD",
    "Option1",
    "Option2",
    "Option3",
    "Option4",
    "Option5",
    "OptionPROT",
    "TextRINGS",
    "TextHOOK",
    "TextMSN1",
    "TextMSN2",
    "TextMSN3",
    "TextMSN4",
    "TextMSN5",
    "TextMSN6",
    "TextMSN7",
    "TextMSN8",
    "TextMSN9",
    "TextOWN1",
    "TextOWN2",
    "TextOWN3",
};

} // namespace

QString elementName(FormElement e)
{
    const int i = int(e);
    return i >= 0 && i < kElementCount ? QString::fromLatin1(kNames[i]) : QString();
}
