// The network outputs of the monitor settings: on the "Desktop and network"
// page the NCID server that shows the calls on other machines and phones and
// a program run on each call event; on the "Home automation" page the
// port-1012 call-monitor server and MQTT for Home Assistant and other
// brokers' readers.
#include "monitor/window/formmonitor_settings.h"
#include "common/settings_keys.h"

#include "common/settings_store.h"
#include "monitor/window/twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {
constexpr int kRow = 360; // twips from one row of the frame to the next
} // namespace

// A server's switch, its address and port, and its state below them.
FormMonitorSettings::ServerRows FormMonitorSettings::addServerRows(
    QGroupBox* frame, int top, const char* names[4], const QString& caption, const QString& tip)
{
    const double dpi = twips::dpiOf(this);
    const int indent = twips::toPx(kFieldIndent, dpi);
    ServerRows rows;
    rows.enable = addSwitch(frame, names[0], caption, tip);
    rows.enable->move(indent, twips::toPx(top, dpi));
    rows.address = addField(frame, names[1], tr("Address:"), QPoint(indent, twips::toPx(top + kRow, dpi)), 1500);
    rows.address->setToolTip(tr("127.0.0.1 serves this computer only, 0.0.0.0 every network"));
    rows.port = addField(frame, names[2], tr("Port:"),
        QPoint(rows.address->geometry().right() + 3 * twips::toPx(kFieldSpace, dpi), twips::toPx(top + kRow, dpi)),
        700);
    rows.port->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{1,5}")), rows.port));
    rows.state = addStateLabel(frame, names[3], top + 2 * kRow - 30);
    return rows;
}

QLabel* FormMonitorSettings::addStateLabel(QGroupBox* frame, const char* name, int top)
{
    const double dpi = twips::dpiOf(this);
    const int indent = twips::toPx(kFieldIndent, dpi);
    auto* label = new QLabel(frame);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(indent, twips::toPx(top, dpi), frame->width() - 2 * indent, twips::toPx(kFieldHeight, dpi));
    return label;
}

// A field that runs to the frame's right edge.
QLineEdit* FormMonitorSettings::addWideField(QGroupBox* frame, const char* name, const QString& caption, QPoint at)
{
    QLineEdit* edit = addField(frame, name, caption, at, 0);
    QRect field = edit->geometry();
    field.setRight(frame->width() - twips::toPx(kFieldIndent, twips::dpiOf(this)));
    edit->setGeometry(field);
    return edit;
}

void FormMonitorSettings::buildNetworkFrame(QWidget* page, int top)
{
    constexpr int kNcid = 270, kProgram = kNcid + 3 * kRow, kHeight = kProgram + kRow + 165;
    const double dpi = twips::dpiOf(this);
    QGroupBox* frame = addLowerFrame(page, "FrameNetwork", tr("Network"), top, kHeight);
    const char* ncidNames[] = {"CheckNcid", "TextNcidAddress", "TextNcidPort", "LabelNcidState"};
    const ServerRows ncid = addServerRows(frame, kNcid, ncidNames, tr("NCID server for other devices"),
        tr("Shows the calls on NCID clients on other computers and phones"));
    CheckNcid = ncid.enable;
    TextNcidAddress = ncid.address;
    TextNcidPort = ncid.port;
    LabelNcidState = ncid.state;
    TextProgram = addWideField(frame, "TextProgram", tr("Run program on call:"),
        QPoint(twips::toPx(kFieldIndent, dpi), twips::toPx(kProgram, dpi)));
    TextProgram->setToolTip(tr("Gets each call event as an NCID output module does; see docs/hooks.md"));
}

