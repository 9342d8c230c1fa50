// Frame dispatch on the octet count, SABME/DISC handling and the element walk
// with its handlers. Which call event a frame means, call tracking decides
// from what the walk saw.
#include "monitor/engine/frame_decoder.h"

#include "common/dss1_codes.h"

#include <algorithm>

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

QString hex2(int v)
{
    const QChar pair[2] = {QLatin1Char(kHexDigits[(v >> 4) & 0xF]), QLatin1Char(kHexDigits[v & 0xF])};
    return QString(pair, 2);
}

QString dec2(int v)
{
    return QString::asprintf("%02d", v);
}

QString right2(int v)
{
    return QString::asprintf("%2d", v);
}

// An octet in hexadecimal without padding.
QString hexPlain(int v)
{
    return v > 0xF ? hex2(v) : QString(QLatin1Char(kHexDigits[v & 0xF]));
}

const QString kRoot = QStringLiteral("IDs");

namespace ie = dss1::ie;

} // namespace

bool DecodedFrame::announcement() const
{
    return tei == dss1::kGroupTei && count > 8;
}

FrameDecoder::FrameDecoder(const TraceOutput& trace, TraceTree& tree) : trace_(trace), tree_(tree)
{
}

int FrameDecoder::octet(int n) const
{
    // Anything outside the frame's stored octets reads as 0.
    return n >= 1 && n <= frame_.count && n <= kMaxOctets ? (*octets_)[n] : 0;
}

QString FrameDecoder::elementText(const ElementView& e) const
{
    QString text;
    text.reserve(3 * std::max(0, e.len));
    for (int j = e.first; j <= e.last; ++j) {
        text += hex2(octet(j));
        text += u' ';
    }
    return text;
}

// A number's digits as the monitor always read them from the element's text:
// from octet `from` on, a digit character (0x30 ... 0x3F) gives its low
// hexadecimal digit and any other octet " hh".
QString FrameDecoder::numberDigits(const ElementView& e, int from) const
{
    constexpr int kDigitCharacters = 3; // the high half of an octet holding a digit character
    QString digits;
    for (int j = from; j <= e.last; ++j) {
        const int o = octet(j);
        if (o >> 4 == kDigitCharacters) {
            digits += QLatin1Char(kHexDigits[o & 0xF]);
        } else {
            digits += u' ';
            digits += hex2(o);
        }
    }
    return digits;
}

QString FrameDecoder::terminalKey() const
{
    return QLatin1String("ID ") + hexPlain(frame_.tei);
}

void FrameDecoder::note(const QString& text)
{
    if (trace_.on())
        saw(SeenElement::Kind::Trace, text);
}

void FrameDecoder::noteInfo(const QString& text)
{
    if (trace_.info())
        saw(SeenElement::Kind::Trace, text);
}

void FrameDecoder::saw(SeenElement::Kind kind, const QString& text)
{
    frame_.seen.push_back({kind, text});
}

DecodedFrame FrameDecoder::decode(const Octets& octets, int count)
{
    octets_ = &octets;
    frame_ = DecodedFrame{};
    frame_.count = count;
    frame_.tei = octet(2);
    const bool detailed = trace_.detailed();
    // Only the detailed levels show the frame's head: not built otherwise.
    const auto head = [&] { return QLatin1String("Id: ") + hex2(frame_.tei) + QLatin1String(" .") + dec2(count); };
    if (count == 3) {
        frame_.controlOnly = true;
        const int control = octet(3);
        if (detailed)
            note(head() + QLatin1String("   Msg: (") + hex2(control) + QLatin1String(")\r\n"));
        if (control == dss1::kControlSabme && detailed) {
            tree_.add(kRoot, terminalKey(), terminalKey(), 2);
            tree_.expand(kRoot);
        }
        if (control == dss1::kControlDisc) {
            if (detailed)
                tree_.remove(terminalKey());
            frame_.disconnect = true;
        }
    } else if (count == 4 || count == 8) {
        if (detailed)
            note(head() + QLatin1String("   Msg: (") + hex2(octet(count)) + QLatin1String(")\r\n"));
    } else if (count >= 9 && count <= kMaxOctets) {
        walkElements();
    }
    octets_ = nullptr;
    return std::move(frame_);
}

