#include "device/register_map.h"

#include "common/regional.h"
#include "device/settings_elements.h"

#include <QLocale>

namespace {

using R = RegisterRule;

std::vector<RegisterField> buildMap()
{
    return {
        {0, "TextRINGS", R::DecimalText},
        {15, "Option2", R::Choice, 0, {0, 32, 64, 96, 128}},
        {18, "CheckBAUD", R::ZeroTicked},
        {56, "TextHOOK", R::TenMsText},
        {79, "CheckCW1", R::AnyBitSet, 0x04},
        {79, "CheckCW2", R::AnyBitSet, 0x08},
        {82, "OptionPROT", R::Choice, 0, {74, 76, 78, 80}},
        {83, "CheckDCB1", R::AnyBitSet, 0x01},
        {83, "CheckDCB2", R::AnyBitSet, 0x02},
        {84, "CheckCID1", R::AnyBitSet, 0x01},
        {84, "CheckCID2", R::AnyBitSet, 0x02},
        {84, "CheckCIDOnHook", R::AllBitsClear, 0x30},
        {84, "CheckCIDOffHook", R::AllBitsClear, 0xC0},
        {85, "CheckCL1", R::AnyBitSet, 0x05},
        {85, "CheckCL2", R::AnyBitSet, 0x0A},
        {87, "CheckGC1", R::AllBitsClear, 0x01},
        {87, "CheckGC2", R::AllBitsClear, 0x02},
        {87, "CheckBUN", R::AnyBitSet, 0x60},
        {89, "CheckCH1", R::AnyBitSet, 0x01},
        {89, "CheckCH2", R::AnyBitSet, 0x02},
        {89, "CheckCH3", R::AnyBitSet, 0x04},
        {89, "CheckMP1", R::AnyBitSet, 0x20},
        {89, "CheckMP2", R::AnyBitSet, 0x40},
        {100, "Option3", R::Choice, 0, {1, 0}},          // Keypad, Functional
        {108, "Option5", R::Choice, 0, {1, 2, 0}},       // Telephony, Fax G2/G3, No element sent
        {109, "Option4", R::Choice, 0, {1, 2, 0}},
        {118, "CheckIC1", R::AnyBitSet, 0x01},
        {118, "CheckIC2", R::AnyBitSet, 0x02},
        {123, "CheckFUL", R::NonZeroTicked},
    };
}

void showField(const RegisterField& f, quint8 value, SettingsElements& e)
{
    const QString name = QString::fromLatin1(f.element);
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

const RegisterField* fieldOfElement(const QString& element)
{
    for (const RegisterField& f : registerMap())
        if (element == QLatin1String(f.element))
            return &f;
    return nullptr;
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
        const int state = elements.check(QString::fromLatin1(f->element));
        if (state != 0 && state != 1)
            continue; // greyed: no change
        const bool setBits = (state == 1) == (f->rule == R::AnyBitSet);
        value = setBits ? quint8(value | f->mask) : quint8(value & ~f->mask);
    }
    return value;
}

int pppChoiceFor(const SettingsElements& elements)
{
    return elements.check(QStringLiteral("CheckBUN")) == 1 ? 2 : 1;
}
