#pragma once
// The main window's life: loading (the seventeen start-up steps), its menu,
// closing and the final save of its settings. Form1 is the settings window
// itself; this class drives it from outside through its public variables and
// its elements' object names.
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>

class Form1;
class FormLoading;
class SingleInstance;
class frmAbout;

namespace serviceaddress {
struct Address;
}

class Startup : public QObject {
    Q_OBJECT
public:
    Startup(Form1& form, SingleInstance& instance, QStringList words, QObject* parent = nullptr);
    ~Startup() override;

    // Steps 1 to 17. False when another instance runs: the caller ends the
    // program at once, saving nothing.
    bool Form_Load();
    // Shows the main window, unless start-up goes straight to the monitor.
    void showMainWindow();
    // Closing: the monitor, the about window and the loading window close,
    // the wave device closes. Runs once, however the window is closed.
    void Form_Unload();
    // End of the program: the five main-window settings are saved.
    void Form_Terminate();
    // SIGTERM, SIGINT, logout: close as the user would, then end the event loop.
    void closeAndQuit();

    QTimer TimerStartUp;
    QTimer TimerScan;

    bool scanMode() const { return scan_; }
    bool quitting() const { return quitting_; }
    bool userDeclinedDetection() const { return declined_; }
    FormLoading* formLoading() const;

    // Message boxes of start-up (icon, title, text, buttons) -> the answer.
    // Tests replace it; the default shows a real box.
    std::function<QMessageBox::StandardButton(
        QMessageBox::Icon, const QString&, const QString&, QMessageBox::StandardButtons)>
        messageBox;
    // The port options window, shown modally (tests replace it).
    std::function<void()> showPortOptions;
    // Opens a document with the desktop's browser, else in the own help
    // window (tests replace it).
    std::function<void(const QString& path)> openDocument;

private:
    void buildMenu();
    void readSettings();
    void setCurrencyLabel();
    void disableTransferButtons();
    bool detectDevice();
    // A service holds the port but does not answer: true when the user
    // stopped it and wants the port tried again.
    bool askAboutService(const serviceaddress::Address& service, const QString& why);
    void openRingSound();
    void TimerStartUp_Timer();
    void TimerScan_Timer();
    void showAbout();
    bool eventFilter(QObject* watched, QEvent* event) override;

    Form1& form_;
    SingleInstance& instance_;
    QStringList words_;
    bool scan_ = false;
    bool declined_ = false;
    bool unloaded_ = false;
    bool quitting_ = false;
    QPointer<FormLoading> loading_;
    QPointer<frmAbout> about_;
};

// "log.txt" in the program folder: created with one blank line (CR LF) when it
// cannot be opened; an existing file is left byte for byte as it is.
void ensureLogFile(const QString& path);
