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

std::optional<FormElement> elementNamed(const QString& name)
{
    for (int i = 0; i < kElementCount; ++i)
        if (name == QLatin1String(kNames[i]))
            return FormElement(i);
    return std::nullopt;
}

int ElementValues::check(FormElement box) const
{
    return isCheck(box) ? checks_[int(box)] : 0;
}

void ElementValues::setCheck(FormElement box, int value)
{
    if (isCheck(box))
        checks_[int(box)] = value;
}

int ElementValues::choice(FormElement group) const
{
    return isChoice(group) ? choices_[int(group) - kFirstChoice] : -1;
}

void ElementValues::setChoice(FormElement group, int index)
{
    if (isChoice(group) && index >= 0) // as a window: a choice is made, never unmade
        choices_[int(group) - kFirstChoice] = index;
}

void ElementValues::clearChoice(FormElement group)
{
    if (isChoice(group))
        choices_[int(group) - kFirstChoice] = -1;
}

QString ElementValues::text(FormElement field) const
{
    const int i = int(field) - kFirstText;
    return i >= 0 && i < kTextCount ? texts_[i] : QString();
}

void ElementValues::setText(FormElement field, const QString& text)
{
    const int i = int(field) - kFirstText;
    if (i >= 0 && i < kTextCount)
        texts_[i] = text;
}

QString ElementValues::valueText(FormElement e) const
{
    if (isCheck(e))
        return QString::number(check(e));
    if (isChoice(e))
        return QString::number(choice(e));
    return text(e);
}
