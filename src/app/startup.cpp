#include "app/startup.h"
#include "common/settings_keys.h"

#include "app/app_hooks.h"
#include "app/command_line.h"
#include "app/desktop_keys.h"
#include "common/program_folder.h"
#include "common/regional.h"
#include "common/settings_store.h"
#include "app/single_instance.h"
#include "common/version.h"
#include "device/at_channel.h"
#include "common/service_address.h"
#include "device/detection.h"
#include "device/line_settings.h"
#include "device/form1.h"
#include "monitor/window/wave_device.h"
#include "ui/dialog.h"
#include "ui/documentation.h"
#include "ui/formloading.h"
#include "ui/frmabout.h"
#include "ui/language.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr int kStartUpDelayMs = 100;
constexpr int kScanDelayMs = 4500;

QString setting(const QString& key)
{
    return SettingsStore::user().read(key);
}

QString detectionQuestion()
{
    return QCoreApplication::translate("Startup", " dodOva not found. Please select correct serial port\r\n\r\n"
                                                  "If you use this program it may not behave correctly!\r\n\r\n"
                                                  "       Would you like to select a valid serial port?");
}

// A later start asked this one to show itself: its open windows come to the
// front, unfolded.
void showRunningWindows()
{
    QWidget* last = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && !(w->windowFlags() & (Qt::Popup | Qt::ToolTip))) {
            w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
            w->raise();
            last = w;
        }
    if (last)
        last->activateWindow();
}

} // namespace

void ensureLogFile(const QString& path)
{
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly))
        return; // left exactly as it is
    QFile created(path);
    if (created.open(QIODevice::WriteOnly | QIODevice::Truncate))
        created.write("\r\n"); // an unwritable folder: no log, no message
}

Startup::Startup(Form1& form, SingleInstance& instance, QStringList words, QObject* parent)
    : QObject(parent), form_(form), instance_(instance), words_(std::move(words))
{
    TimerStartUp.setObjectName(QStringLiteral("TimerStartUp"));
    TimerStartUp.setSingleShot(true);
    TimerStartUp.setInterval(kStartUpDelayMs);
    TimerScan.setObjectName(QStringLiteral("TimerScan"));
    TimerScan.setSingleShot(true);
    TimerScan.setInterval(kScanDelayMs);
    connect(&TimerStartUp, &QTimer::timeout, this, &Startup::TimerStartUp_Timer);
    connect(&TimerScan, &QTimer::timeout, this, &Startup::TimerScan_Timer);

    messageBox = [this](QMessageBox::Icon icon, const QString& title, const QString& text,
                     QMessageBox::StandardButtons buttons) {
        QString shown = text;
        shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        QMessageBox box(icon, title, shown, buttons, &form_);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    };
    showPortOptions = [this] {
        Dialog dialog(form_.at(), &form_);
        dialog.exec();
    };
    auto* documentation = new Documentation(&form_);
    openDocument = [documentation](const QString& path) { documentation->open(path); };

    instance_.onShowAsked = [] { showRunningWindows(); };
    form_.installEventFilter(this);
    buildMenu();
    new DesktopKeys(form_, {form_.findChild<QAction*>(QStringLiteral("docum"))}, this); // F1 in every window
}

Startup::~Startup()
{
    form_.removeEventFilter(this);
    if (loading_)
        delete loading_.data();
}

