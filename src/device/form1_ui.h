#pragma once
// The widgets of Form1, shared by its source files (not part of its API).
#include <array>

#include "device/form1.h"
#include "device/settings_elements.h"

class QButtonGroup;
class QGridLayout;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// SettingsElements over the real widgets; setting a widget raises its change
// reaction exactly as a user's edit does.
class WidgetElements : public SettingsElements {
public:
    std::array<QCheckBox*, kCheckCount> checks{};
    std::array<QButtonGroup*, kChoiceCount> groups{};
    std::array<QLineEdit*, kTextCount> texts{};

    QCheckBox* box(FormElement e) const;
    QButtonGroup* group(FormElement e) const;
    QLineEdit* field(FormElement e) const;

    int check(FormElement name) const override;
    void setCheck(FormElement name, int value) override;
    int choice(FormElement group) const override;
    void setChoice(FormElement group, int index) override;
    QString text(FormElement name) const override;
    void setText(FormElement name, const QString& text) override;
};

struct Form1::Ui {
    WidgetElements elements;
    QLabel* Label_info1 = nullptr;
    QLabel* Label_info2 = nullptr;
    QLabel* Label_info3 = nullptr;
    QLabel* Label39 = nullptr;
    QLabel* Label_info4 = nullptr;
    std::array<QLabel*, 6> Labelucost{}; // Labelucost1 ... Labelucost6
    std::array<QLabel*, 6> Labelcost{};  // Labelcost1 ... Labelcost6
    QLabel* LabelRTime = nullptr;
    QLabel* Label15 = nullptr;
    QLineEdit* TextUCost = nullptr;
    QWidget* Led = nullptr;
    QPushButton* CommandRead = nullptr;
    QPushButton* CommandSend = nullptr;
    QPushButton* CommandPRF = nullptr;
    std::array<QPushButton*, 4> CommandPRL{}; // Load P1 ... P4
    std::array<QPushButton*, 4> CommandPRS{}; // Save to P1 ... P4
    QPushButton* Command2 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command8 = nullptr;
    QLabel* status = nullptr;
    QLabel* pending = nullptr;   // "Changes not transmitted", while they are
    QWidget* content = nullptr;  // the frames, in a scroll area
    QGridLayout* grid = nullptr; // its layout
    QWidget* identification = nullptr;
    std::array<QWidget*, 6> frames{};      // Phone 1, Phone 2, DTE, High Layer, Global Controls, Profiles
    QWidget* bottomRow = nullptr;          // cost per unit, busy lamp, Receive and Transmit
    QGridLayout* bottomGrid = nullptr;     // its layout
    std::array<QWidget*, 3> bottomItems{}; // the cost frame, the busy lamp, the transfer buttons
};
