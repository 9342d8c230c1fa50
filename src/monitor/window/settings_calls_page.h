#pragma once
// The "Calls" page of the monitor settings: the popup and the sounds (ring,
// caller ID, which sound), which calls enter the call list, the dial prefix.
#include "monitor/window/settings_page.h"

class QPushButton;
class WaveDevice;

class CallsSettingsPage : public SettingsPage {
    Q_OBJECT
public:
    // `chooseWaveFile` is the open-file dialog of "Select sound ..."; an empty
    // result means cancelled.
    CallsSettingsPage(SettingsStore& settings, WaveDevice& wave, std::function<void()> changed,
        std::function<QString()> chooseWaveFile, QWidget* parent);

private:
    void buildFrames();
    void connectBoxes();
    void loadBoxes() override;
    void testPlay();
    void soundSwitched(QLatin1String key, bool ticked);
    void Command1_Click();

    WaveDevice& wave_;
    std::function<QString()> chooseWaveFile_;
    QCheckBox* Check1 = nullptr; // "Popup"
    QCheckBox* Check2 = nullptr; // "Ring"
    QCheckBox* Check3 = nullptr; // "IDSound"
    QCheckBox* Check4 = nullptr; // "LogAns"
    QCheckBox* Check5 = nullptr; // "LogRing"
    QCheckBox* Check6 = nullptr; // "LogDial"
    QCheckBox* Check7 = nullptr; // "LogTry"
    QCheckBox* Check8 = nullptr; // "LogCID"
    QPushButton* Command1 = nullptr;
    QLineEdit* Text1 = nullptr; // "DialPrefixNumber"
};