bool Startup::Form_Load()
{
    form_.at().setBusyColour(AtChannel::kCommandColour); // 1. the busy lamp is red

    if (!instance_.tryLock()) { // 2. the running one shows itself; one that cannot be asked is named
        if (instance_.askHolderToShow())
            return false;
        messageBox(QMessageBox::Warning, QLatin1String(Version::kAppTitle),
            tr("The application %1 %2 is already running!")
                .arg(QLatin1String(Version::kAppTitle), QLatin1String(Version::kText)),
            QMessageBox::Ok);
        return false;
    }

    form_.setWindowTitle(tr("ISDN Corvane Plus -  Version %1").arg(QLatin1String(Version::kText))); // 3.
    form_.clearChargeUnits();                                                                       // 4.
    ensureLogFile(ProgramFolder::filePath(QStringLiteral("log.txt")));                              // 5.
    readSettings();                                                                                 // 6. - 10.
    setCurrencyLabel();                                                                             // 11.
    disableTransferButtons();                                                                       // 12.
    declined_ = !detectDevice();                                                                    // 13.
    if (quitting_)
        return true;
    if (!declined_)
        TimerStartUp.start();           // 14.
    openRingSound();                    // 15.
    scan_ = commandLineHasScan(words_); // 16.
    if (scan_) {
        if (!loading_)
            loading_ = new FormLoading;
        loading_->show();
        TimerScan.start();
    }
    setStartupDebugLevel(debugLevelFrom(words_)); // 17.
    return true;
}

FormLoading* Startup::formLoading() const
{
    return loading_;
}

void Startup::showMainWindow()
{
    if (!scan_ && !quitting_)
        form_.show();
}

void Startup::readSettings()
{
    // A value that does not convert leaves its variable as loading found it: zero.
    form_.at().configure(readLineSettings(SettingsStore::user()));

    if (auto* field = form_.findChild<QLineEdit*>(QStringLiteral("TextUCost"))) {
        // A number is shown in the user's format, like the costs beside it
        // (the stored default "0,026" has a comma whatever the locale).
        // A stored cost that is no price shows and counts as the default.
        const std::optional<float> cost = regional::toCost(setting(key::UnitCost));
        form_.UnitCost = cost.value_or(regional::toCost(SettingsStore::defaultFor(key::UnitCost)).value_or(0.0f));
        field->setText(regional::fromSingle(form_.UnitCost)); // runs the field's change handling
    }
    form_.LastReset = setting(key::LastReset);
    if (auto* label = form_.findChild<QLabel*>(QStringLiteral("LabelRTime")))
        label->setText(form_.LastReset);
}

void Startup::setCurrencyLabel()
{
    // The currency symbol as the region writes it after an amount ("0 €" -> " €").
    const QString zero = QLocale().toCurrencyString(0.0, QString(), 0);
    if (auto* label = form_.findChild<QLabel*>(QStringLiteral("Label15")))
        label->setText(zero.mid(1));
}

void Startup::disableTransferButtons()
{
    for (const char* name : {"CommandSend", "CommandPRS1", "CommandPRS2", "CommandPRS3", "CommandPRS4"})
        if (auto* button = form_.findChild<QPushButton*>(QLatin1String(name)))
            button->setEnabled(false);
}

bool Startup::detectDevice()
{
    for (;;) {
        // A port the service holds is not touched: commands there would land in its trace.
        // The window works through the service instead, if it answers.
        serviceaddress::Address silent;
        QString why;
        const Form1::ServiceFound service = form_.detectService(silent, why);
        if (service == Form1::ServiceFound::Attached)
            return true;
        if (service == Form1::ServiceFound::Silent) {
            if (askAboutService(silent, why))
                continue;
            return false;
        }
        if (dodOvaExists(form_.at(), &form_))
            return true;
        if (quitting_)
            return false;
        // The question as it always was, and the device it tried, to be fixed in the options.
        const QString question = detectionQuestion() + QStringLiteral("\r\n\r\n")
                                 + tr("Port tried: %1").arg(form_.at().portPath());
        const QMessageBox::StandardButton answer = messageBox(
            QMessageBox::NoIcon, tr("dodOva Detection"), question, QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes || quitting_)
            return false;
        showPortOptions();
        if (quitting_)
            return false;
    }
}

// The port is the service's: other ports are no answer, stopping it is.
bool Startup::askAboutService(const serviceaddress::Address& service, const QString& why)
{
    const QString text = service.pid > 0
                             ? tr("corvane-monitor (process %1) holds the adapter on %2 and follows its calls, but "
                                  "it does not answer this window. %3\r\n\r\nStop the service, then choose Retry "
                                  "to use the port here.")
                                   .arg(service.pid)
                                   .arg(service.port, why)
                             : tr("%1\r\n\r\nChoose Retry to ask it again.").arg(why);
    const QMessageBox::StandardButton answer = messageBox(
        QMessageBox::Information, tr("dodOva Detection"), text, QMessageBox::Retry | QMessageBox::Close);
    return answer == QMessageBox::Retry && !quitting_;
}

