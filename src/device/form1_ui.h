#pragma once
// The widgets of Form1, shared by its source files (not part of its API).
#include <QHash>
#include <QString>

#include "device/form1.h"
#include "device/settings_elements.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// SettingsElements over the real widgets; setting a widget raises its change
// reaction exactly as a user's edit does.
class WidgetElements : public SettingsElements {
public:
    QHash<QString, QCheckBox*> checks;
    QHash<QString, QButtonGroup*> groups;
    QHash<QString, QLineEdit*> texts;

    int check(const QString& name) const override;
    void setCheck(const QString& name, int value) override;
    int choice(const QString& group) const override;
    void setChoice(const QString& group, int index) override;
    QString text(const QString& name) const override;
    void setText(const QString& name, const QString& text) override;
};

struct Form1::Ui {
    WidgetElements elements;
    QHash<QString, QLabel*> labels;        // Label_info1.., Labelucost1.., Labelcost1.., LabelRTime, Label15
    QHash<QString, QPushButton*> buttons;  // CommandRead, CommandSend, CommandPRF, CommandPRL1.., ...
    QWidget* led = nullptr;
    QLineEdit* textUCost = nullptr;
    QLabel* status = nullptr;

    QLabel* label(const QString& name) const { return labels.value(name); }
    QPushButton* button(const QString& name) const { return buttons.value(name); }
};
