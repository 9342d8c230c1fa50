#include "monitor/window/formmonitor.h"
#include "common/settings_keys.h"

#include "common/log_text.h"
#include "common/regional.h"
#include "common/settings_store.h"
#include "device/form1.h"
#include "monitor/outputs/call_outputs.h"
#include "monitor/window/call_filter.h"
#include "monitor/window/call_grid.h"
#include "monitor/window/channel_panel.h"
#include "monitor/window/formmonitor_settings.h"
#include "monitor/window/history_bar.h"
#include "monitor/window/lamp_pictures.h"
#include "monitor/window/monitor_launcher.h"
#include "monitor/window/picture_label.h"
#include "monitor/window/trace_panes.h"
#include "monitor/window/trace_window.h"
#include "monitor/window/twips.h"
#include "monitor/window/wave_device.h"
#include "phonebook/dialogpbook.h"
#include "phonebook/ignore_list.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <cmath>
#include <utility>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

namespace {

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text = {})
{
    auto* l = new QLabel(text, parent);
    if (!name.isEmpty())
        l->setObjectName(name);
    return l;
}

} // namespace

FormMonitor::FormMonitor(
    Form1& mainWindow, AtChannel& at, Clock& clock, SettingsStore& settings, int debugLevel, bool scanMode)
    : QWidget(nullptr, Qt::Window), mainWindow_(mainWindow), clock_(clock), settings_(settings),
      debugLevel_(debugLevel), scanMode_(scanMode), session_(at, clock), engine_(session_.engine()),
      ringLoop_(clock,
          [this] {
              const MonitorDisplay d = shownDisplay();
              return d.channels[0].ringsAloud() || d.channels[1].ringsAloud();
          }),
      popup_(*this, clock)
{
    setObjectName(QStringLiteral("FormMonitor"));
    setWindowTitle(tr("Call Monitor"));
    setWindowIcon(mainWindow.windowIcon());
    QFont f = font();
    f.setPointSizeF(8.0);
    setFont(f);
    dpi_ = twips::dpiOf(this);
    connect(&contacts_, &ContactFolder::changed, this, &FormMonitor::applyInputs);
    applyInputs();

    endProgram = [this] {
        mainWindow_.close();
        QCoreApplication::quit();
    };
    openPhoneBook = [this] {
        DialogpBook book(
            this, [this] { reloadListNames(); }, phoneBookSource(mainWindow_));
        book.exec();
        applyInputs(); // the address-book folder may have changed
    };
    openSettings = [this] {
        FormMonitorSettings dialog(
            settings_, wave::device(),
            [this] {
                applyInputs();
                applyOutputs(); // "Desktop notification"
            },
            this);
        dialog.applyNetwork = [this] {
            applyOutputs();
            return outputs_;
        };
        QStringList msns;
        for (int i = 1; i <= 9; ++i)
            if (const auto* field = mainWindow_.findChild<QLineEdit*>(QStringLiteral("TextMSN%1").arg(i)))
                msns << field->text();
        dialog.setAdapterMsns(msns);
        dialog.Form_Load();
        dialog.exec();
    };

    // A caller notification no desktop service takes goes to the tray.
    const auto tray = [this](const QString& title, const QString& body) {
        if (notifyDesktop)
            notifyDesktop(title, body);
    };
    outputs_ = new CallOutputs(
        {clock_, &engine_.callList(), &session_.missedCount(), nullptr, tray, {}, [this] { bringToFront(); }}, this);
    connect(&session_, &MonitorSession::callEvent, outputs_, &CallOutputs::callEvent);
    connect(outputs_, &CallOutputs::logMessage, this,
        [](const QString& text) { qInfo("%s", qPrintable(logtext::line(text))); });
    buildLayout();
    connectButtons();
    connectSession();
    setUpTray();
    ringLoop_.start();
}

// The call list's grid reads the session's call list, which as a member goes
// before QWidget deletes the children: closing the window would still ask it.
FormMonitor::~FormMonitor()
{
    delete std::exchange(FlexGrid1, nullptr);
}

int FormMonitor::px(int t) const
{
    return twips::toPx(t, dpi_);
}

QRect FormMonitor::twipsRect(int l, int t, int w, int h) const
{
    return twips::rect(l, t, w, h, dpi_);
}

