#include "monitor/window/settings_network_page.h"
#include "common/settings_keys.h"

#include "common/settings_store.h"
#include "monitor/window/number_settings.h"
#include "monitor/window/twips.h"
#include "phonebook/ignore_list.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>

NetworkSettingsPage::NetworkSettingsPage(SettingsStore& settings, std::function<void()> changed, QWidget* parent)
    : SettingsPage(settings, std::move(changed), "PageNetwork", parent)
{
    buildNetworkFrame(buildNumbersFrame(buildDesktopFrame(0)));
    connectBoxes();
}

int NetworkSettingsPage::buildDesktopFrame(int top)
{
    constexpr int kHeight = 1080;
    QGroupBox* frame = addLowerFrame("FrameDesktop", tr("Desktop and numbers"), top, kHeight);
    Check9 = addSwitch(
        frame, "Check9", tr("Desktop notification"), tr("Announce each caller through the desktop's notifications"));

    // "Country code:" [49]   "Area code:" [30], each field after its caption.
    const int y = twips::toPx(630, dpi()), gap = 3 * twips::toPx(kFieldSpace, dpi());
    TextCountryCode = addField(
        frame, "TextCountryCode", tr("Country code:"), QPoint(twips::toPx(kFieldIndent, dpi()), y), 600);
    TextAreaCode = addField(
        frame, "TextAreaCode", tr("Area code:"), QPoint(TextCountryCode->geometry().right() + gap, y), 900);
    const std::pair<QLineEdit*, const char*> patterns[] = {
        {TextCountryCode, "\\+?[0-9]{0,5}"}, {TextAreaCode, "[0-9]{0,8}"}};
    for (const auto& [edit, pattern] : patterns) {
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QLatin1String(pattern)), edit));
        edit->setToolTip(tr("Names callers whose number the phone book holds in another form"));
    }
    return top + kHeight + kLowerFrameGap;
}

// Own numbers' names and the ignore list, each a button to its dialog.
int NetworkSettingsPage::buildNumbersFrame(int top)
{
    constexpr int kHeight = 720;
    QGroupBox* frame = addLowerFrame("FrameNumbers", tr("Own numbers and ignored callers"), top, kHeight);
    CommandOwnNumbers = new QPushButton(tr("Own numbers ..."), frame);
    CommandOwnNumbers->setObjectName(QStringLiteral("CommandOwnNumbers"));
    CommandOwnNumbers->setToolTip(tr("A name for each MSN, shown with it in notifications and outputs"));
    CommandIgnored = new QPushButton(tr("Ignored callers ..."), frame);
    CommandIgnored->setObjectName(QStringLiteral("CommandIgnored"));
    CommandIgnored->setToolTip(tr("Numbers that ring no sound and are announced nowhere"));
    const int indent = twips::toPx(kFieldIndent, dpi()), half = (frame->width() - 3 * indent) / 2;
    const int y = twips::toPx(270, dpi()), h = twips::toPx(360, dpi());
    CommandOwnNumbers->setGeometry(indent, y, half, h);
    CommandIgnored->setGeometry(2 * indent + half, y, half, h);
    return top + kHeight + kLowerFrameGap;
}

void NetworkSettingsPage::buildNetworkFrame(int top)
{
    constexpr int kNcid = 270, kProgram = kNcid + 3 * kRow, kHeight = kProgram + kRow + 165;
    QGroupBox* frame = addLowerFrame("FrameNetwork", tr("Network"), top, kHeight);
    const char* const ncidNames[] = {"CheckNcid", "TextNcidAddress", "TextNcidPort", "LabelNcidState"};
    const ServerRows ncid = addServerRows(frame, kNcid, ncidNames, tr("NCID server for other devices"),
        tr("Shows the calls on NCID clients on other computers and phones"));
    LabelNcidState = ncid.state;
    QLineEdit* program = addWideField(frame, "TextProgram", tr("Run program on call:"),
        QPoint(twips::toPx(kFieldIndent, dpi()), twips::toPx(kProgram, dpi())));
    program->setToolTip(tr("Gets each call event as an NCID output module does; see docs/hooks.md"));
    addNetworkSwitch(ncid.enable, key::NcidServer, {{ncid.address, key::NcidAddress}, {ncid.port, key::NcidPort}});
    addNetworkField(program, key::EventProgram);
}

void NetworkSettingsPage::connectBoxes()
{
    connect(Check9, &QCheckBox::toggled, this, [this](bool on) { storeFlag(key::Notify, on); });
    for (const auto& [edit, key] :
        {std::pair{TextCountryCode, key::CountryCode}, std::pair{TextAreaCode, key::AreaCode}}) {
        connect(edit, &QLineEdit::textEdited, this, [this, key = key](const QString& text) { store(key, text); });
    }
    connect(CommandOwnNumbers, &QPushButton::clicked, this, &NetworkSettingsPage::editOwnNumbers);
    connect(CommandIgnored, &QPushButton::clicked, this, &NetworkSettingsPage::editIgnoredCallers);
}

void NetworkSettingsPage::loadBoxes()
{
    Check9->setChecked(settings().isOne(key::Notify));
    TextCountryCode->setText(settings().read(key::CountryCode));
    TextAreaCode->setText(settings().read(key::AreaCode));
}

void NetworkSettingsPage::showNcidState(const QString& state)
{
    LabelNcidState->setText(state);
}

void NetworkSettingsPage::editOwnNumbers()
{
    OwnNumbersDialog dialog(settings(), adapterMsns, this);
    if (dialog.exec() == QDialog::Accepted)
        tellMonitor();
}

void NetworkSettingsPage::editIgnoredCallers()
{
    IgnoredCallersDialog dialog(IgnoreList::defaultPath(), numberforms::planFrom(settings()), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!dialog.store())
        QMessageBox::warning(this, window()->windowTitle(),
            tr("The ignore list could not be written to %1.").arg(IgnoreList::defaultPath()));
    tellMonitor();
}