void FormMonitorSettings::buildAutomationFrames(QWidget* page)
{
    constexpr int kServerHeight = 270 + 3 * kRow, kMqtt = kServerHeight + kLowerFrameGap, kMqttHeight = 270 + 4 * kRow;
    const double dpi = twips::dpiOf(this);
    const int indent = twips::toPx(kFieldIndent, dpi);
    QGroupBox* server = addLowerFrame(
        page, "FrameCallMonitor", tr("Call monitor (port 1012 protocol)"), 0, kServerHeight);
    const char* monitorNames[] = {
        "CheckCallMonitor", "TextCallMonitorAddress", "TextCallMonitorPort", "LabelCallMonitorState"};
    const ServerRows monitor = addServerRows(server, 270, monitorNames, tr("Call monitor server"),
        tr("For home-automation systems and apps that read a router's call monitor; see "
           "docs/callmonitor.md"));
    CheckCallMonitor = monitor.enable;
    TextCallMonitorAddress = monitor.address;
    TextCallMonitorPort = monitor.port;
    LabelCallMonitorState = monitor.state;

    QGroupBox* mqtt = addLowerFrame(page, "FrameMqtt", QStringLiteral("MQTT"), kMqtt, kMqttHeight);
    CheckMqtt = addSwitch(
        mqtt, "CheckMqtt", tr("Publish the calls to a broker"), tr("With Home Assistant discovery; see docs/mqtt.md"));
    TextMqttUrl = addWideField(mqtt, "TextMqttUrl", tr("Broker:"), QPoint(indent, twips::toPx(270 + kRow, dpi)));
    TextMqttUrl->setToolTip(tr("mqtt://[user@]host[:port][/prefix], or mqtts:// for TLS"));
    TextMqttPassword = addField(
        mqtt, "TextMqttPassword", tr("Password:"), QPoint(indent, twips::toPx(270 + 2 * kRow, dpi)), 1000);
    TextMqttPassword->setEchoMode(QLineEdit::Password);
    TextMqttDeviceId = addWideField(mqtt, "TextMqttDeviceId", tr("Device id:"),
        QPoint(TextMqttPassword->geometry().right() + 3 * twips::toPx(kFieldSpace, dpi),
            twips::toPx(270 + 2 * kRow, dpi)));
    TextMqttDeviceId->setPlaceholderText(tr("host and port"));
    TextMqttDeviceId->setToolTip(tr("Names this adapter in topics and in Home Assistant"));
    LabelMqttState = addStateLabel(mqtt, "LabelMqttState", 270 + 3 * kRow - 30);
}

void FormMonitorSettings::connectNetworkFrame()
{
    const std::pair<QCheckBox*, QLatin1String> switches[] = {
        {CheckNcid, key::NcidServer}, {CheckCallMonitor, key::CallMonitorServer}, {CheckMqtt, key::Mqtt}};
    for (const auto& [box, name] : switches)
        connect(box, &QCheckBox::toggled, this, [this, name = name](bool on) {
            storeFlag(name, on);
            networkChanged();
        });
    const std::pair<QLineEdit*, QLatin1String> fields[] = {{TextNcidAddress, key::NcidAddress},
        {TextNcidPort, key::NcidPort}, {TextCallMonitorAddress, key::CallMonitorAddress},
        {TextCallMonitorPort, key::CallMonitorPort}, {TextMqttUrl, key::MqttUrl}, {TextMqttPassword, key::MqttPassword},
        {TextMqttDeviceId, key::MqttDeviceId}, {TextProgram, key::EventProgram}};
    for (const auto& [edit, name] : fields) {
        connect(edit, &QLineEdit::textEdited, this,
            [this, name = name](const QString& text) { settings_.write(name, text.trimmed()); });
        connect(edit, &QLineEdit::editingFinished, this, &FormMonitorSettings::networkChanged);
    }
}

void FormMonitorSettings::loadNetworkFrame()
{
    for (const auto& [box, name] :
        {std::pair{CheckNcid, key::NcidServer}, {CheckCallMonitor, key::CallMonitorServer}, {CheckMqtt, key::Mqtt}}) {
        const QSignalBlocker quiet(box); // loading is no change
        box->setChecked(settings_.isOne(name));
    }
    const std::pair<QLineEdit*, QLatin1String> fields[] = {{TextNcidAddress, key::NcidAddress},
        {TextNcidPort, key::NcidPort}, {TextCallMonitorAddress, key::CallMonitorAddress},
        {TextCallMonitorPort, key::CallMonitorPort}, {TextMqttUrl, key::MqttUrl}, {TextMqttPassword, key::MqttPassword},
        {TextMqttDeviceId, key::MqttDeviceId}, {TextProgram, key::EventProgram}};
    for (const auto& [edit, name] : fields)
        edit->setText(settings_.read(name));
    networkChanged();
}

void FormMonitorSettings::networkChanged()
{
    for (QLineEdit* edit : {TextNcidAddress, TextNcidPort})
        edit->setEnabled(CheckNcid->isChecked());
    for (QLineEdit* edit : {TextCallMonitorAddress, TextCallMonitorPort})
        edit->setEnabled(CheckCallMonitor->isChecked());
    for (QLineEdit* edit : {TextMqttUrl, TextMqttPassword, TextMqttDeviceId})
        edit->setEnabled(CheckMqtt->isChecked());
    const CallOutputs* outputs = applyNetwork ? applyNetwork() : nullptr;
    const std::pair<QLabel*, OutputId> states[] = {{LabelNcidState, OutputId::Ncid},
        {LabelCallMonitorState, OutputId::CallMonitor}, {LabelMqttState, OutputId::Mqtt}};
    for (const auto& [label, id] : states)
        label->setText(outputs ? outputs->stateText(id) : QString());
}
