#pragma once
// The settings window's elements that carry device settings, named as the
// window knows them: check boxes, then choice groups, then text fields. The
// register, MSN and own-number code reaches them through SettingsElements,
// which the window implements over its widgets and tests over plain maps.
#include <QString>

enum class FormElement {
    // check boxes, Phone 1 and Phone 2 side by side
    CheckGC1,
    CheckGC2,
    CheckDCB1,
    CheckDCB2,
    CheckCID1,
    CheckCID2,
    CheckCL1,
    CheckCL2,
    CheckIC1,
    CheckIC2,
    CheckMP1,
    CheckMP2,
    CheckCH1,
    CheckCH2,
    CheckCW1,
    CheckCW2,
    Check3,
    Check4,
    CheckCH3,
    CheckFUL,
    CheckBUN,
    CheckCIDOnHook,
    CheckCIDOffHook,
    CheckBAUD,
    // choice groups
    Option1,
    Option2,
    Option3,
    Option4,
    Option5,
    OptionPROT,
    // text fields
    TextRINGS,
    TextHOOK,
    TextMSN1,
    TextMSN2,
    TextMSN3,
    TextMSN4,
    TextMSN5,
    TextMSN6,
    TextMSN7,
    TextMSN8,
    TextMSN9,
    TextOWN1,
    TextOWN2,
    TextOWN3,
};

inline constexpr int kFirstChoice = int(FormElement::Option1);
inline constexpr int kFirstText = int(FormElement::TextRINGS);
inline constexpr int kElementCount = int(FormElement::TextOWN3) + 1;
inline constexpr int kCheckCount = kFirstChoice;
inline constexpr int kChoiceCount = kFirstText - kFirstChoice;
inline constexpr int kTextCount = kElementCount - kFirstText;

// The element `offset` places after `first` (TextMSN1 + 3 is TextMSN4).
constexpr FormElement nthElement(FormElement first, int offset)
{
    return FormElement(int(first) + offset);
}

// The object name, "CheckCW1" for FormElement::CheckCW1.
QString elementName(FormElement e);

class SettingsElements {
public:
    virtual ~SettingsElements() = default;

    // Check box value: 0 clear, 1 ticked, 2 greyed.
    virtual int check(FormElement box) const = 0;
    virtual void setCheck(FormElement box, int value) = 0;
    // Selected choice index of a group, or -1 when none is selected.
    virtual int choice(FormElement group) const = 0;
    virtual void setChoice(FormElement group, int index) = 0;
    virtual QString text(FormElement field) const = 0;
    virtual void setText(FormElement field, const QString& text) = 0;
};
