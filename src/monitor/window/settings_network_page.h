#pragma once
// The "Desktop and network" page of the monitor settings: the desktop
// notification and the number forms, names for the own numbers and the
// ignore list, the NCID server that shows the calls on other machines and
// phones, and a program run on each call event.
#include "monitor/window/settings_page.h"

#include <QStringList>

class QPushButton;

class NetworkSettingsPage : public SettingsPage {
    Q_OBJECT
public:
    NetworkSettingsPage(SettingsStore& settings, std::function<void()> changed, QWidget* parent);

    void showNcidState(const QString& state);
    // The adapter's nine MSNs, offered by "Own numbers ..." for slots not yet set.
    QStringList adapterMsns;

private:
    // Each returns where the next frame goes, twips.
    int buildDesktopFrame(int top);
    int buildNumbersFrame(int top);
    void buildNetworkFrame(int top);
    void connectBoxes();
    void loadBoxes() override;
    void editOwnNumbers();
    void editIgnoredCallers();

    QCheckBox* Check9 = nullptr;          // "Notify"
    QLineEdit* TextCountryCode = nullptr; // "CountryCode"
    QLineEdit* TextAreaCode = nullptr;    // "AreaCode"
    QPushButton* CommandOwnNumbers = nullptr;
    QPushButton* CommandIgnored = nullptr;
    QLabel* LabelNcidState = nullptr;
};