void FormMonitor::buildLayout()
{
    auto* cidFrame = new QGroupBox(tr("Caller ID Number"), this);
    cidFrame->setObjectName(QStringLiteral("FrameCID"));
    cidFrame->setGeometry(twipsRect(120, 0, 4335, 585));
    LabelCID = makeLabel(cidFrame, QStringLiteral("LabelCID"));
    LabelCID->setGeometry(twipsRect(105, 225, 2700, 315));
    QFont big = LabelCID->font();
    big.setPointSizeF(10.0);
    big.setBold(true);
    LabelCID->setFont(big);
    LabelTIM = makeLabel(cidFrame, QStringLiteral("LabelTIM"));
    LabelTIM->setGeometry(twipsRect(2850, 225, 1380, 315));
    LabelTIM->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* clockFrame = new QGroupBox(this);
    clockFrame->setObjectName(QStringLiteral("FrameClock"));
    clockFrame->setGeometry(twipsRect(4485, 0, 885, 585));
    LabelNOW = makeLabel(clockFrame, QStringLiteral("LabelNOW"));
    LabelNOW->setGeometry(twipsRect(30, 180, 825, 360));
    LabelNOW->setAlignment(Qt::AlignCenter);

    auto* isdnFrame = new QGroupBox(QStringLiteral("ISDN"), this);
    isdnFrame->setObjectName(QStringLiteral("FrameISDN"));
    isdnFrame->setGeometry(twipsRect(5400, 0, 495, 585));
    ImageLED = new PictureLabel(isdnFrame);
    ImageLED->setObjectName(QStringLiteral("ImageLED"));
    ImageLED->setGeometry(twipsRect(30, 210, 435, 330));
    ImageLED->showLamp(lamps::Grey);

    auto button = [this](const char* name, const QString& tip, const QIcon& icon, int left) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(tip);
        b->setIcon(icon);
        b->setIconSize(QSize(px(360), px(360))); // the art grows with the button
        // 30 twips higher than designed, so the buttons clear the picture frame below.
        b->setGeometry(twipsRect(left, 30, 555, 555));
        return b;
    };
    Command3 = button("Command3", tr("Phone Book"), buttonart::phoneBook(), 6000);
    CommandOptions = button("CommandOptions", tr("Settings"), buttonart::settings(), 6660);
    Command2 = button("Command2", tr("Hide/Show Log"), buttonart::hideShowLog(), 7340);

    channels_[0] = new ChannelPanel(ChannelPanel::A, 120, 2895, dpi_, this);
    channels_[1] = new ChannelPanel(ChannelPanel::B, 3120, 2775, dpi_, this);

    auto* pictureFrame = new QGroupBox(this);
    pictureFrame->setObjectName(QStringLiteral("FramePicture"));
    pictureFrame->setGeometry(twipsRect(5970, 600, 1950, 2535));
    Image2 = new PictureLabel(pictureFrame);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(twipsRect(90, 150, 1770, 2295));

    FlexGrid1 = new CallGrid(settings_, this);
    FlexGrid1->setCallList(&engine_.callList());
    history_ = new HistoryBar(*FlexGrid1, engine_.callList(), clock_, session_.missedCount(), this);
    history_->place(twipsRect(120, kGridTop, 7815, 4500));
    connect(FlexGrid1, &CallGrid::recordEntered, this, &FormMonitor::showRecordPicture);
    FlexGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(FlexGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const int row = FlexGrid1->filter().sourceRow(FlexGrid1->indexAt(at).row());
        if (row < 0)
            return;
        QMenu menu(this);
        QAction* ignore = menu.addAction(tr("Ignore this caller"));
        ignore->setObjectName(QStringLiteral("ActionIgnoreCaller"));
        const QString number = engine_.callList().records().value(row).number;
        ignore->setEnabled(!numberforms::national(number, engine_.inputs().numberPlan).isEmpty()
                           && !engine_.inputs().ignored.matches(number));
        QAction* remove = menu.addAction(tr("Delete"));
        remove->setObjectName(QStringLiteral("ActionDeleteCalls"));
        remove->setShortcut(QKeySequence::Delete);
        remove->setEnabled(FlexGrid1->selectedCount() > 0);
        QAction* chosen = menu.exec(FlexGrid1->viewport()->mapToGlobal(at));
        if (chosen == ignore)
            ignoreCaller(row);
        else if (chosen == remove)
            FlexGrid1->deleteSelectedRows();
    });

    buildDebugViews();
}

void FormMonitor::buildDebugViews()
{
    tracePanes_ = new TracePanes(engine_, dpi_, this);
    auto button = [&](const char* name, const QString& caption, int l, int w) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(twipsRect(l, 7320, w, 375));
        b->hide();
        return b;
    };
    Command1 = button("Command1", tr("CLEAR THE WINDOWS"), 8040, 2535);
    Command4 = button("Command4", tr("Resume Trace"), 10680, 2175);
    CommandPause = button("CommandPause", tr("Stop Trace"), 12960, 1935);
}

