#pragma once
// "Call Monitor Settings", on three pages under tabs: "Calls"
// (CallsSettingsPage), "Desktop and network" (NetworkSettingsPage) and "Home
// automation" (AutomationSettingsPage). Every change is stored the moment it
// is made; "Close" only closes the window.
#include "monitor/outputs/call_outputs.h"

#include <QDialog>
#include <array>
#include <functional>

class AutomationSettingsPage;
class CallsSettingsPage;
class NetworkSettingsPage;
class QPushButton;
class SettingsPage;
class SettingsStore;
class WaveDevice;

class FormMonitorSettings : public QDialog {
    Q_OBJECT
public:
    // `changed` runs after each change the user makes and once at the end of
    // Form_Load, so the monitor takes its settings (the dial prefix among
    // them) on again.
    FormMonitorSettings(
        SettingsStore& settings, WaveDevice& wave, std::function<void()> changed, QWidget* parent = nullptr);

    // Form_Load: fills the boxes from the store (their handlers run as they tick).
    void Form_Load();

    // The open-file dialog of "Select sound ..."; an empty result means cancelled.
    std::function<QString(QWidget* parent)> chooseWaveFile;
    // Puts the stored network settings into effect; returns the outputs, whose states the page shows.
    std::function<const CallOutputs*()> applyNetwork;
    // The adapter's MSNs as the settings window read them (TextMSN1 ... TextMSN9).
    void setAdapterMsns(const QStringList& msns);

private:
    void buildLayout(SettingsStore& settings, WaveDevice& wave);
    // The outputs applied again, their states shown on the pages.
    void networkChanged();
    void showStates();

    std::function<void()> changed_;
    CallsSettingsPage* calls_ = nullptr;
    NetworkSettingsPage* network_ = nullptr;
    AutomationSettingsPage* automation_ = nullptr;
    std::array<SettingsPage*, 3> pages_{};
    QPushButton* OKButton = nullptr;
    const CallOutputs* outputs_ = nullptr; // what applyNetwork returned last
};
