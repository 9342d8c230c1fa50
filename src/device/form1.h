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
#include <memory>
#include <optional>

#include "device/adapter_control.h"
#include "device/adapter_settings.h"
#include "device/at_channel.h"
#include "device/service_client.h"
#include "device/settings_elements.h"

class QLabel;

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

    // A running corvane-monitor as the window's way to the adapter: every
    // command goes to its API instead of the port, until the window detaches
    // (the service went away and the user took the port).
    void attach(const serviceaddress::Address& service);
    bool attached() const { return service_ != nullptr; }
    // The service the window works through, if it does.
    std::optional<serviceaddress::Address> attachedService() const;
    // The service went away: a new one holding the port takes over, else the
    // user is asked whether to use the port. True when either happened.
    // `ending`: it is on its way out rather than gone already.
    bool serviceGone(bool ending);
    // --service URL: the service start-up asks, whichever port it holds.
    void setServiceUrl(const QString& url) { serviceUrl_ = url; }
    // Start-up's detection of a service: the one given, else the one holding
    // the port. Attached when it answers; `silent` names the one that does
    // not, with the reason in `why`.
    enum class ServiceFound { None, Attached, Silent };
    ServiceFound detectService(serviceaddress::Address& silent, QString& why);

    // The configuration read last, and what the window shows now.
    const AdapterSettings& readValue() const { return read_; }
    AdapterSettings edited() const;

    struct Ui; // the widgets, private to Form1's source files

signals:
    // The status line says `text` now.
    void statusShown(const QString& text);
    // "Cost per Unit" took a new price (typed, or set by start-up).
    void unitCostChanged(float cost);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Where a command goes: nowhere (the port test said why), the port, the service.
    enum class Route { None, Port, Service };
    Route route();
    bool portTest();
    void buildWindow();
    void connectReactions();
    void setTransferButtonsEnabled(bool on);
    void setSaveButtonsEnabled(bool on);
    void clearPppChoice();
    void pppChosen();
    // A button's command that acts at once: on the port, or through the service.
    struct DeviceCommand {
        QString command; // "ATZ4", for the messages
        std::function<AtReply(AdapterControl&)> op;
        ServiceClient::Command service;
        int number; // the profile or the phone
        bool reread;
        QString done;
    };
    void sendDeviceCommand(const DeviceCommand& d);
    void reportRefused(const QStringList& refused);
    void countersReset();
    // form1_service.cpp: the same commands through the service's API.
    void detach();
    // The request says `doing` in the status line, or what it waits for
    // meanwhile: the service runs `operation` (its name for it) between calls,
    // one request after the other.
    ServiceClient::Reply onService(const QString& doing, const QString& operation,
        const std::function<ServiceClient::Reply(ServiceClient&)>& request);
    QString waitingText(const QJsonObject& state, const QString& operation, const QString& doing) const;
    // After a request the service did not take: says why. True when the
    // command is to run again (on the port the user took, or on a new service).
    bool serviceFailed(const ServiceClient::Reply& reply);
    void waitForEnd(const serviceaddress::Address& service);
    QString serviceProblem(const ServiceClient::Reply& reply, const QString& url) const;
    QString attachedUrl() const;
    void readThroughService();
    void transmitThroughService();
    void commandThroughService(const DeviceCommand& d);
    void resetThroughService();
    void pppThroughService(int mode);
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
    std::shared_ptr<ServiceClient> service_; // shared: a request running keeps it while the window detaches
    QString serviceUrl_;
    QByteArray leftToken_;           // the service the user left for the port
    QLabel* serviceLabel_ = nullptr; // made on the first attach
};
