#pragma once
// The main window: the DodOva settings window. Its central widget holds one
// frame per port, the global controls, the profile buttons and the charge
// counters; "Receive Settings" reads the device into it and "Transmit
// Settings" writes it back. The menu and the title belong to start-up.
#include <QColor>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "device/at_channel.h"
#include "device/settings_elements.h"

class Form1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(AtChannel& at, QWidget* parent = nullptr);
    ~Form1() override;
    AtChannel& at();
    // A lamp colour of the command channel (0x00BBGGRR, or its idle value) as
    // this window paints it.
    QColor lampColour(unsigned bgr) const;

    // Main-window variables (start-up sets them; other windows read them).
    float UnitCost = 0.0f;
    QString LastReset;
    std::array<qint32, 6> ChargeUnits{};
    std::array<quint8, 128> RegisterImage{};
    int Ring = 0;

    void CommandRead_Click(); // "Receive Settings"
    void CommandSend_Click(); // "Transmit Settings"
    void TextUCost_Change();
    void GetDodovaInfo();
    void showStatus(const QString& text);

    // The steps "Receive Settings" and "Transmit Settings" are made of.
    void ReadRegisters();
    void SendPOTS_Settings();
    void ReadMSNS();
    void ReadOwnNumbers();
    void SendMSNSandOWN();
    void ReadCosts();
    void Command2_Click(); // "Reset Counters"
    void Option1_Click();  // PPP mode
    void Change();         // an edit: the save-to-profile buttons no longer match the device

    // Where commands and the port test go. By default the AtChannel; tests
    // put a double here to record the exact command sequence.
    using SendFunction = std::function<AtReply(const QString& cmd)>;
    void setSendFunction(SendFunction send);
    void setPortTest(std::function<bool()> portOpens);
    // Every message box of the window goes through here (text, title); tests
    // replace it to count warnings instead of blocking on a modal box.
    std::function<void(const QString& text, const QString& title)> messageBox;

    // The window's elements as the register map sees them.
    SettingsElements& elements();

    struct Ui; // the widgets, private to Form1's source files

protected:
    void showEvent(QShowEvent* event) override;

private:
    AtReply send(const QString& cmd);
    bool portTest();
    void buildWindow();
    void connectReactions();
    void setTransferButtonsEnabled(bool on);
    void setSaveButtonsEnabled(bool on);
    void clearPppChoice();
    void pppChosen();
    void sendProfileCommand(const QString& cmd, bool reread);
    void pauseProcessingEvents(int ms);
    bool deviceAbsent() const;
    void paintLamp(unsigned bgr);
    QString readingStatus() const;
    void fitToScreen();

    AtChannel& at_;
    SendFunction send_;
    std::function<bool()> portOpens_;
    Ui* ui_ = nullptr;
    // The command sequence running now (a reading, a transmission, a profile
    // command); a PPP choice made meanwhile is part of it and not the user's.
    int sequences_ = 0;
    // Tally of the reading that runs or ran last.
    int sent_ = 0;
    int missing_ = 0;             // unanswered or refused
    bool lastReadFailed_ = false; // keeps "Transmit Settings" and "Save to P" off
    QStringList refused_;         // fields the device refused in the transmission that runs
    bool fitted_ = false;
};