bool FormMonitor::debugLayoutFits() const
{
    const QScreen* s = screen();
    const QSize area = s ? s->availableGeometry().size() : QSize();
    return area.isEmpty() || (px(kDebugWidth) <= area.width() && px(kDebugHeight) <= area.height());
}

void FormMonitor::connectButtons()
{
    connect(Command1, &QPushButton::clicked, this, &FormMonitor::Command1_Click);
    connect(Command2, &QToolButton::clicked, this, &FormMonitor::Command2_Click);
    connect(Command3, &QToolButton::clicked, this, &FormMonitor::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &FormMonitor::Command4_Click);
    connect(CommandPause, &QPushButton::clicked, this, &FormMonitor::CommandPause_Click);
    connect(CommandOptions, &QToolButton::clicked, this, &FormMonitor::CommandOptions_Click);
    for (int i = 0; i < 2; ++i)
        connect(channels_[size_t(i)], &ChannelPanel::ringLampClicked, this, [this, i] {
            if (feed_)
                silenceRing(i);
            else
                engine_.stopRingLoop(i == 0 ? u'A' : u'B');
        });
}

void FormMonitor::setUnitCost(float cost)
{
    unitCost_ = cost;
    applyInputs();
}

void FormMonitor::applyInputs()
{
    if (const QString folder = settings_.read(key::ContactsFolder); folder != contacts_.folder()) {
        contacts_.follow(folder, ContactFolder::defaultPictureDir()); // its changed() comes back here
        return;
    }
    MonitorInputs inputs = readMonitorInputs(settings_, debugLevel_);
    inputs.contacts = contacts_.lookup(inputs.numberPlan);
    if (unitCost_)
        inputs.unitCost = *unitCost_;
    if (FlexGrid1) {
        FlexGrid1->filter().setIgnored(inputs.ignored);
        FlexGrid1->filter().setPlaces(callhistory::placesOf(inputs));
    }
    ringLoop_.setSound(inputs.ringSound, inputs.wavFile);
    engine_.setInputs(inputs);
}

void FormMonitor::applyOutputs()
{
    OutputPlan plan = readOutputPlan(settings_, session_.portPath());
    if (feed_) { // the service runs the servers, MQTT and programs: here only what the user sees
        OutputPlan shown;
        shown.desktop = plan.desktop;
        plan = shown;
    }
    outputs_->apply(plan);
}

void FormMonitor::ignoreCaller(int row)
{
    const QString number = engine_.callList().records().value(row).number;
    if (feed_) {
        feed_->ignore(number, [this, number](bool done, const QString& why) {
            history_->showNote(
                done ? tr("Calls from %1 are ignored from now on: no popup, sound or notification.").arg(number)
                     : tr("%1 could not be added to the ignore list of corvane-monitor: %2").arg(number, why));
        });
        return;
    }
    const QString path = IgnoreList::defaultPath();
    if (IgnoreList::add(path, number, engine_.inputs().numberPlan)) {
        history_->showNote(tr("Calls from %1 are ignored from now on: no popup, sound or notification.").arg(number));
    } else {
        qWarning("%s", qPrintable(logtext::line(QStringLiteral("could not add to ") + path)));
        history_->showNote(tr("%1 could not be added: the ignore list %2 could not be written.")
                               .arg(number, QDir::toNativeSeparators(path)));
    }
    applyInputs();
}

int FormMonitor::storedNumber(const QString& key, int least) const
{
    const std::optional<double> v = regional::toNumber(settings_.read(key));
    const std::optional<double> d = regional::toNumber(SettingsStore::defaultFor(key));
    // Hand-edited nonsense (no number, a window miles wide, one too low to
    // show the call list) takes the default.
    const double value = v && *v >= least && *v <= kMostTwips ? *v : d.value_or(0);
    return static_cast<int>(regional::roundHalfEven(value));
}

// ---- window size and position in twips ------------------------------------

namespace {
// A value the program set stays exact as long as the pixels still match it.
int keepTwips(int setTwips, int pixels, int frameTwips, double dpi)
{
    if (twips::toPx(setTwips - frameTwips, dpi) == pixels)
        return setTwips;
    return twips::fromPx(pixels, dpi) + frameTwips;
}
} // namespace

int FormMonitor::widthTwips() const
{
    return keepTwips(widthSet_, width(), kFrameWidth, dpi_);
}

int FormMonitor::heightTwips() const
{
    return keepTwips(heightSet_, height(), kFrameHeight, dpi_);
}

int FormMonitor::leftTwips() const
{
    return keepTwips(leftSet_, pos().x(), 0, dpi_);
}

int FormMonitor::topTwips() const
{
    return keepTwips(topSet_, pos().y(), 0, dpi_);
}

