#pragma once
// FormMonitor, "Call Monitor": the window on a monitor session. It draws what
// the session's engine keeps (caller ID, the two channel panels with their
// lamps, the call list and, in debug mode, the trace panes and the identifier
// tree), plays the sounds and pops up when asked, and forwards the user's
// commands. It never decodes and never drives the port itself.
#include "monitor/session/monitor_session.h"
#include "monitor/session/service_feed.h"
#include "monitor/window/popup_on_top.h"
#include "monitor/window/ring_loop.h"
#include "phonebook/contact_folder.h"

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class AtChannel;
class CallGrid;
class ChannelPanel;
class HistoryBar;
class CallOutputs;
class Form1;
class PictureLabel;
class QGroupBox;
class QLabel;
class QPushButton;
class QSystemTrayIcon;
class QToolButton;
class SettingsStore;
class TracePanes;
class TraceWindow;

class FormMonitor : public QWidget {
    Q_OBJECT
public:
    // Design sizes, twips. The window size counts a classic window frame
    // (kFrameWidth x kFrameHeight) around the client area.
    static constexpr int kWidth = 8130, kDebugWidth = 15120, kDebugHeight = 8300;
    static constexpr int kFoldedHeight = 3700, kGridTop = 3255, kGridBottomGap = 580;
    static constexpr int kFrameWidth = 120, kFrameHeight = 465;

    FormMonitor(Form1& mainWindow, AtChannel& at, Clock& clock, SettingsStore& settings, int debugLevel, bool scanMode);
    ~FormMonitor() override;

    MonitorSession& session() { return session_; }
    MonitorEngine& engine() { return session_.engine(); }
    CallGrid& grid() { return *FlexGrid1; }
    PopupOnTop& popup() { return popup_; }
    RingLoop& ringLoop() { return ringLoop_; }

    // Before open(): the window follows the calls of that running
    // corvane-monitor, which holds the line, instead of monitoring itself.
    void setService(const serviceaddress::Address& service);
    ServiceFeed* serviceFeed() { return feed_.get(); }

    // The opening of "&Call monitor" after the own-number check: hides the main
    // window, loads and shows this one, prepares the grid and loads list.txt.
    void open();
    void Form_Load();
    void Form_Resize();
    bool unloading() const { return unloading_; }
    // The program ends: the monitor closes without asking about unsaved calls.
    void closeWithoutAsking();

    // Window size and position in twips (exact for values the program set).
    int widthTwips() const;
    int heightTwips() const;
    int leftTwips() const;
    int topTwips() const;
    void setHeightTwips(int twipsHeight);
    void setWidthTwips(int twipsWidth);

    // Trace mode on through the session; its failure message shown here.
    void EnableComScanMonitorCID();
    // The port failed while monitoring: the session retries in the background.
    // On a service: the service is out of reach or has lost the adapter.
    bool connectionLost() const;

    // Button handlers, public so that tests and menus can run them.
    void Command1_Click();     // "CLEAR THE WINDOWS"
    void Command2_Click();     // "Hide/Show Log"
    void Command3_Click();     // "Phone Book"
    void Command4_Click();     // "Resume Trace"
    void CommandPause_Click(); // "Stop Trace"
    void CommandOptions_Click();
    // Restored, shown, raised and focused: the tray, a notification's click.
    void bringToFront();
    void showRecordPicture(int row);
    // After the phone book was saved: while the window is visible its list is
    // saved, emptied and read again, so the names follow the edited book.
    void reloadListNames();
    // "Ignore this caller" on a call-list record: its number goes into ignore.txt.
    void ignoreCaller(int row);
    // The main window's "Cost per Unit"; until it is set, the store's UnitCost.
    void setUnitCost(float cost);

    bool windowStateNormal() const { return PopupOnTop::normalState(*this); }

