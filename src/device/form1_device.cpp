// Form1's device steps: registers, MSNs and own numbers, charge counters,
// the PPP mode.
#include "device/form1.h"
#include "common/settings_keys.h"
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

// Field, write-command prefix and the name the user knows it by, in the order
// the slots are written.
struct NumberSlot {
    FormElement field;
    const char* prefix;
    const char* caption;
};
constexpr NumberSlot kNumberSlots[] = {
    {FormElement::TextMSN1, "AT&ZI0=", QT_TRANSLATE_NOOP("Form1", "Phone 1 MSN1")},
    {FormElement::TextMSN2, "AT&ZI1=", QT_TRANSLATE_NOOP("Form1", "Phone 1 MSN2")},
    {FormElement::TextMSN3, "AT&ZI2=", QT_TRANSLATE_NOOP("Form1", "Phone 1 MSN3")},
    {FormElement::TextMSN4, "AT&ZI3=", QT_TRANSLATE_NOOP("Form1", "Phone 2 MSN1")},
    {FormElement::TextMSN5, "AT&ZI4=", QT_TRANSLATE_NOOP("Form1", "Phone 2 MSN2")},
    {FormElement::TextMSN6, "AT&ZI5=", QT_TRANSLATE_NOOP("Form1", "Phone 2 MSN3")},
    {FormElement::TextMSN7, "AT&ZI6=", QT_TRANSLATE_NOOP("Form1", "DTE Port MSN1")},
    {FormElement::TextMSN8, "AT&ZI7=", QT_TRANSLATE_NOOP("Form1", "DTE Port MSN2")},
    {FormElement::TextMSN9, "AT&ZI8=", QT_TRANSLATE_NOOP("Form1", "DTE Port MSN3")},
    {FormElement::TextOWN3, "AT&ZOI=", QT_TRANSLATE_NOOP("Form1", "DTE Port Own #")},
    {FormElement::TextOWN1, "AT&ZOa=", QT_TRANSLATE_NOOP("Form1", "Phone 1 Own #")},
    {FormElement::TextOWN2, "AT&ZOb=", QT_TRANSLATE_NOOP("Form1", "Phone 2 Own #")},
};

// Units and cost label (1-based) of each counter, in the device's order, and back.
constexpr int kCounterLabel[6] = {3, 1, 2, 6, 4, 5};
constexpr int kCounterOfLabel[7] = {-1, 1, 2, 0, 4, 5, 3};

} // namespace

void Form1::ReadRegisters()
{
    RegisterIo io{[this](const QString& cmd) { return send(cmd); }, RegisterImage, ui_->elements};
    io.progress = [this](int done, int total) { showStatus(tr("Reading registers %1/%2").arg(done).arg(total)); };
    ++sequences_; // the PPP choice that follows S87 is the reading's own
    readRegisters(io);
    --sequences_;
}

void Form1::SendPOTS_Settings()
{
    RegisterIo io{[this](const QString& cmd) { return send(cmd); }, RegisterImage, ui_->elements};
    io.progress = [this](int done, int total) { showStatus(tr("Writing registers %1/%2").arg(done).arg(total)); };
    io.warn = messageBox;
    sendPotsSettings(io);
    refused_ += io.refused;
}

void Form1::Option1_Click()
{
    const int mode = ui_->elements.choice(FormElement::Option1);
    if (mode == 1) {
        send(QStringLiteral("ATB40"));
        ui_->elements.setCheck(FormElement::CheckBUN, 0);
    }
    if (mode == 2) {
        send(QStringLiteral("ATB0"));
        ui_->elements.setCheck(FormElement::CheckBUN, 1);
    }
    setSaveButtonsEnabled(true);
    send(QStringLiteral("ATE1"));
    setSaveButtonsEnabled(true); // the bundle box's change reaction disabled them
}

void Form1::ReadMSNS()
{
    const AtReply reply = send(QStringLiteral("AT&ZI?"));
    if (!reply.arrived())
        return; // no answer: the fields keep what they show
    const std::array<QString, 9> msns = parseMsns(reply.text);
    for (int k = 0; k < 9; ++k)
        ui_->elements.setText(nthElement(FormElement::TextMSN1, k), msns[k]);
}

void Form1::ReadOwnNumbers()
{
    send(QStringLiteral("ATE1"));
    const AtReply reply = send(QStringLiteral("AT&ZO?"));
    if (!reply.arrived())
        return;
    const std::array<QString, 3> own = parseOwnNumbers(reply.text);
    for (int j = 0; j < 3; ++j)
        ui_->elements.setText(nthElement(FormElement::TextOWN1, j), own[j]);
}

void Form1::SendMSNSandOWN()
{
    send(QStringLiteral("ATCD8")); // a running trace would garble the answers
    send(QStringLiteral("ATE1"));
    int done = 0;
    for (const NumberSlot& slot : kNumberSlots) {
        showStatus(tr("Writing MSNs and own numbers %1/%2").arg(done++).arg(std::size(kNumberSlots)));
        const QString number = ui_->elements.text(slot.field);
        // A text that is not a number would be taken by the device as garbage.
        if (number.isEmpty() || regional::toNumber(number))
            if (send(QString::fromLatin1(slot.prefix) + number).outcome == AtOutcome::Refused)
                refused_ << QStringLiteral("%1 \"%2\"").arg(tr(slot.caption), number);
        send(QStringLiteral("ATE1"));
    }
}

void Form1::ReadCosts()
{
    const AtReply reply = send(QStringLiteral("ATCH?"));
    if (!reply.arrived())
        return;
    const std::array<QString, 6> counts = parseCharges(reply.text);
    for (int j = 0; j < 6; ++j) {
        ChargeUnits[j] = chargeCount(counts[j], ChargeUnits[j]);
        ui_->Labelucost[kCounterLabel[j] - 1]->setText(counts[j]);
    }
    TextUCost_Change();
}

void Form1::TextUCost_Change()
{
    const std::optional<double> cost = regional::toNumber(ui_->TextUCost->text());
    if (!cost)
        return;
    UnitCost = float(*cost);
    for (int label = 1; label <= 6; ++label) {
        const double money = double(UnitCost) * ChargeUnits[kCounterOfLabel[label]];
        ui_->Labelcost[label - 1]->setText(regional::currency2(money));
    }
}

void Form1::Command2_Click()
{
    if (!portTest())
        return;
    send(QStringLiteral("ATCH0"));
    LastReset = resetStamp(QDateTime::currentDateTime());
    ui_->LabelRTime->setText(LastReset);
    SettingsStore::user().write(key::LastReset, LastReset);
    showStatus(tr("Charge counters reset."));
}