void FormMonitor::setHeightTwips(int twipsHeight)
{
    heightSet_ = twipsHeight;
    resize(width(), std::max(1, px(twipsHeight - kFrameHeight)));
}

void FormMonitor::setWidthTwips(int twipsWidth)
{
    widthSet_ = twipsWidth;
    resize(std::max(1, px(twipsWidth - kFrameWidth)), height());
}

// ---- opening ---------------------------------------------------------------

void FormMonitor::open()
{
    mainWindow_.hide();
    Form_Load();
    show();
    Form_Resize();
    engine_.clearCallLabels();
    prepareGrid();
}

void FormMonitor::prepareGrid()
{
    FlexGrid1->applyStoredWidths();
    if (!feed_)
        session_.loadList(); // else the service's list comes when the feed attaches
    if (engine_.callList().count() > 0)
        FlexGrid1->setCurrentRecord(0); // the newest record; its picture shows
}

void FormMonitor::Form_Load()
{
    engine_.reset();
    applyInputs();
    EnableComScanMonitorCID();
    applyOutputs();
    if (debugLevel_ > 0) {
        if (!traceWindow_ && !debugLayoutFits())
            traceWindow_ = new TraceWindow(*tracePanes_, {Command1, Command4, CommandPause}, *this);
        tracePanes_->show();
        for (QWidget* w : std::initializer_list<QWidget*>{CommandPause, Command1, Command4})
            w->show();
    }
    for (ChannelPanel* channel : channels_)
        channel->forgetLamps();
    leftSet_ = storedNumber(key::ScanLeft);
    topSet_ = storedNumber(key::ScanTop);
    move(px(leftSet_), px(topSet_));
    setWidthTwips(fixedDebugSize() ? kDebugWidth : kWidth);
    setHeightTwips(storedNumber(key::ScanHeight, kLeastListHeight));
    FlexGrid1->viewport()->update();
    loaded_ = true;
}

void FormMonitor::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (loaded_ && !unloading_)
        Form_Resize();
}

void FormMonitor::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (traceWindow_ && !traceWindow_->isVisible())
        traceWindow_->showBeside();
    pushViewState();
}

void FormMonitor::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (traceWindow_)
        traceWindow_->hide();
    pushViewState();
}

void FormMonitor::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        pushViewState();
}

void FormMonitor::pushViewState()
{
    engine_.setViewState({isVisible(), windowStateNormal()});
}

void FormMonitor::Form_Resize()
{
    if (inResize_ || !windowStateNormal())
        return;
    inResize_ = true;
    const auto done = qScopeGuard([this] { inResize_ = false; });
    if (!fixedDebugSize()) {
        // Never narrower than designed; a wider window gives the call list the room.
        if (widthTwips() < kWidth)
            setWidthTwips(kWidth);
        if (heightTwips() < kFoldedHeight)
            setHeightTwips(kFoldedHeight);
        const int g = heightTwips() - kGridTop - kGridBottomGap;
        if (g < 0)
            return;
        history_->place(twipsRect(120, kGridTop, 7815 + widthTwips() - kWidth, g));
    } else {
        setHeightTwips(kDebugHeight);
        setWidthTwips(kDebugWidth);
    }
    settings_.write(key::ScanHeight, QString::number(heightTwips()));
    if (debugLevel_ == 0 && settings_.isOne(key::ScanHide))
        setHeightTwips(kFoldedHeight);
}

// ---- buttons -----------------------------------------------------------------

void FormMonitor::Command1_Click()
{
    if (feed_)
        feed_->clearTrace(); // the service's trace buffer is its decode's, not this window's
    else
        engine_.clearWindows();
}

void FormMonitor::Command2_Click()
{
    if (debugLevel_ >= 1)
        return;
    if (heightTwips() <= kFoldedHeight) {
        settings_.write(key::ScanHide, QStringLiteral("0"));
        setHeightTwips(storedNumber(key::ScanHeight, kLeastListHeight));
    } else {
        settings_.write(key::ScanHide, QStringLiteral("1"));
        setHeightTwips(kFoldedHeight);
    }
    Form_Resize();
}

void FormMonitor::Command3_Click()
{
    if (openPhoneBook)
        openPhoneBook();
}

void FormMonitor::CommandOptions_Click()
{
    if (openSettings)
        openSettings();
}

// On a service the adapter stays in trace mode for every other front end and
// output: only this window's panes stop and go on.
void FormMonitor::Command4_Click()
{
    if (feed_)
        feed_->pauseTrace(false);
    else
        session_.resumeTrace();
}

void FormMonitor::CommandPause_Click()
{
    if (feed_)
        feed_->pauseTrace(true);
    else
        session_.pauseTrace();
}
