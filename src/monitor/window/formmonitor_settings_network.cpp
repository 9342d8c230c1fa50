// The "Network" frame of the monitor settings: the NCID server that shows the
// calls on other machines and phones, and a program run on each call event.
#include "monitor/window/formmonitor_settings.h"
#include "common/settings_keys.h"

#include "common/settings_store.h"
#include "monitor/window/twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

int FormMonitorSettings::buildNetworkFrame(int top)
{
    constexpr int kHeight = 1785;
    const double dpi = twips::dpiOf(this);
    QGroupBox* frame = addLowerFrame("FrameNetwork", tr("Network"), top, kHeight);
    CheckNcid = addSwitch(frame, "CheckNcid", tr("NCID server for other devices"),
        tr("Shows the calls on NCID clients on other computers and phones"));

    const int indent = twips::toPx(kFieldIndent, dpi), row2 = twips::toPx(630, dpi);
    TextNcidAddress = addField(frame, "TextNcidAddress", tr("Address:"), QPoint(indent, row2), 1500);
    TextNcidAddress->setToolTip(tr("127.0.0.1 serves this computer only, 0.0.0.0 every network"));
    TextNcidPort = addField(frame, "TextNcidPort", tr("Port:"),
        QPoint(TextNcidAddress->geometry().right() + 3 * twips::toPx(kFieldSpace, dpi), row2), 700);
    TextNcidPort->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{1,5}")), TextNcidPort));
    LabelNcidState = new QLabel(frame);
    LabelNcidState->setObjectName(QStringLiteral("LabelNcidState"));
    LabelNcidState->setGeometry(
        indent, twips::toPx(960, dpi), frame->width() - 2 * indent, twips::toPx(kFieldHeight, dpi));
    // The program's field runs to the frame's right edge.
    TextProgram = addField(frame, "TextProgram", tr("Run program on call:"), QPoint(indent, twips::toPx(1320, dpi)), 0);
    QRect field = TextProgram->geometry();
    field.setRight(frame->width() - indent);
    TextProgram->setGeometry(field);
    TextProgram->setToolTip(tr("Gets each call event as an NCID output module does; see docs/hooks.md"));
    return kHeight + kLowerFrameGap;
}

void FormMonitorSettings::connectNetworkFrame()
{
    connect(CheckNcid, &QCheckBox::toggled, this, [this](bool on) {
        storeFlag(key::NcidServer, on);
        networkChanged();
    });
    const std::pair<QLineEdit*, QLatin1String> fields[] = {
        {TextNcidAddress, key::NcidAddress}, {TextNcidPort, key::NcidPort}, {TextProgram, key::EventProgram}};
    for (const auto& [edit, name] : fields) {
        connect(edit, &QLineEdit::textEdited, this,
            [this, name = name](const QString& text) { settings_.write(name, text.trimmed()); });
        connect(edit, &QLineEdit::editingFinished, this, &FormMonitorSettings::networkChanged);
    }
}

void FormMonitorSettings::loadNetworkFrame()
{
    const QSignalBlocker quiet(CheckNcid); // loading is no change
    CheckNcid->setChecked(settings_.isOne(key::NcidServer));
    TextNcidAddress->setText(settings_.read(key::NcidAddress));
    TextNcidPort->setText(settings_.read(key::NcidPort));
    TextProgram->setText(settings_.read(key::EventProgram));
    networkChanged();
}

void FormMonitorSettings::networkChanged()
{
    TextNcidAddress->setEnabled(CheckNcid->isChecked());
    TextNcidPort->setEnabled(CheckNcid->isChecked());
    LabelNcidState->setText(applyNetwork ? applyNetwork() : QString());
}
