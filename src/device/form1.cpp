#include "device/form1.h"
#include "device/form1_ui.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

namespace {

const QString kPortErrorText = QStringLiteral("Either serial port is being used or Port is wrong.");
const QString kPortErrorTitle = QStringLiteral("Serial Port Error!");

} // namespace

// --- WidgetElements -------------------------------------------------------

int WidgetElements::check(const QString& name) const
{
    const QCheckBox* box = checks.value(name);
    if (!box)
        return 0;
    switch (box->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

void WidgetElements::setCheck(const QString& name, int value)
{
    if (QCheckBox* box = checks.value(name))
        box->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

int WidgetElements::choice(const QString& group) const
{
    const QButtonGroup* g = groups.value(group);
    return g ? g->checkedId() : -1;
}

void WidgetElements::setChoice(const QString& group, int index)
{
    if (QButtonGroup* g = groups.value(group))
        if (QAbstractButton* b = g->button(index))
            b->setChecked(true);
}

QString WidgetElements::text(const QString& name) const
{
    const QLineEdit* field = texts.value(name);
    return field ? field->text() : QString();
}

void WidgetElements::setText(const QString& name, const QString& text)
{
    if (QLineEdit* field = texts.value(name))
        field->setText(text);
}

// --- Form1 ----------------------------------------------------------------

Form1::Form1(AtChannel& at, QWidget* parent)
    : QMainWindow(parent), at_(at), ui_(new Ui)
{
    setObjectName(QStringLiteral("Form1"));
    send_ = [this](const QString& cmd) { return at_.SendAT(cmd); };
    portOpens_ = [this] { return at_.portOpens(); };
    messageBox = [this](const QString& text, const QString& title) {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, this);
        box.exec();
    };
    buildWindow();
    connectReactions();

    at_.latchIsSet = [this] { return ui_->label(QStringLiteral("Label_info1"))->text() == u"Error"; };
    at_.setLed = [this](QColor colour) {
        QPalette p = ui_->led->palette();
        p.setColor(QPalette::Window, colour.isValid() ? colour : palette().color(QPalette::Button));
        ui_->led->setPalette(p);
    };
    at_.setLed(palette().color(QPalette::Button));
}

Form1::~Form1()
{
    // The channel outlives the window; its hooks must not call into a dead one.
    at_.latchIsSet = nullptr;
    at_.setLed = nullptr;
    delete ui_;
}

AtChannel& Form1::at() { return at_; }
SettingsElements& Form1::elements() { return ui_->elements; }

void Form1::setSendFunction(SendFunction send) { send_ = std::move(send); }
void Form1::setPortTest(std::function<bool()> portOpens) { portOpens_ = std::move(portOpens); }

QString Form1::send(const QString& cmd)
{
    const QString answer = send_ ? send_(cmd) : QString();
    // "ATE1" says "OK" even when nothing answers; only bodies show a device.
    if (!answer.isEmpty() && cmd != u"ATE1")
        ++answers_;
    return answer;
}

bool Form1::portTest()
{
    if (portOpens_ && portOpens_())
        return true;
    if (messageBox)
        messageBox(kPortErrorText, kPortErrorTitle);
    return false;
}

void Form1::showStatus(const QString& text)
{
    if (ui_->status)
        ui_->status->setText(text);
}

void Form1::connectReactions()
{
    for (QCheckBox* box : std::as_const(ui_->elements.checks))
        connect(box, &QCheckBox::stateChanged, this, [this] { Change(); });
    for (QLineEdit* field : std::as_const(ui_->elements.texts))
        connect(field, &QLineEdit::textChanged, this, [this] { Change(); });
    for (auto it = ui_->elements.groups.cbegin(); it != ui_->elements.groups.cend(); ++it) {
        if (it.key() == u"Option1")
            connect(it.value(), &QButtonGroup::idToggled, this, [this](int, bool on) {
                if (on)
                    Option1_Click();
            });
        else
            connect(it.value(), &QButtonGroup::idToggled, this, [this](int, bool on) {
                if (on)
                    Change();
            });
    }
    connect(ui_->textUCost, &QLineEdit::textChanged, this, [this] { TextUCost_Change(); });

    connect(ui_->button(QStringLiteral("CommandRead")), &QPushButton::clicked, this, [this] { CommandRead_Click(); });
    connect(ui_->button(QStringLiteral("CommandSend")), &QPushButton::clicked, this, [this] { CommandSend_Click(); });
    connect(ui_->button(QStringLiteral("Command2")), &QPushButton::clicked, this, [this] { Command2_Click(); });

    struct ProfileButton {
        const char* name;
        const char* command;
        bool reread;
    };
    static constexpr ProfileButton kProfileButtons[] = {
        {"CommandPRF", "ATZ4", true},   {"CommandPRL1", "ATZ0", true}, {"CommandPRL2", "ATZ1", true},
        {"CommandPRL3", "ATZ2", true},  {"CommandPRL4", "ATZ3", true}, {"CommandPRS1", "AT&W0", false},
        {"CommandPRS2", "AT&W1", false}, {"CommandPRS3", "AT&W2", false}, {"CommandPRS4", "AT&W3", false},
        {"Command7", "ATH3", false},    {"Command8", "ATH4", false},
    };
    for (const ProfileButton& p : kProfileButtons) {
        const QString cmd = QString::fromLatin1(p.command);
        const bool reread = p.reread;
        connect(ui_->button(QString::fromLatin1(p.name)), &QPushButton::clicked, this,
                [this, cmd, reread] { sendProfileCommand(cmd, reread); });
    }
}

void Form1::Change()
{
    setSaveButtonsEnabled(false);
}

void Form1::setSaveButtonsEnabled(bool on)
{
    for (int p = 1; p <= 4; ++p)
        ui_->button(QStringLiteral("CommandPRS%1").arg(p))->setEnabled(on);
}

void Form1::setTransferButtonsEnabled(bool on)
{
    for (const char* name : {"CommandRead", "CommandSend", "CommandPRF", "CommandPRL1", "CommandPRL2",
                              "CommandPRL3", "CommandPRL4"})
        ui_->button(QString::fromLatin1(name))->setEnabled(on);
    setSaveButtonsEnabled(on);
}

void Form1::clearPppChoice()
{
    QButtonGroup* g = ui_->elements.groups.value(QStringLiteral("Option1"));
    g->setExclusive(false); // an exclusive group cannot have its checked button unchecked
    for (QAbstractButton* b : g->buttons())
        b->setChecked(false);
    g->setExclusive(true);
}

void Form1::sendProfileCommand(const QString& cmd, bool reread)
{
    if (!portTest())
        return;
    showStatus(tr("Sending %1").arg(cmd));
    send(cmd);
    showStatus(deviceAbsent() ? tr("No DodOva answers on port %1.").arg(at_.CommPort) : tr("%1 sent.").arg(cmd));
    if (reread)
        CommandRead_Click();
}

bool Form1::deviceAbsent() const
{
    const QString id = ui_->label(QStringLiteral("Label_info1"))->text();
    return id == u"Error";
}

void Form1::pauseProcessingEvents(int ms)
{
    // An event loop with a timer waits without spinning a core; QTimer runs
    // on a monotonic clock, so midnight does not matter.
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void Form1::GetDodovaInfo()
{
    send(QStringLiteral("ATE1"));
    ui_->label(QStringLiteral("Label_info1"))->setText(send(QStringLiteral("ATI4")));
    ui_->label(QStringLiteral("Label_info2"))->setText(send(QStringLiteral("ATI3")));
    ui_->label(QStringLiteral("Label_info3"))->setText(send(QStringLiteral("ATI0")));
    ui_->label(QStringLiteral("Label39"))->setText(QStringLiteral("Code:"));
    ui_->label(QStringLiteral("Label_info4"))->setText(send(QStringLiteral("ATI1")));
}

void Form1::CommandRead_Click()
{
    if (!portTest())
        return;
    setTransferButtonsEnabled(false);
    clearPppChoice();
    answers_ = 0;
    showStatus(tr("Reading identification"));
    GetDodovaInfo();
    ReadRegisters();
    showStatus(tr("Reading charge counters"));
    ReadCosts();
    showStatus(tr("Reading MSNs"));
    ReadMSNS();
    showStatus(tr("Reading own numbers"));
    ReadOwnNumbers();
    setTransferButtonsEnabled(true);
    if (deviceAbsent() || answers_ == 0)
        showStatus(tr("No DodOva answered on port %1: the window shows the last known values.").arg(at_.CommPort));
    else
        showStatus(tr("Settings received."));
}

void Form1::CommandSend_Click()
{
    if (!portTest())
        return;
    setTransferButtonsEnabled(false);
    at_.BusyColour = 0xFF000F;
    SendMSNSandOWN();
    SendPOTS_Settings();
    if (at_.setLed)
        at_.setLed(AtChannel::fromBgr(0xFFFF));
    showStatus(tr("Waiting for the device to apply the settings"));
    pauseProcessingEvents(501);
    at_.BusyColour = 255;
    CommandRead_Click();
    setSaveButtonsEnabled(true);
    ui_->button(QStringLiteral("CommandRead"))->setEnabled(true);
    ui_->button(QStringLiteral("CommandSend"))->setEnabled(true);
}
