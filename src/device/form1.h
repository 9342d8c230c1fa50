#pragma once
// The main window: the DodOva settings window. Its central widget holds one
// frame per port, the global controls, the profile buttons and the charge
// counters; "Receive Settings" reads the device into it and "Transmit
// Settings" writes it back. The menu and the title belong to start-up.
#include <QColor>
#include <QMainWindow>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "device/adapter_control.h"
#include "device/adapter_settings.h"
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

    // Main-window variables (start-up sets them). The call monitor takes the
    // unit cost from unitCostChanged, the ring flag from its inputs.
    float UnitCost = 0.0f;
    QString LastReset;
    int Ring = 0;
    // The counts read last, zero at start-up.
    void clearChargeUnits();

    void CommandRead_Click(); // "Receive Settings"
    void CommandSend_Click(); // "Transmit Settings"
    void TextUCost_Change();
    void showStatus(const QString& text);

    void SendPOTS_Settings(); // the register writes of a transmission alone
    void Command2_Click();    // "Reset Counters"
    void Option1_Click();     // PPP mode
    // An edit: the save-to-profile buttons are off until the next reading.
    void Change();

    // Where commands and the port test go. By default the AtChannel; tests
    // put a double here to record the exact command sequence.
    void setSendFunction(AdapterControl::Send send);
    void setPortTest(std::function<bool()> portOpens);
    // Every message box of the window goes through here (text, title); tests
    // replace it to count warnings instead of blocking on a modal box.
    std::function<void(const QString& text, const QString& title)> messageBox;
    // Every question of the window (text, title, buttons, default) -> the
    // button chosen; tests answer from their script. Save stands for
    // "Transmit" in the question about untransmitted changes.
    std::function<QMessageBox::StandardButton(const QString& text, const QString& title,
        QMessageBox::StandardButtons buttons, QMessageBox::StandardButton byDefault)>
        ask;

    // Edits the device has not been sent (after a reading that succeeded).
    bool changesPending() const;
    // Before something drops the window's edits (closing, the monitor, a
    // reading): asks Transmit / Discard / Cancel when edits are pending.
    // False when the user cancelled.
    bool settleChanges();

    // The configuration read last, and what the window shows now.
    const AdapterSettings& readValue() const { return read_; }
    AdapterSettings edited() const;

    struct Ui; // the widgets, private to Form1's source files

signals:
    // "Cost per Unit" took a new price (typed, or set by start-up).
    void unitCostChanged(float cost);

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool portTest();
    void buildWindow();
    void connectReactions();
    void setTransferButtonsEnabled(bool on);
    void setSaveButtonsEnabled(bool on);
    void clearPppChoice();
    void pppChosen();
    void sendDeviceCommand(const QString& cmd, const std::function<AtReply()>& op, bool reread, const QString& done);
    void showValue(const AdapterSettings& value);
    void showProgress(AdapterControl::Step step, int done, int total);
    bool deviceAbsent() const;
    QString readingStatus(const AdapterControl::Tally& tally) const;
    void growToFrames();
    void fitToScreen();
    void arrangeFrames(int columns);
    void arrangeBottomRow(bool stacked);
    void paintLamp(unsigned bgr);
    bool confirm(const QString& text, const QString& title);
    enum class Settled { Nothing, Transmitted, Discarded, Cancelled };
    Settled settle(bool showDevice);
    void showPending();
    void receiveClicked();

    AtChannel& at_;
    AdapterControl control_;
    std::function<bool()> portOpens_;
    Ui* ui_ = nullptr;
    AdapterSettings read_; // what the device said last (and wrote, for the register image)
    bool showing_ = false; // the window is being set from a value, not edited
    // The command sequence running now (a reading, a transmission, a profile
    // command); a PPP choice made meanwhile is part of it and not the user's.
    int sequences_ = 0;
    bool lastReadFailed_ = false; // keeps "Transmit Settings" and "Save to P" off
    bool haveReading_ = false;    // a reading ran: the window holds the device's settings
    bool fitted_ = false;
};
