#pragma once
// The settings window's elements as the register, MSN and cost code sees
// them: check boxes, choice groups and text fields, addressed by their object
// names. The window implements it over its widgets; tests over plain maps.
#include <QString>

class SettingsElements {
public:
    virtual ~SettingsElements() = default;

    // Check box value: 0 clear, 1 ticked, 2 greyed.
    virtual int check(const QString& name) const = 0;
    virtual void setCheck(const QString& name, int value) = 0;
    // Selected choice index of a group, or -1 when none is selected.
    virtual int choice(const QString& group) const = 0;
    virtual void setChoice(const QString& group, int index) = 0;
    virtual QString text(const QString& name) const = 0;
    virtual void setText(const QString& name, const QString& text) = 0;
};
