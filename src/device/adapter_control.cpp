#include "device/adapter_control.h"

#include "common/regional.h"
#include "device/answer_parsers.h"
#include "device/at_channel.h"
#include "device/charge_counters.h"
#include "device/register_io.h"
#include "device/register_map.h"

#include <QCoreApplication>

namespace {

// Lamp colours, 0x00BBGGRR: during every command of a transmission, and in
// the pause after it.
constexpr unsigned kTransmitColour = 0xFF000F; // red 15, blue 255
constexpr unsigned kPauseColour = 0x00FFFF;    // yellow
// The device applies the written settings before the read-back; more than 0.5 s.
constexpr int kApplyPauseMs = 501;

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

} // namespace

AdapterControl::AdapterControl(AtChannel& at) : at_(at), send_([&at](const QString& cmd) { return at.send(cmd); })
{
}

void AdapterControl::setSendFunction(Send send)
{
    send_ = std::move(send);
}

bool AdapterControl::deviceAbsent() const
{
    return at_.deviceAbsent();
}

void AdapterControl::report(Step step, int done, int total) const
{
    if (progress)
        progress(step, done, total);
}

AtReply AdapterControl::command(const QString& cmd)
{
    const AtReply reply = send_ ? send_(cmd) : AtReply({}, AtOutcome::Unanswered);
    if (reply.outcome != AtOutcome::NotSent) {
        ++tally_.sent;
        if (reply.outcome != AtOutcome::Answered)
            ++tally_.missing;
    }
    return reply;
}

AdapterControl::Tally AdapterControl::read(AdapterSettings& value)
{
    tally_ = {};
    value.elements.clearChoice(FormElement::Option1); // so the PPP reaction runs on every reading
    identify(value);
    RegisterIo io{[this](const QString& cmd) { return command(cmd); }, value.registers, value.elements};
    io.progress = [this](int done, int total) { report(Step::Registers, done, total); };
    io.pppChosen = [this, &value] { choosePppMode(value, value.elements.choice(FormElement::Option1)); };
    readRegisters(io);
    readCounters(value);
    readMsns(value);
    readOwnNumbers(value);
    return tally_;
}

void AdapterControl::identify(AdapterSettings& value)
{
    report(Step::Identification);
    command(QStringLiteral("ATE1"));
    for (std::size_t i = 0; i < kIdentityCommands.size(); ++i) {
        value.identity[i] = command(QLatin1String(kIdentityCommands[i])).text;
        if (i == 0) // a refused identification: the device is taken as absent
            at_.setDeviceAbsent(value.identity[0] == u"Error");
    }
}

void AdapterControl::choosePppMode(AdapterSettings& value, int mode)
{
    value.elements.setChoice(FormElement::Option1, mode);
    if (mode == 1) {
        command(QStringLiteral("ATB40"));
        value.elements.setCheck(FormElement::CheckBUN, 0);
    }
    if (mode == 2) {
        command(QStringLiteral("ATB0"));
        value.elements.setCheck(FormElement::CheckBUN, 1);
    }
    command(QStringLiteral("ATE1"));
}

void AdapterControl::readCounters(AdapterSettings& value)
{
    report(Step::Counters);
    const AtReply reply = command(QStringLiteral("ATCH?"));
    if (!reply.arrived())
        return;
    value.counterTexts = parseCharges(reply.text);
    for (int j = 0; j < 6; ++j)
        value.chargeUnits[j] = chargeCount(value.counterTexts[j], value.chargeUnits[j]);
}

void AdapterControl::readMsns(AdapterSettings& value)
{
    report(Step::Msns);
    const AtReply reply = command(QStringLiteral("AT&ZI?"));
    if (!reply.arrived())
        return; // no answer: the fields keep what they hold
    const std::array<QString, 9> msns = parseMsns(reply.text);
    for (int k = 0; k < 9; ++k)
        value.elements.setText(nthElement(FormElement::TextMSN1, k), msns[k]);
}

void AdapterControl::readOwnNumbers(AdapterSettings& value)
{
    report(Step::OwnNumbers);
    command(QStringLiteral("ATE1"));
    const AtReply reply = command(QStringLiteral("AT&ZO?"));
    if (!reply.arrived())
        return;
    const std::array<QString, 3> own = parseOwnNumbers(reply.text);
    for (int j = 0; j < 3; ++j)
        value.elements.setText(nthElement(FormElement::TextOWN1, j), own[j]);
}

QStringList AdapterControl::transmit(AdapterSettings& value)
{
    at_.setBusyColour(kTransmitColour);
    QStringList refused;
    writeNumbers(value, refused);
    refused += writeRegisters(value);
    at_.showLamp(kPauseColour);
    report(Step::Applying);
    at_.pauseWithEvents(kApplyPauseMs);
    at_.setBusyColour(AtChannel::kCommandColour);
    return refused;
}

void AdapterControl::writeNumbers(const AdapterSettings& value, QStringList& refused)
{
    command(QStringLiteral("ATCD8")); // a running trace would garble the answers
    command(QStringLiteral("ATE1"));
    int done = 0;
    for (const NumberSlot& slot : kNumberSlots) {
        report(Step::WritingNumbers, done++, int(std::size(kNumberSlots)));
        const QString number = value.elements.text(slot.field);
        // A text that is not a number would be taken by the device as garbage.
        if (number.isEmpty() || regional::toNumber(number))
            if (command(QString::fromLatin1(slot.prefix) + number).outcome == AtOutcome::Refused)
                refused << QStringLiteral("%1 \"%2\"").arg(QCoreApplication::translate("Form1", slot.caption), number);
        command(QStringLiteral("ATE1"));
    }
}

QStringList AdapterControl::writeRegisters(AdapterSettings& value)
{
    RegisterIo io{[this](const QString& cmd) { return command(cmd); }, value.registers, value.elements};
    io.progress = [this](int done, int total) { report(Step::WritingRegisters, done, total); };
    io.warn = warn;
    sendPotsSettings(io);
    return io.refused;
}

AtReply AdapterControl::writeRegister(int reg, int value)
{
    return command(QStringLiteral("ATS%1=%2").arg(reg).arg(value));
}

AtReply AdapterControl::writeNumber(FormElement field, const QString& number)
{
    AtReply reply({}, AtOutcome::NotSent);
    for (const NumberSlot& slot : kNumberSlots)
        if (slot.field == field)
            reply = command(QString::fromLatin1(slot.prefix) + number);
    command(QStringLiteral("ATE1"));
    return reply;
}

AtReply AdapterControl::loadProfile(int profile)
{
    return command(QStringLiteral("ATZ%1").arg(profile - 1));
}

AtReply AdapterControl::saveProfile(int profile)
{
    return command(QStringLiteral("AT&W%1").arg(profile - 1));
}

AtReply AdapterControl::loadFactory()
{
    return command(QStringLiteral("ATZ4"));
}

AtReply AdapterControl::hangUp(int phone)
{
    return command(QStringLiteral("ATH%1").arg(phone + 2));
}

AtReply AdapterControl::resetCounters()
{
    return command(QStringLiteral("ATCH0"));
}
