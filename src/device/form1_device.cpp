// Form1 as a view on the adapter's configuration: showing a value read,
// taking the edited value back, the progress texts, the PPP mode, the
// charge counters and their money.
#include "device/form1.h"
#include "common/settings_keys.h"
#include "device/form1_ui.h"

#include "common/regional.h"
#include "common/settings_store.h"
#include "device/charge_counters.h"
#include "device/register_map.h"

#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Units and cost label (1-based) of each counter, in the device's order, and back.
constexpr int kCounterLabel[6] = {3, 1, 2, 6, 4, 5};
constexpr int kCounterOfLabel[7] = {-1, 1, 2, 0, 4, 5, 3};

} // namespace

AdapterSettings Form1::edited() const
{
    AdapterSettings value = read_;
    for (int i = 0; i < kElementCount; ++i) {
        const FormElement e = FormElement(i);
        if (isCheck(e))
            value.elements.setCheck(e, ui_->elements.check(e));
        else if (isChoice(e) && ui_->elements.choice(e) < 0)
            value.elements.clearChoice(e);
        else if (isChoice(e))
            value.elements.setChoice(e, ui_->elements.choice(e));
        else
            value.elements.setText(e, ui_->elements.text(e));
    }
    return value;
}

void Form1::showValue(const AdapterSettings& value)
{
    showing_ = true;
    for (int i = 0; i < kElementCount; ++i) {
        const FormElement e = FormElement(i);
        if (isCheck(e))
            ui_->elements.setCheck(e, value.elements.check(e));
        else if (isChoice(e))
            ui_->elements.setChoice(e, value.elements.choice(e)); // no choice made: none unmade
        else
            ui_->elements.setText(e, value.elements.text(e));
    }
    QLabel* const identity[] = {ui_->Label_info1, ui_->Label_info2, ui_->Label_info3, ui_->Label_info4};
    for (std::size_t i = 0; i < value.identity.size(); ++i)
        identity[i]->setText(value.identity[i]); // "Error" in the first: the channel's latch
    ui_->Label39->setText(tr("Code:"));
    for (int j = 0; j < 6; ++j)
        ui_->Labelucost[kCounterLabel[j] - 1]->setText(value.counterTexts[j]);
    showing_ = false;
    TextUCost_Change();
    showPending();
}

void Form1::showProgress(AdapterControl::Step step, int done, int total)
{
    using S = AdapterControl::Step;
    switch (step) {
    case S::Identification: showStatus(tr("Reading identification")); break;
    case S::Registers: showStatus(tr("Reading registers %1/%2").arg(done).arg(total)); break;
    case S::Counters: showStatus(tr("Reading charge counters")); break;
    case S::Msns: showStatus(tr("Reading MSNs")); break;
    case S::OwnNumbers: showStatus(tr("Reading own numbers")); break;
    case S::WritingNumbers: showStatus(tr("Writing MSNs and own numbers %1/%2").arg(done).arg(total)); break;
    case S::WritingRegisters: showStatus(tr("Writing registers %1/%2").arg(done).arg(total)); break;
    case S::Applying: showStatus(tr("Waiting for the device to apply the settings")); break;
    }
}

void Form1::SendPOTS_Settings()
{
    AdapterSettings value = edited();
    control_.writeRegisters(value);
    read_.registers = value.registers;
}

void Form1::Option1_Click()
{
    AdapterSettings value = edited();
    control_.choosePppMode(value, ui_->elements.choice(FormElement::Option1));
    ui_->elements.setCheck(FormElement::CheckBUN, value.elements.check(FormElement::CheckBUN));
    setSaveButtonsEnabled(true); // the device took the mode at once
}

void Form1::clearChargeUnits()
{
    read_.chargeUnits.fill(0);
}

void Form1::TextUCost_Change()
{
    const std::optional<float> cost = regional::toCost(ui_->TextUCost->text());
    if (!cost)
        return; // no price: the last one typed stays
    UnitCost = *cost;
    emit unitCostChanged(UnitCost);
    for (int label = 1; label <= 6; ++label) {
        const double money = double(UnitCost) * read_.chargeUnits[kCounterOfLabel[label]];
        ui_->Labelcost[label - 1]->setText(regional::currency2(money));
    }
}

void Form1::Command2_Click()
{
    const Route r = route();
    if (r == Route::Service)
        return resetThroughService();
    if (r == Route::None)
        return;
    const AtReply reply = control_.resetCounters();
    if (!reply.arrived() || reply.outcome == AtOutcome::Refused) {
        showStatus(tr("The DodOva did not reset its charge counters."));
        return;
    }
    countersReset();
}

void Form1::countersReset()
{
    LastReset = resetStamp(QDateTime::currentDateTime());
    ui_->LabelRTime->setText(LastReset);
    SettingsStore::user().write(key::LastReset, LastReset);
    // The counters as the device now holds them, without a second reading.
    read_.chargeUnits.fill(0);
    read_.counterTexts.fill(QStringLiteral("0"));
    for (int j = 0; j < 6; ++j)
        ui_->Labelucost[kCounterLabel[j] - 1]->setText(read_.counterTexts[j]);
    TextUCost_Change();
    showStatus(tr("Charge counters reset: every counter is 0."));
}
