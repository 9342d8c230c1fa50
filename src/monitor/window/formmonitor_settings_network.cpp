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

namespace {
constexpr int kHeight = 1785, kGap = 75, kWidth = 4755;
constexpr int kRowHeight = 285;
}

int FormMonitorSettings::buildNetworkFrame(int top)
{
    const double dpi = twips::dpiOf(this);
    auto* frame = new QGroupBox(QStringLiteral("Network"), this);
    frame->setObjectName(QStringLiteral("FrameNetwork"));
    frame->setGeometry(twips::rect(120, top, kWidth, kHeight, dpi));
    CheckNcid = new QCheckBox(QStringLiteral("NCID server for other devices"), frame);
    CheckNcid->setObjectName(QStringLiteral("CheckNcid"));
    CheckNcid->setToolTip(QStringLiteral("Shows the calls on NCID clients on other computers and phones"));
    CheckNcid->adjustSize();
    CheckNcid->move(twips::toPx(240, dpi), twips::toPx(270, dpi));

    const int h = twips::toPx(kRowHeight, dpi), space = twips::toPx(90, dpi);
    auto field = [&](const char* name, const QString& caption, int x, int y, int widthTwips) {
        auto* label = new QLabel(caption, frame);
        label->adjustSize();
        label->move(x, y + (h - label->height()) / 2);
        auto* edit = new QLineEdit(frame);
        edit->setObjectName(QLatin1String(name));
        edit->setGeometry(label->geometry().right() + space, y, twips::toPx(widthTwips, dpi), h);
        return edit;
    };
    const int row2 = twips::toPx(630, dpi);
    TextNcidAddress = field("TextNcidAddress", QStringLiteral("Address:"), twips::toPx(240, dpi), row2, 1500);
    TextNcidAddress->setToolTip(QStringLiteral("127.0.0.1 serves this computer only, 0.0.0.0 every network"));
    TextNcidPort = field("TextNcidPort", QStringLiteral("Port:"), TextNcidAddress->geometry().right() + 3 * space, row2, 700);
    TextNcidPort->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{1,5}")), TextNcidPort));
    LabelNcidState = new QLabel(frame);
    LabelNcidState->setObjectName(QStringLiteral("LabelNcidState"));
    LabelNcidState->setGeometry(twips::toPx(240, dpi), twips::toPx(960, dpi), twips::toPx(kWidth - 480, dpi), h);
    TextProgram = field("TextProgram", QStringLiteral("Run program on call:"), twips::toPx(240, dpi),
                        twips::toPx(1320, dpi), 1);
    TextProgram->setGeometry(TextProgram->geometry().adjusted(0, 0, frame->width() - TextProgram->geometry().right()
                                                                        - twips::toPx(240, dpi), 0));
    TextProgram->setToolTip(QStringLiteral("Gets each call event as an NCID output module does; see docs/hooks.md"));
    return kHeight + kGap;
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
