#include "device/register_io.h"

#include "common/regional.h"
#include "device/register_map.h"
#include "device/settings_elements.h"

#include <QCoreApplication>
#include <optional>

namespace {

QString query(int reg)
{
    return QStringLiteral("ATS%1?").arg(reg);
}
QString assign(int reg, long long value)
{
    return QStringLiteral("ATS%1=%2").arg(reg).arg(value);
}

// Queries one register into the image; a failed answer keeps the old entry.
// False when the device did not answer at all.
bool fetch(RegisterIo& io, int reg)
{
    const AtReply reply = io.send(query(reg));
    if (const std::optional<quint8> v = registerValue(reply.text))
        io.image[reg] = *v;
    return reply.arrived();
}

// Sends one write and notes the register when the device refuses it.
void write(RegisterIo& io, int reg, long long value)
{
    if (io.send(assign(reg, value)).outcome == AtOutcome::Refused)
        io.refused << registerCaption(reg);
}

void warn(RegisterIo& io, const char* text)
{
    if (io.warn)
        io.warn(QCoreApplication::translate("Form1", text), QCoreApplication::translate("Form1", kWarningTitle));
}

// A typed value rounded half to even, when the text is a number in [lo, hi].
std::optional<double> typedValue(const QString& text, long long lo, long long hi)
{
    const std::optional<double> n = regional::toNumber(text);
    if (!n)
        return std::nullopt;
    const long long whole = regional::roundHalfEven(*n);
    if (whole < lo || whole > hi)
        return std::nullopt;
    return *n;
}

void writeHookTime(RegisterIo& io)
{
    const std::optional<double> ms = typedValue(io.elements.text(FormElement::TextHOOK), 200, 1000);
    if (!ms)
        return warn(io, kHookWarning);
    write(io, 56, regional::roundHalfEven(*ms / 10.0));
}

void writeRings(RegisterIo& io)
{
    const std::optional<double> rings = typedValue(io.elements.text(FormElement::TextRINGS), 0, 120);
    if (!rings)
        return warn(io, kRingsWarning);
    write(io, 0, regional::roundHalfEven(*rings));
}

void writeProtocol(RegisterIo& io)
{
    // With no protocol chosen the device gets its first one.
    const RegisterField& f = *fieldOfElement(FormElement::OptionPROT);
    io.image[82] = quint8(f.values.front());
    const int c = io.elements.choice(f.element);
    if (c >= 0 && c < int(f.values.size()))
        io.image[82] = quint8(f.values[c]);
    write(io, 82, io.image[82]);
}

void writeAutoBaud(RegisterIo& io)
{
    if (io.elements.check(FormElement::CheckBAUD) != 1)
        return; // the device decides the bit rate detection unless asked to turn it on
    io.image[18] = 0;
    write(io, 18, 0);
}

void writeEmergency(RegisterIo& io)
{
    const int state = io.elements.check(FormElement::CheckFUL);
    if (state == 0)
        write(io, 123, 0);
    else if (state == 1)
        write(io, 123, 255);
}

// Choice groups with nothing selected send nothing.
void writeChoice(RegisterIo& io, int reg)
{
    for (const RegisterField* f : fieldsOfRegister(reg)) {
        const int c = io.elements.choice(f->element);
        if (c >= 0 && c < int(f->values.size()))
            write(io, reg, f->values[c]);
    }
}

void writeWholeValue(RegisterIo& io, int reg)
{
    switch (reg) {
    case 56: writeHookTime(io); break;
    case 82: writeProtocol(io); break;
    case 0: writeRings(io); break;
    case 18: writeAutoBaud(io); break;
    case 123: writeEmergency(io); break;
    default: writeChoice(io, reg); break;
    }
}

} // namespace

void readRegisters(RegisterIo& io)
{
    int done = 0;
    for (int reg : kReadOrder) {
        if (io.progress)
            io.progress(done, int(kReadOrder.size()));
        if (fetch(io, reg))
            showRegister(reg, io.image[reg], io.elements);
        ++done;
        if (reg == 87) { // the PPP mode follows the bundle box; choosing it runs its reaction
            io.elements.setChoice(FormElement::Option1, pppChoiceFor(io.elements));
            if (io.pppChosen)
                io.pppChosen();
        }
    }
    if (io.progress)
        io.progress(done, int(kReadOrder.size()));
}

void sendPotsSettings(RegisterIo& io)
{
    const int total = int(kReadModifyWriteOrder.size() + kWholeValueOrder.size());
    int done = 0;
    for (int reg : kReadModifyWriteOrder) {
        if (io.progress)
            io.progress(done++, total);
        fetch(io, reg);
        const quint8 value = composeRegister(reg, io.image[reg], io.elements);
        io.image[reg] = value;
        write(io, reg, value);
    }
    for (int reg : kWholeValueOrder) {
        if (io.progress)
            io.progress(done++, total);
        writeWholeValue(io, reg);
    }
    if (io.progress)
        io.progress(done, total);
}