void FrameDecoder::walkElements()
{
    const int count = frame_.count;
    // A UI frame has one control octet, so its message (and its elements)
    // start one octet earlier than in an I-frame.
    int p = octet(3) == dss1::kControlUi && octet(4) == dss1::kProtocolDiscriminator ? 8 : 9;
    const bool broadcast = octet(2) == dss1::kGroupTei;
    for (;;) {
        const int id = octet(p);
        int len = octet(p + 1);
        if (len > count)
            len = count - 10;
        const ElementView element{len, p + 2, p + 1 + len};
        if (trace_.detailed())
            note(QLatin1String("Id: ") + hex2(octet(2)) + QLatin1String(" .") + dec2(count)
                 + QLatin1String("   Message: (") + hex2(id) + QLatin1String(") ") + QLatin1String("Len: ")
                 + right2(len) + QLatin1String(" ->> ") + elementText(element) + QLatin1String("\r\n"));
        if (broadcast) {
            if (trace_.detailed()) {
                tree_.add(kRoot, QStringLiteral("ID FF"), QStringLiteral("ID FF"), 2);
                tree_.expand(kRoot);
            }
            noteInfo(QStringLiteral("Caller ID Information\r\n"));
        }
        handleElement(id, element);
        const int next = p + 2 + len;
        if (next >= count)
            break;
        p = next;
    }
}

void FrameDecoder::handleElement(int id, const ElementView& e)
{
    using Handler = void (FrameDecoder::*)(const ElementView&);
    struct ElementHandler {
        std::uint8_t id;
        const char* trace; // at the informative levels, before the handler runs
        Handler handle;
    };
    static constexpr ElementHandler kHandlers[] = {
        {ie::kChannelIdentification, "Channel Assignement Information!\r\n", &FrameDecoder::onChannel},
        {ie::kCallingPartyNumber, "Caller's Number Information\r\n", &FrameDecoder::onCallingNumber},
        {ie::kConnectedNumber, "Calling Number Information ON CONNECT.\r\n", &FrameDecoder::onConnectedNumber},
        {ie::kCalledPartyNumber, nullptr, &FrameDecoder::onCalledNumber},
        {ie::kFacility, nullptr, &FrameDecoder::onFacility},
        {ie::kDisplay, "Cost Information Type 2\r\n", &FrameDecoder::onDisplay},
        {ie::kCause, nullptr, &FrameDecoder::onCause},
    };
    for (const ElementHandler& h : kHandlers) {
        if (h.id != id)
            continue;
        if (h.trace)
            noteInfo(QLatin1String(h.trace));
        (this->*h.handle)(e);
        return;
    }
}

// The terminal's node in the identifier tree gets one child per element
// (at the detailed levels only: callers build the content only for them).
void FrameDecoder::addElementNode(int id, const QString& content, const QString& expand)
{
    tree_.add(terminalKey(), QString(), u'M' + hex2(id) + u'_' + content, 3);
    tree_.expand(expand);
}

void FrameDecoder::onChannel(const ElementView& e)
{
    ElementResults& results = frame_.results;
    if (trace_.detailed())
        addElementNode(ie::kChannelIdentification, hexPlain(octet(e.first)), kRoot);
    results.channel = hexPlain(octet(e.last));
    const bool a = results.channel == QLatin1String(dss1::kChannelAText);
    if (a || results.channel == QLatin1String(dss1::kChannelBText)) {
        saw(SeenElement::Kind::Channel, results.channel);
        note(a ? QStringLiteral("New Call on Channel A\r\n") : QStringLiteral("New Call on Channel B\r\n"));
    }
}