void Startup::openRingSound()
{
    form_.Ring = regional::toInt16(setting(key::Ring)).value_or(0);
    if (form_.Ring != 1)
        return;
    // MMControl1: the one wave player, which the call monitor plays on
    wave::device().setFileName(ProgramFolder::filePath(QStringLiteral("ring.wav")));
    wave::device().command(QStringLiteral("Open"));
}

void Startup::TimerStartUp_Timer()
{
    TimerStartUp.stop();
    form_.CommandRead_Click();
}

void Startup::TimerScan_Timer()
{
    if (loading_)
        loading_->hide();
    if (appHooks().openCallMonitor)
        appHooks().openCallMonitor();
    TimerScan.stop();
    if (loading_)
        loading_->close();
}

void Startup::buildMenu()
{
    QMenuBar* bar = form_.menuBar();
    auto addEntry = [this](auto* owner, const QString& name, const QString& caption, auto slot) {
        QAction* action = owner->addAction(caption);
        action->setObjectName(name);
        action->setParent(&form_); // findChild on the window finds it
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    addEntry(bar, QStringLiteral("PhoneBook"), tr("&Phonebook"), [this] {
        if (appHooks().openPhoneBook)
            appHooks().openPhoneBook(&form_);
    });
    addEntry(bar, QStringLiteral("Monitor"), tr("&Call monitor"), [] {
        if (appHooks().openCallMonitor)
            appHooks().openCallMonitor();
    });
    addEntry(bar, QStringLiteral("COMSelection"), tr("&Settings"), [this] { showPortOptions(); });

    QMenu* help = bar->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("help"));
    help->menuAction()->setObjectName(QStringLiteral("helpMenu"));
    QAction* docum = addEntry(help, QStringLiteral("docum"), tr("&Documentation"), [this] {
        // The bare name, resolved against the working directory (the program
        // folder); help_de.htm and the like in their language.
        openDocument(QDir::current().absoluteFilePath(language::helpPageName()));
    });
    docum->setShortcut(QKeySequence(Qt::Key_F1));
    docum->setShortcutContext(Qt::ApplicationShortcut);
    form_.addAction(docum); // F1 works while the menu is closed
    addEntry(help, QStringLiteral("About"), tr("&About"), [this] { showAbout(); });
}

void Startup::showAbout()
{
    frmAbout about(&form_);
    about_ = &about;
    about.exec();
}

bool Startup::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &form_ && event->type() == QEvent::Close) {
        // Untransmitted edits are the user's to keep or drop; a shutdown by
        // signal or logout cannot wait for an answer.
        if (!quitting_ && !unloaded_ && !form_.settleChanges()) {
            event->ignore();
            return true;
        }
        Form_Unload();
    }
    return QObject::eventFilter(watched, event);
}

void Startup::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    if (appHooks().closeCallMonitor && (!appHooks().callMonitorOpen || appHooks().callMonitorOpen()))
        appHooks().closeCallMonitor(); // takes the device out of trace mode
    if (about_)
        about_->reject();
    if (loading_)
        loading_->close();
    TimerScan.stop();
    TimerStartUp.stop();
    wave::device().command(QStringLiteral("Close"));
}

void Startup::Form_Terminate()
{
    SettingsStore& s = SettingsStore::user();
    writeLineSettings(s, form_.at().line());
    s.write(key::UnitCost, regional::fromSingle(form_.UnitCost));
    s.write(key::LastReset, form_.LastReset);
}

void Startup::closeAndQuit()
{
    quitting_ = true;
    Form_Unload();
    form_.close();
    // exit, not quit: it also ends a modal window's loop while start-up is
    // still asking (quit does nothing before the main loop runs)
    QApplication::exit(0);
}
