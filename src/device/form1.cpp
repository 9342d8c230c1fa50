#include "device/form1.h"

#include "common/service_address.h"
#include "device/form1_ui.h"
#include "device/register_map.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>

#include <vector>

namespace {

const char* const kPortErrorText = QT_TRANSLATE_NOOP("Form1", "Either serial port is being used or Port is wrong.");
const char* const kPortErrorTitle = QT_TRANSLATE_NOOP("Form1", "Serial Port Error!");
const char* const kRefusedTitle = QT_TRANSLATE_NOOP("Form1", "Warning!");
// A usual window manager's border, in pixels, for sizing before the first show.
constexpr int kFrameBorder = 6;

} // namespace

// --- WidgetElements -------------------------------------------------------

QCheckBox* WidgetElements::box(FormElement e) const
{
    const int i = int(e);
    return i < kCheckCount ? checks[i] : nullptr;
}

QButtonGroup* WidgetElements::group(FormElement e) const
{
    const int i = int(e) - kFirstChoice;
    return i >= 0 && i < kChoiceCount ? groups[i] : nullptr;
}

QLineEdit* WidgetElements::field(FormElement e) const
{
    const int i = int(e) - kFirstText;
    return i >= 0 && i < kTextCount ? texts[i] : nullptr;
}

int WidgetElements::check(FormElement name) const
{
    const QCheckBox* b = box(name);
    if (!b)
        return 0;
    switch (b->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

void WidgetElements::setCheck(FormElement name, int value)
{
    if (QCheckBox* b = box(name))
        b->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

int WidgetElements::choice(FormElement name) const
{
    const QButtonGroup* g = group(name);
    return g ? g->checkedId() : -1;
}

void WidgetElements::setChoice(FormElement name, int index)
{
    if (QButtonGroup* g = group(name))
        if (QAbstractButton* b = g->button(index))
            b->setChecked(true);
}

QString WidgetElements::text(FormElement name) const
{
    const QLineEdit* f = field(name);
    return f ? f->text() : QString();
}

void WidgetElements::setText(FormElement name, const QString& text)
{
    if (QLineEdit* f = field(name))
        f->setText(text);
}

// --- Form1 ----------------------------------------------------------------

// A command sequence: while one runs, the PPP-mode choice is disabled like the
// transfer buttons, and a choice the reading makes runs its reaction.
class SequenceGuard {
public:
    SequenceGuard(int& depth, QButtonGroup* ppp) : depth_(depth), ppp_(ppp) { enable(++depth_ == 0); }
    ~SequenceGuard() { enable(--depth_ == 0); }
    SequenceGuard(const SequenceGuard&) = delete;
    SequenceGuard& operator=(const SequenceGuard&) = delete;

private:
    void enable(bool on)
    {
        for (QAbstractButton* b : ppp_->buttons())
            b->setEnabled(on);
    }
    int& depth_;
    QButtonGroup* ppp_;
};

Form1::Form1(AtChannel& at, QWidget* parent) : QMainWindow(parent), at_(at), control_(at), ui_(new Ui)
{
    setObjectName(QStringLiteral("Form1"));
    control_.progress = [this](AdapterControl::Step step, int done, int total) { showProgress(step, done, total); };
    control_.warn = [this](const QString& text, const QString& title) {
        if (messageBox)
            messageBox(text, title);
    };
    portOpens_ = [this] { return at_.portOpens(); };
    messageBox = [this](const QString& text, const QString& title) {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, this);
        box.exec();
    };
    ask = [this](const QString& text, const QString& title, QMessageBox::StandardButtons buttons,
              QMessageBox::StandardButton byDefault) {
        QMessageBox box(QMessageBox::Question, title, text, buttons, this);
        box.setDefaultButton(byDefault);
        if (QAbstractButton* transmit = box.button(QMessageBox::Save))
            transmit->setText(tr("Transmit"));
        return static_cast<QMessageBox::StandardButton>(box.exec());
    };
    buildWindow();
    connectReactions();

    connect(&at_, &AtChannel::commandFailed, this, [] { QApplication::beep(); });
    connect(&at_, &AtChannel::lampChanged, this, [this](unsigned bgr) { paintLamp(bgr); });
    paintLamp(AtChannel::kIdleColour);
}

void Form1::paintLamp(unsigned bgr)
{
    QPalette p = ui_->Led->palette();
    p.setColor(QPalette::Window, lampColour(bgr));
    ui_->Led->setPalette(p);
}

QColor Form1::lampColour(unsigned bgr) const
{
    if (bgr == AtChannel::kIdleColour)
        return palette().color(QPalette::Button);
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

Form1::~Form1()
{
    delete ui_;
}

AtChannel& Form1::at()
{
    return at_;
}
void Form1::setSendFunction(AdapterControl::Send send)
{
    control_.setSendFunction(std::move(send));
}
void Form1::setPortTest(std::function<bool()> portOpens)
{
    portOpens_ = std::move(portOpens);
}

// A running corvane-monitor that holds the port takes the commands (its
// trace would see them otherwise), unless the user left it for the port.
Form1::Route Form1::route()
{
    // Another port chosen in the port options: the service found for the old one is not asked.
    if (service_ && serviceUrl_.isEmpty() && !serviceaddress::samePort(service_->address().port, at_.portPath()))
        detach();
    if (service_)
        return Route::Service;
    if (const std::optional<serviceaddress::Address> held = serviceaddress::holding(at_.portPath());
        held && held->token != leftToken_) {
        attach(*held);
        return Route::Service;
    }
    return portTest() ? Route::Port : Route::None;
}

bool Form1::portTest()
{
    if (portOpens_ && portOpens_())
        return true;
    if (messageBox)
        messageBox(tr(kPortErrorText), tr(kPortErrorTitle));
    return false;
}

void Form1::showStatus(const QString& text)
{
    if (ui_->status)
        ui_->status->setText(text);
    emit statusShown(text);
}

void Form1::connectReactions()
{
    for (QCheckBox* box : ui_->elements.checks)
        connect(box, &QCheckBox::stateChanged, this, [this] { Change(); });
    for (QLineEdit* field : ui_->elements.texts)
        connect(field, &QLineEdit::textChanged, this, [this] { Change(); });
    QButtonGroup* ppp = ui_->elements.group(FormElement::Option1);
    for (QButtonGroup* g : ui_->elements.groups)
        if (g != ppp)
            connect(g, &QButtonGroup::idToggled, this, [this](int, bool on) {
                if (on)
                    Change();
            });
    // The reading makes its own choice; the user's goes through the port
    // test like every device button.
    connect(ppp, &QButtonGroup::idClicked, this, [this] {
        if (sequences_ == 0)
            pppChosen();
    });
    connect(ui_->TextUCost, &QLineEdit::textChanged, this, [this] { TextUCost_Change(); });

    connect(ui_->CommandRead, &QPushButton::clicked, this, [this] { receiveClicked(); });
    connect(ui_->CommandSend, &QPushButton::clicked, this, [this] { CommandSend_Click(); });
    connect(ui_->Command2, &QPushButton::clicked, this, [this] {
        if (confirm(tr("Reset the six charge counters of the DodOva to zero? The counts cannot be restored."),
                tr("Reset Counters")))
            Command2_Click();
    });

    // Each device button: its command, what it asks first (loading overwrites
    // every setting of the device), what it says when done.
    using C = ServiceClient::Command;
    struct DeviceButton {
        QPushButton* button;
        QString question;
        DeviceCommand command;
    };
    std::vector<DeviceButton> buttons = {
        {ui_->CommandPRF,
            tr("Load the factory settings into the DodOva? Every setting it has now, and every change in this "
               "window, is overwritten."),
            {QStringLiteral("ATZ4"), [](AdapterControl& c) { return c.loadFactory(); }, C::Factory, 0, true,
                tr("Factory settings loaded.")}},
        {ui_->Command7, {},
            {QStringLiteral("ATH3"), [](AdapterControl& c) { return c.hangUp(1); }, C::HangUp, 1, false,
                tr("Phone 1 hung up.")}},
        {ui_->Command8, {},
            {QStringLiteral("ATH4"), [](AdapterControl& c) { return c.hangUp(2); }, C::HangUp, 2, false,
                tr("Phone 2 hung up.")}},
    };
    for (int p = 1; p <= 4; ++p) {
        buttons.push_back({ui_->CommandPRL[p - 1],
            tr("Load profile %1 into the DodOva? Every setting it has now, and every change in this window, is "
               "overwritten.")
                .arg(p),
            {QStringLiteral("ATZ%1").arg(p - 1), [p](AdapterControl& c) { return c.loadProfile(p); }, C::ProfileLoad, p,
                true, tr("Profile %1 loaded.").arg(p)}});
        buttons.push_back({ui_->CommandPRS[p - 1], {},
            {QStringLiteral("AT&W%1").arg(p - 1), [p](AdapterControl& c) { return c.saveProfile(p); }, C::ProfileSave,
                p, false, tr("Settings saved to profile %1.").arg(p)}});
    }
    for (const DeviceButton& d : buttons) {
        connect(d.button, &QPushButton::clicked, this, [this, d] {
            if (d.question.isEmpty() || confirm(d.question, d.button->text()))
                sendDeviceCommand(d.command);
        });
    }
}

bool Form1::confirm(const QString& text, const QString& title)
{
    return ask && ask(text, title, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

bool Form1::changesPending() const
{
    return haveReading_ && !lastReadFailed_ && !(edited().elements == read_.elements);
}

Form1::Settled Form1::settle(bool showDevice)
{
    if (sequences_ > 0 || !changesPending())
        return Settled::Nothing;
    const QMessageBox::StandardButton answer =
        ask ? ask(tr("The changes in this window have not been transmitted to the DodOva."),
            tr("Untransmitted Changes"), QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
            QMessageBox::Save)
            : QMessageBox::Cancel;
    if (answer == QMessageBox::Save) {
        CommandSend_Click();
        return Settled::Transmitted;
    }
    if (answer != QMessageBox::Discard)
        return Settled::Cancelled;
    if (showDevice)
        showValue(read_); // the window shows the device again
    return Settled::Discarded;
}

bool Form1::settleChanges()
{
    return settle(true) != Settled::Cancelled;
}

// "Receive Settings" from the button: edits the reading would overwrite are
// settled first; a transmission reads back by itself. Discarded edits are
// left to the reading, which keeps what gets no answer, as always.
void Form1::receiveClicked()
{
    const Settled settled = settle(false);
    if (settled != Settled::Cancelled && settled != Settled::Transmitted)
        CommandRead_Click();
}

void Form1::showPending()
{
    if (ui_->pending)
        ui_->pending->setVisible(changesPending());
}

void Form1::Change()
{
    // Any edit counts, even one back to what was read: the save buttons
    // store the device's settings, and the window no longer says which.
    if (!showing_) {
        setSaveButtonsEnabled(false);
        showPending();
    }
}

// After a reading that left fields unread, writing the window back or saving
// into a profile would store what the device never said.
void Form1::setSaveButtonsEnabled(bool on)
{
    for (QPushButton* b : ui_->CommandPRS)
        b->setEnabled(on && !lastReadFailed_);
}

void Form1::setTransferButtonsEnabled(bool on)
{
    ui_->CommandRead->setEnabled(on);
    ui_->CommandSend->setEnabled(on && !lastReadFailed_);
    ui_->CommandPRF->setEnabled(on);
    for (QPushButton* b : ui_->CommandPRL)
        b->setEnabled(on);
    setSaveButtonsEnabled(on);
}

void Form1::clearPppChoice()
{
    QButtonGroup* g = ui_->elements.group(FormElement::Option1);
    g->setExclusive(false); // an exclusive group cannot have its checked button unchecked
    for (QAbstractButton* b : g->buttons())
        b->setChecked(false);
    g->setExclusive(true);
}

void Form1::pppChosen()
{
    const Route r = route();
    if (r == Route::Service)
        return pppThroughService(ui_->elements.choice(FormElement::Option1));
    if (r == Route::None) {
        // Nothing was sent: show the mode the bundle box stands for again.
        ui_->elements.setChoice(FormElement::Option1, pppChoiceFor(ui_->elements));
        return;
    }
    SequenceGuard sequence(sequences_, ui_->elements.group(FormElement::Option1));
    Option1_Click();
}

void Form1::sendDeviceCommand(const DeviceCommand& d)
{
    const Route r = route();
    if (r == Route::Service)
        return commandThroughService(d);
    if (r == Route::None)
        return;
    SequenceGuard sequence(sequences_, ui_->elements.group(FormElement::Option1));
    showStatus(tr("Sending %1").arg(d.command));
    const AtReply reply = d.op(control_);
    const QString said = deviceAbsent() ? tr("No DodOva answers on port %1.").arg(at_.line().port)
                         : reply.outcome == AtOutcome::Refused    ? tr("The DodOva refused %1.").arg(d.command)
                         : reply.outcome == AtOutcome::Unanswered ? tr("The DodOva did not answer %1.").arg(d.command)
                                                                  : d.done;
    showStatus(said);
    if (!d.reread)
        return;
    CommandRead_Click();
    if (!lastReadFailed_)
        showStatus(said); // the reading went well: what was done is the news
}

bool Form1::deviceAbsent() const
{
    return at_.deviceAbsent();
}

QString Form1::readingStatus(const AdapterControl::Tally& tally) const
{
    if (!lastReadFailed_)
        return tr("Settings received.");
    const QString why =
        deviceAbsent() || tally.missing == tally.sent
            ? tr("No DodOva answered on port %1: the window shows the last known values.").arg(at_.line().port)
            : tr("%1 of %2 commands got no answer or were refused: their fields keep their last "
                 "values.")
                  .arg(tally.missing)
                  .arg(tally.sent);
    return why + u' ' + tr("Transmit Settings and Save to P stay off until a reading succeeds.");
}

void Form1::CommandRead_Click()
{
    const Route r = route();
    if (r == Route::Service)
        return readThroughService();
    if (r == Route::None)
        return;
    SequenceGuard sequence(sequences_, ui_->elements.group(FormElement::Option1));
    setTransferButtonsEnabled(false);
    clearPppChoice();
    AdapterSettings value = edited(); // what gets no answer keeps what the window shows
    const AdapterControl::Tally tally = control_.read(value);
    read_ = value;
    showValue(read_);
    QTimer::singleShot(0, this, &Form1::growToFrames); // once the frames are laid out anew
    lastReadFailed_ = deviceAbsent() || tally.missing > 0;
    haveReading_ = true;
    setTransferButtonsEnabled(true);
    showStatus(readingStatus(tally));
}

void Form1::CommandSend_Click()
{
    const Route r = route();
    if (r == Route::Service)
        return transmitThroughService();
    if (r == Route::None)
        return;
    SequenceGuard sequence(sequences_, ui_->elements.group(FormElement::Option1));
    setTransferButtonsEnabled(false);
    AdapterSettings value = edited();
    const QStringList refused = control_.transmit(value);
    read_.registers = value.registers; // a failed read-back query keeps what was written
    CommandRead_Click();
    setSaveButtonsEnabled(true);
    ui_->CommandRead->setEnabled(true);
    ui_->CommandSend->setEnabled(!lastReadFailed_);
    if (refused.isEmpty() && !lastReadFailed_)
        showStatus(tr("Settings written to the adapter."));
    reportRefused(refused);
}

// After a transmission's read-back, which shows what the device kept: what it would not take.
void Form1::reportRefused(const QStringList& refused)
{
    if (refused.isEmpty())
        return;
    const QString list = refused.join(QStringLiteral(", "));
    showStatus(ui_->status->text() + u' ' + tr("The DodOva refused: %1.").arg(list));
    if (messageBox)
        messageBox(tr("The DodOva refused these settings and kept its own values:\n%1").arg(list), tr(kRefusedTitle));
}

// --- fitting the screen ---------------------------------------------------

void Form1::showEvent(QShowEvent* event)
{
    if (!std::exchange(fitted_, true))
        fitToScreen();
    QMainWindow::showEvent(event);
}

// What a reading writes into the frames can make them taller (longer texts):
// where the screen has the room, the window grows rather than the frames scroll.
void Form1::growToFrames()
{
    const auto* scroll = findChild<QScrollArea*>(QStringLiteral("SettingsScroll"));
    const QScreen* s = screen();
    if (!scroll || !s || !isVisible())
        return;
    const int missing = scroll->widget()->minimumSizeHint().height() - scroll->viewport()->height();
    const int room = s->availableGeometry().bottom() - frameGeometry().bottom();
    if (missing > 0 && room > 0)
        resize(width(), height() + std::min(missing, room));
}

// The window opens at the size its frames need, or at the screen's available
// size when that is smaller; then the frames scroll instead of being cut off.
void Form1::fitToScreen()
{
    const QScreen* s = screen();
    if (!s)
        return;
    const QRect avail = s->availableGeometry();
    // The window manager's frame is not known before the first show: allow for
    // a usual one, and correct once it is known.
    const QSize frame(2 * kFrameBorder, style()->pixelMetric(QStyle::PM_TitleBarHeight) + 2 * kFrameBorder);
    const int chrome = menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
    const QSize room = avail.size() - frame;
    // Fewer frames side by side where three would scroll sideways, and the
    // bottom row in two where one would be wider than the screen.
    for (int columns = 3; columns > 1 && ui_->content->sizeHint().width() > room.width(); --columns)
        arrangeFrames(columns - 1);
    if (ui_->bottomRow->sizeHint().width() > room.width())
        arrangeBottomRow(true);
    const QSize bottom = ui_->bottomRow->sizeHint();
    QSize want = ui_->content->sizeHint().expandedTo(QSize(bottom.width(), 0)) + QSize(0, chrome + bottom.height());
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (want.height() > room.height())
        want.rwidth() += bar; // the vertical scroll bar takes its width
    if (want.width() > room.width())
        want.rheight() += bar;
    resize(want.boundedTo(room));
    if (!avail.contains(QRect(pos(), size() + frame)))
        move(avail.topLeft());
    QTimer::singleShot(0, this, [this, avail] {
        const QRect outer = frameGeometry();
        if (avail.contains(outer))
            return;
        resize(size() - (outer.size() - avail.size()).expandedTo(QSize(0, 0)));
        move(avail.topLeft());
    });
}