void FrameDecoder::onCallingNumber(const ElementView& e)
{
    ElementResults& results = frame_.results;
    if (trace_.detailed())
        addElementNode(ie::kCallingPartyNumber, elementText(e), terminalKey());
    results.caller = callingDigits(e);
    if (octet(e.last) == dss1::kPresentationRestricted) {
        noteInfo(QStringLiteral("Caller's Number is SECRET\r\n"));
        results.caller = QStringLiteral("Secret Number");
    }
}

void FrameDecoder::onConnectedNumber(const ElementView& e)
{
    ElementResults& results = frame_.results;
    if (trace_.detailed())
        addElementNode(ie::kConnectedNumber, elementText(e), terminalKey());
    results.connected = callingDigits(e);
    if (octet(e.last) == dss1::kNumberNotAvailable) { // a service
        noteInfo(QStringLiteral("Calling Number is a SERVICE\r\n"));
        results.connected = QStringLiteral("Service");
        saw(SeenElement::Kind::Service);
        note(QStringLiteral("Service Call ActiVated\r\n"));
    }
    if (trace_.on())
        note(QLatin1String("Calling Number is: ") + results.connected + QLatin1String("\r\n"));
    saw(SeenElement::Kind::Connected);
}

// The whole number, or one dialled digit.
void FrameDecoder::onCalledNumber(const ElementView& e)
{
    if (e.len < 2)
        return;
    noteInfo(e.len >= 3 ? QStringLiteral("Calling Number Information\r\n")
                        : QStringLiteral("Digit Dialled Information\r\n"));
    frame_.results.called = elementText(e);
    frame_.results.calledNumber = calledDigits(e);
}

void FrameDecoder::onFacility(const ElementView& e)
{
    if (e.len != dss1::kChargeFacilityLength)
        return;
    noteInfo(QStringLiteral("Cost Information Type 1\r\n"));
    frame_.results.units = QString::number(octet(e.last - dss1::kChargeUnitsFromEnd));
}

// "12 Einheiten": the units are the digits the text starts with, at most four.
// Any character 0x30 ... 0x3F counts, with its low hexadecimal digit.
void FrameDecoder::onDisplay(const ElementView& e)
{
    ElementResults& results = frame_.results;
    constexpr int kDigitsRead = 4;
    QString digits;
    for (int k = 0; k < kDigitsRead && k < e.len; ++k) {
        const int o = octet(e.first + k);
        if (o >> 4 != 3)
            break;
        digits += QLatin1Char(kHexDigits[o & 0xF]);
    }
    results.display = digits;
    note(QStringLiteral("Cost 2 decoded follows\r\n"));
    note(results.display);
    note(QStringLiteral("\r\n"));
    if (!results.display.isEmpty())
        results.units = results.display;
}

// Only normal call clearing by the user ends a call.
void FrameDecoder::onCause(const ElementView& e)
{
    if (octet(e.first) != dss1::kLocationUser || octet(e.first + 1) != dss1::kCauseNormal)
        return;
    tree_.remove(terminalKey());
    noteInfo(QStringLiteral("Call Termination Signal Information\r\n"));
    saw(SeenElement::Kind::NormalClearing);
}

// The calling and connected numbers: "Unknown" when the element is too short
// to hold the type-of-number octets; the digits start at its third octet,
// without a leading blank.
QString FrameDecoder::callingDigits(const ElementView& e) const
{
    if (e.len < 2)
        return QStringLiteral("Unknown");
    QString digits = numberDigits(e, e.first + 2);
    if (digits.startsWith(u' '))
        digits.remove(0, 1);
    return digits;
}

// The called number has one type-of-number octet: the second octet's low half
// reads as its first digit, whatever the octet holds.
QString FrameDecoder::calledDigits(const ElementView& e) const
{
    if (e.len < 2)
        return QStringLiteral("UNKNOWN");
    return QLatin1Char(kHexDigits[octet(e.first + 1) & 0xF]) + numberDigits(e, e.first + 2);
}