    // Seams for the desktop; tests put doubles here.
    std::function<void()> endProgram; // "scan" mode: closing ends the program
    std::function<void(const QString& title, const QString& body)> notifyDesktop; // caller notification
    std::function<void()> openPhoneBook;
    std::function<void()> openSettings;

signals:
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Layout (formmonitor.cpp)
    void buildLayout();
    void buildDebugViews();
    // Debug mode on a screen too small for the trace views beside the call
    // list: they open in a window of their own, and this one keeps the normal
    // size rules.
    bool debugLayoutFits() const;
    bool fixedDebugSize() const { return debugLevel_ > 0 && !traceWindow_; }
    void connectButtons();
    QRect twipsRect(int l, int t, int w, int h) const;
    int px(int t) const;
    void prepareGrid();
    static constexpr int kMostTwips = 100000;
    // A stored height at or below this leaves the call list no room.
    static constexpr int kLeastListHeight = kGridTop + kGridBottomGap + 1;
    int storedNumber(const QString& key, int least = -kMostTwips) const;
    // The monitor's inputs from the store, handed to the engine.
    void applyInputs();
    // The stored outputs into effect (outputs_).
    void applyOutputs();
    // Whether the window shows and in which state, handed to the engine.
    void pushViewState();

    // Live display (formmonitor_live.cpp)
    void connectSession();
    void drawDisplay();
    void drawLamps();
    void setUpTray();

    // On a running service (formmonitor_service.cpp)
    MonitorDisplay shownDisplay() const;
    void connectFeed();
    void feedCallEvent(const CallEvent& event);
    void feedRecords();
    void serviceLost();
    void silenceRing(int channel);

    // Connection state and closing (formmonitor_trace.cpp)
    void showConnectionState();
    // list.txt could not be read or written: said in red in the caller-ID line.
    void showListProblem();
    // Saves once more; false when that fails and the user keeps the window.
    bool unsavedCallsMayGo();
    void Form_Unload();

    Form1& mainWindow_;
    Clock& clock_;
    SettingsStore& settings_;
    const int debugLevel_;
    const bool scanMode_;
    double dpi_ = 96.0;
    MonitorSession session_;
    MonitorEngine& engine_;

    // Window elements, named as the window knows them.
    QLabel* LabelCID = nullptr;
    QLabel* LabelTIM = nullptr;
    QLabel* LabelNOW = nullptr;
    PictureLabel* ImageLED = nullptr;
    QToolButton* Command3 = nullptr;
    QToolButton* CommandOptions = nullptr;
    QToolButton* Command2 = nullptr;
    std::array<ChannelPanel*, 2> channels_{}; // FrameChannelA, FrameChannelB
    PictureLabel* Image2 = nullptr;
    CallGrid* FlexGrid1 = nullptr;
    HistoryBar* history_ = nullptr;      // search, "Missed", export, statistics
    TracePanes* tracePanes_ = nullptr;   // Text1 to Text3 and TreeIDs
    TraceWindow* traceWindow_ = nullptr; // FormTrace, on a small screen only
    QPushButton* Command1 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* CommandPause = nullptr;

    RingLoop ringLoop_;
    PopupOnTop popup_;
    bool blinkPhase_ = false;
    // The last caller's picture file shown; none after a row click drew past the display.
    std::optional<QString> shownImage2_;

    // Window size the program set, in twips, so stored values survive rounding.
    int widthSet_ = kWidth, heightSet_ = 6660, leftSet_ = 100, topSet_ = 100;
    bool inResize_ = false;
    bool loaded_ = false;
    bool unloading_ = false;
    bool askBeforeLosingCalls_ = true;
    std::optional<float> unitCost_; // see setUnitCost
    bool cidAlert_ = false;         // LabelCID shows a red notice until the caller-ID text changes
    QString cidUnderAlert_;
    QSystemTrayIcon* tray_ = nullptr;
    ContactFolder contacts_;            // the address-book folder of the settings, followed
    CallOutputs* outputs_ = nullptr;    // NCID, port 1012, MQTT, program run on calls, desktop notifications
    std::unique_ptr<ServiceFeed> feed_; // set: the service monitors, this window shows it
    // The ring lamp clicked on a service's ringing channel: its sound stops until the next call.
    std::array<bool, 2> silenced_{};
    bool askedAboutPort_ = false; // once per loss of the service
};
