#pragma once
// "Call Monitor Settings", on three pages: "Calls" (notifications, sounds,
// which calls enter the call list, the dial prefix), "Desktop and network"
// (the desktop notification, the number forms, names for the own numbers
// and the ignore list, the NCID server and the program run on calls) and
// "Home automation" (the port-1012 call-monitor server and MQTT). Every change is stored the moment it is made; "Close"
// only closes the window.
#include "monitor/outputs/call_outputs.h"

#include <QDialog>
#include <QPoint>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SettingsStore;
class WaveDevice;

class FormMonitorSettings : public QDialog {
    Q_OBJECT
public:
    // `changed` runs after each change the user makes and once at the end of
    // Form_Load, so the monitor takes its settings (the dial prefix and the
    // ring sound among them) on again.
    FormMonitorSettings(
        SettingsStore& settings, WaveDevice& wave, std::function<void()> changed, QWidget* parent = nullptr);

    // Form_Load: fills the boxes from the store (their handlers run as they tick).
    void Form_Load();

    // The open-file dialog of "Select sound ..."; an empty result means cancelled.
    std::function<QString(QWidget* parent)> chooseWaveFile;
    // Puts the stored network settings into effect; returns the outputs, whose states the page shows.
    std::function<const CallOutputs*()> applyNetwork;

private:
    void buildLayout();
    // The frames below the design's: full width, a switch box, fields after their captions (twips).
    static constexpr int kLowerFrameWidth = 4755, kLowerFrameGap = 75;
    static constexpr int kFieldIndent = 240, kFieldHeight = 285, kFieldSpace = 90;
    QGroupBox* addLowerFrame(QWidget* page, const char* name, const QString& title, int top, int heightTwips);
    QCheckBox* addSwitch(QGroupBox* frame, const char* name, const QString& caption, const QString& tip);
    QLineEdit* addField(QGroupBox* frame, const char* name, const QString& caption, QPoint at, int widthTwips);
    // The desktop notification and the number forms; returns where the next frame goes, twips.
    int buildDesktopFrame(QWidget* page, int top);
    void connectBoxes();
    void connectDesktopFrame();
    // The NCID server and the program run on calls; the call-monitor server
    // and MQTT on a page of their own (formmonitor_settings_network.cpp).
    void buildNetworkFrame(QWidget* page, int top);
    // Own numbers' names and the ignore list, each a button to its dialog.
    int buildNumbersFrame(QWidget* page, int top);
    void editOwnNumbers();
    void editIgnoredCallers();
    void buildAutomationFrames(QWidget* page);
    struct ServerRows {
        QCheckBox* enable;
        QLineEdit *address, *port;
        QLabel* state;
    };
    // names: the switch, the address, the port and the state label.
    ServerRows addServerRows(
        QGroupBox* frame, int top, const char* names[4], const QString& caption, const QString& tip);
    QLabel* addStateLabel(QGroupBox* frame, const char* name, int top);
    QLineEdit* addWideField(QGroupBox* frame, const char* name, const QString& caption, QPoint at);
    void connectNetworkFrame();
    void loadNetworkFrame();
    void networkChanged();
    void storeFlag(const QString& key, bool ticked);
    // Stores a setting and tells the monitor.
    void store(const QString& key, const QString& value);
    void testPlay();
    void Check2_Click(bool ticked);
    void Check3_Click(bool ticked);
    void Command1_Click();

    SettingsStore& settings_;
    WaveDevice& wave_;
    std::function<void()> changed_;
    bool loading_ = false; // Form_Load tells the monitor once, at its end

    QCheckBox* Check1 = nullptr; // "Popup"
    QCheckBox* Check2 = nullptr; // "Ring"
    QCheckBox* Check3 = nullptr; // "IDSound"
    QCheckBox* Check4 = nullptr; // "LogAns"
    QCheckBox* Check5 = nullptr; // "LogRing"
    QCheckBox* Check6 = nullptr; // "LogDial"
    QCheckBox* Check7 = nullptr; // "LogTry"
    QCheckBox* Check8 = nullptr; // "LogCID"
    QPushButton* Command1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* OKButton = nullptr;
    QCheckBox* Check9 = nullptr;          // "Notify"
    QLineEdit* TextCountryCode = nullptr; // "CountryCode"
    QLineEdit* TextAreaCode = nullptr;    // "AreaCode"
    QCheckBox* CheckNcid = nullptr;       // "NcidServer"
    QLineEdit* TextNcidAddress = nullptr; // "NcidAddress"
    QLineEdit* TextNcidPort = nullptr;    // "NcidPort"
    QLabel* LabelNcidState = nullptr;
    QCheckBox* CheckCallMonitor = nullptr;       // "CallMonitorServer"
    QLineEdit* TextCallMonitorAddress = nullptr; // "CallMonitorAddress"
    QLineEdit* TextCallMonitorPort = nullptr;    // "CallMonitorPort"
    QLabel* LabelCallMonitorState = nullptr;
    QCheckBox* CheckMqtt = nullptr;        // "Mqtt"
    QLineEdit* TextMqttUrl = nullptr;      // "MqttUrl"
    QLineEdit* TextMqttPassword = nullptr; // "MqttPassword"
    QLineEdit* TextMqttDeviceId = nullptr; // "MqttDeviceId"
    QLabel* LabelMqttState = nullptr;
    QLineEdit* TextProgram = nullptr; // "EventProgram"
    QPushButton* CommandOwnNumbers = nullptr;
    QPushButton* CommandIgnored = nullptr;
};
