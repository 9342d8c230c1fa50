// Form1's device steps: registers, MSNs and own numbers, charge counters,
// the PPP mode.
#include "device/form1.h"
#include "device/form1_ui.h"

#include "common/regional.h"
#include "common/settings_store.h"
#include "device/answer_parsers.h"
#include "device/charge_counters.h"
#include "device/register_io.h"
#include "device/register_map.h"

#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Field and write-command prefix of each number slot, in the order they are written.
struct NumberSlot {
    const char* field;
    const char* prefix;
};
constexpr NumberSlot kNumberSlots[] = {
    {"TextMSN1", "AT&ZI0="}, {"TextMSN2", "AT&ZI1="}, {"TextMSN3", "AT&ZI2="},
    {"TextMSN4", "AT&ZI3="}, {"TextMSN5", "AT&ZI4="}, {"TextMSN6", "AT&ZI5="},
    {"TextMSN7", "AT&ZI6="}, {"TextMSN8", "AT&ZI7="}, {"TextMSN9", "AT&ZI8="},
    {"TextOWN3", "AT&ZOI="}, {"TextOWN1", "AT&ZOa="}, {"TextOWN2", "AT&ZOb="},
};

// Units and cost label of each counter, in the device's order, and back.
constexpr int kCounterLabel[6] = {3, 1, 2, 6, 4, 5};
constexpr int kCounterOfLabel[7] = {-1, 1, 2, 0, 4, 5, 3};

} // namespace

void Form1::ReadRegisters()
{
    RegisterIo io{[this](const QString& cmd) { return send(cmd); }, RegisterImage, ui_->elements};
    io.progress = [this](int done, int total) {
        showStatus(tr("Reading registers %1/%2").arg(done).arg(total));
    };
    readRegisters(io);
}

void Form1::SendPOTS_Settings()
{
    RegisterIo io{[this](const QString& cmd) { return send(cmd); }, RegisterImage, ui_->elements};
    io.progress = [this](int done, int total) {
        showStatus(tr("Writing registers %1/%2").arg(done).arg(total));
    };
    io.warn = messageBox;
    sendPotsSettings(io);
}

void Form1::Option1_Click()
{
    const int mode = ui_->elements.choice(QStringLiteral("Option1"));
    if (mode == 1) {
        send(QStringLiteral("ATB40"));
        ui_->elements.setCheck(QStringLiteral("CheckBUN"), 0);
    }
    if (mode == 2) {
        send(QStringLiteral("ATB0"));
        ui_->elements.setCheck(QStringLiteral("CheckBUN"), 1);
    }
    setSaveButtonsEnabled(true);
    send(QStringLiteral("ATE1"));
    setSaveButtonsEnabled(true); // the bundle box's change reaction disabled them
}

void Form1::ReadMSNS()
{
    const std::array<QString, 9> msns = parseMsns(send(QStringLiteral("AT&ZI?")));
    for (int k = 0; k < 9; ++k)
        ui_->elements.setText(QStringLiteral("TextMSN%1").arg(k + 1), msns[k]);
}

void Form1::ReadOwnNumbers()
{
    send(QStringLiteral("ATE1"));
    const std::array<QString, 3> own = parseOwnNumbers(send(QStringLiteral("AT&ZO?")));
    for (int j = 0; j < 3; ++j)
        ui_->elements.setText(QStringLiteral("TextOWN%1").arg(j + 1), own[j]);
}

void Form1::SendMSNSandOWN()
{
    send(QStringLiteral("ATCD8")); // a running trace would garble the answers
    send(QStringLiteral("ATE1"));
    int done = 0;
    for (const NumberSlot& slot : kNumberSlots) {
        showStatus(tr("Writing MSNs and own numbers %1/%2").arg(done++).arg(std::size(kNumberSlots)));
        const QString number = ui_->elements.text(QString::fromLatin1(slot.field));
        // A text that is not a number would be taken by the device as garbage.
        if (number.isEmpty() || regional::toNumber(number))
            send(QString::fromLatin1(slot.prefix) + number);
        send(QStringLiteral("ATE1"));
    }
}

void Form1::ReadCosts()
{
    const std::array<QString, 6> counts = parseCharges(send(QStringLiteral("ATCH?")));
    for (int j = 0; j < 6; ++j) {
        ChargeUnits[j] = chargeCount(counts[j], ChargeUnits[j]);
        ui_->label(QStringLiteral("Labelucost%1").arg(kCounterLabel[j]))->setText(counts[j]);
    }
    TextUCost_Change();
}

void Form1::TextUCost_Change()
{
    const std::optional<double> cost = regional::toNumber(ui_->textUCost->text());
    if (!cost)
        return;
    UnitCost = float(*cost);
    for (int label = 1; label <= 6; ++label) {
        const double money = double(UnitCost) * ChargeUnits[kCounterOfLabel[label]];
        ui_->label(QStringLiteral("Labelcost%1").arg(label))->setText(regional::currency2(money));
    }
}

void Form1::Command2_Click()
{
    if (!portTest())
        return;
    send(QStringLiteral("ATCH0"));
    LastReset = resetStamp(QDateTime::currentDateTime());
    ui_->label(QStringLiteral("LabelRTime"))->setText(LastReset);
    SettingsStore::user().write(QStringLiteral("LastReset"), LastReset);
    showStatus(tr("Charge counters reset."));
}
