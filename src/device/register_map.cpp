#include "device/register_map.h"

#include "common/regional.h"
#include "device/settings_elements.h"

#include <QCoreApplication>
#include <QLocale>

namespace {

using R = RegisterRule;
using E = FormElement;

std::vector<RegisterField> buildMap()
{
    return {
        {0, E::TextRINGS, R::DecimalText},
        {15, E::Option2, R::Choice, 0, {0, 32, 64, 96, 128}},
        {18, E::CheckBAUD, R::ZeroTicked},
        {56, E::TextHOOK, R::TenMsText},
        {79, E::CheckCW1, R::AnyBitSet, 0x04},
        {79, E::CheckCW2, R::AnyBitSet, 0x08},
        {82, E::OptionPROT, R::Choice, 0, {74, 76, 78, 80}},
        {83, E::CheckDCB1, R::AnyBitSet, 0x01},
        {83, E::CheckDCB2, R::AnyBitSet, 0x02},
        {84, E::CheckCID1, R::AnyBitSet, 0x01},
        {84, E::CheckCID2, R::AnyBitSet, 0x02},
        {84, E::CheckCIDOnHook, R::AllBitsClear, 0x30},
        {84, E::CheckCIDOffHook, R::AllBitsClear, 0xC0},
        {85, E::CheckCL1, R::AnyBitSet, 0x05},
        {85, E::CheckCL2, R::AnyBitSet, 0x0A},
        {87, E::CheckGC1, R::AllBitsClear, 0x01},
        {87, E::CheckGC2, R::AllBitsClear, 0x02},
        {87, E::CheckBUN, R::AnyBitSet, 0x60},
        {89, E::CheckCH1, R::AnyBitSet, 0x01},
        {89, E::CheckCH2, R::AnyBitSet, 0x02},
        {89, E::CheckCH3, R::AnyBitSet, 0x04},
        {89, E::CheckMP1, R::AnyBitSet, 0x20},
        {89, E::CheckMP2, R::AnyBitSet, 0x40},
        {100, E::Option3, R::Choice, 0, {1, 0}},    // Keypad, Functional
        {108, E::Option5, R::Choice, 0, {1, 2, 0}}, // Telephony, Fax G2/G3, No element sent
        {109, E::Option4, R::Choice, 0, {1, 2, 0}},
        {118, E::CheckIC1, R::AnyBitSet, 0x01},
        {118, E::CheckIC2, R::AnyBitSet, 0x02},
        {123, E::CheckFUL, R::NonZeroTicked},
    };
}

void showField(const RegisterField& f, quint8 value, SettingsElements& e)
{
    const FormElement name = f.element;
    switch (f.rule) {
    case R::AnyBitSet: e.setCheck(name, (value & f.mask) != 0 ? 1 : 0); break;
    case R::AllBitsClear: e.setCheck(name, (value & f.mask) == 0 ? 1 : 0); break;
    case R::ZeroTicked: e.setCheck(name, value == 0 ? 1 : 0); break;
    case R::NonZeroTicked: e.setCheck(name, value != 0 ? 1 : 0); break;
    case R::Choice:
        for (std::size_t i = 0; i < f.values.size(); ++i)
            if (f.values[i] == value)
                e.setChoice(name, int(i));
        break;
    case R::DecimalText: e.setText(name, QString::number(value)); break;
    case R::TenMsText: e.setText(name, QString::number(value * 10)); break;
    }
}

} // namespace

const std::vector<RegisterField>& registerMap()
{
    static const std::vector<RegisterField> map = buildMap();
    return map;
}

std::vector<const RegisterField*> fieldsOfRegister(int reg)
{
    std::vector<const RegisterField*> out;
    for (const RegisterField& f : registerMap())
        if (f.reg == reg)
            out.push_back(&f);
    return out;
}

const RegisterField* fieldOfElement(FormElement element)
{
    for (const RegisterField& f : registerMap())
        if (f.element == element)
            return &f;
    return nullptr;
}

QString registerCaption(int reg)
{
    struct Caption {
        int reg;
        const char* text;
    };
    static constexpr Caption kCaptions[] = {
        {0, QT_TRANSLATE_NOOP("Form1", "Answer ... rings")},
        {15, QT_TRANSLATE_NOOP("Form1", "Power-On Profile")},
        {18, QT_TRANSLATE_NOOP("Form1", "Auto Baud On")},
        {56, QT_TRANSLATE_NOOP("Form1", "Hook Flash Time")},
        {79, QT_TRANSLATE_NOOP("Form1", "Call Waiting")},
        {82, QT_TRANSLATE_NOOP("Form1", "Protocol")},
        {83, QT_TRANSLATE_NOOP("Form1", "Delayed Clear Off")},
        {84, QT_TRANSLATE_NOOP("Form1", "Caller on Bundle / Caller ID")},
        {85, QT_TRANSLATE_NOOP("Form1", "Calling Line ID Off")},
        {87, QT_TRANSLATE_NOOP("Form1", "Global Calls On / Bundle Connect On")},
        {89, QT_TRANSLATE_NOOP("Form1", "Charging Counter / Metering Pulse")},
        {100, QT_TRANSLATE_NOOP("Form1", "SS Protocol")},
        {108, QT_TRANSLATE_NOOP("Form1", "Setting for Phone 2")},
        {109, QT_TRANSLATE_NOOP("Form1", "Setting for Phone 1")},
        {118, QT_TRANSLATE_NOOP("Form1", "Incoming calls Off")},
        {123, QT_TRANSLATE_NOOP("Form1", "Full Emergency On")},
    };
    for (const Caption& c : kCaptions)
        if (c.reg == reg)
            return QStringLiteral("%1 (S%2)").arg(QCoreApplication::translate("Form1", c.text)).arg(reg);
    return QStringLiteral("S%1").arg(reg);
}

std::optional<quint8> registerValue(const QString& answer)
{
    // The device answers in plain digits whatever the user's locale.
    const std::optional<double> n = regional::toNumber(answer, QLocale::c());
    if (!n)
        return std::nullopt;
    const long long whole = regional::roundHalfEven(*n);
    if (whole < 0 || whole > 255)
        return std::nullopt;
    return quint8(whole);
}

void showRegister(int reg, quint8 value, SettingsElements& elements)
{
    for (const RegisterField* f : fieldsOfRegister(reg))
        showField(*f, value, elements);
}

quint8 composeRegister(int reg, quint8 base, const SettingsElements& elements)
{
    quint8 value = base;
    for (const RegisterField* f : fieldsOfRegister(reg)) {
        if (f->rule != R::AnyBitSet && f->rule != R::AllBitsClear)
            continue;
        const int state = elements.check(f->element);
        if (state != 0 && state != 1)
            continue; // greyed: no change
        const bool setBits = (state == 1) == (f->rule == R::AnyBitSet);
        value = setBits ? quint8(value | f->mask) : quint8(value & ~f->mask);
    }
    return value;
}

int pppChoiceFor(const SettingsElements& elements)
{
    return elements.check(FormElement::CheckBUN) == 1 ? 2 : 1;
}
