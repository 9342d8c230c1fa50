#pragma once
// The settings window's elements that carry device settings, named as the
// window knows them: check boxes, then choice groups, then text fields. The
// register, MSN and own-number code reaches them through SettingsElements,
// which the window implements over its widgets and tests over plain maps.
#include <QString>
#include <array>
#include <optional>

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
// The element of an object name; nothing for a name the window does not know.
std::optional<FormElement> elementNamed(const QString& name);

constexpr bool isCheck(FormElement e)
{
    return int(e) < kFirstChoice;
}
constexpr bool isChoice(FormElement e)
{
    return int(e) >= kFirstChoice && int(e) < kFirstText;
}

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

// The elements as a value: what the window shows, what a reading found, what
// a command-line program changes. Nothing selected is -1, as in a window.
class ElementValues : public SettingsElements {
public:
    ElementValues() { choices_.fill(-1); }

    int check(FormElement box) const override;
    void setCheck(FormElement box, int value) override;
    int choice(FormElement group) const override;
    void setChoice(FormElement group, int index) override;
    void clearChoice(FormElement group);
    QString text(FormElement field) const override;
    void setText(FormElement field, const QString& text) override;

    // The element as text: a box 0, 1 or 2 (greyed), a choice its index or -1.
    QString valueText(FormElement e) const;

    bool operator==(const ElementValues& o) const
    {
        return checks_ == o.checks_ && choices_ == o.choices_ && texts_ == o.texts_;
    }

private:
    std::array<int, kCheckCount> checks_{};
    std::array<int, kChoiceCount> choices_{};
    std::array<QString, kTextCount> texts_{};
};
