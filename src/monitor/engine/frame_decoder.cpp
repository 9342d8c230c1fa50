// Frame dispatch on the octet count, SABME/DISC handling and the element walk
// with its handlers. Which call event a frame means is inferred afterwards from
// the elements it carried.
#include "monitor/engine/monitor_engine.h"

#include "common/dss1_codes.h"

namespace {

QString hex2(int v)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    const QChar pair[2] = {QChar(digits[(v >> 4) & 0xF]), QChar(digits[v & 0xF])};
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

QString hexPlain(int v)
{
    return QString::number(v, 16).toUpper();
}

const QString kRoot = QStringLiteral("IDs");

namespace ie = dss1::ie;

} // namespace

int MonitorEngine::octet(int n) const
{
    // Anything outside the frame's stored octets reads as 0.
    return n >= 1 && n <= frameCount_ && n <= TraceCapture::kMaxOctets ? frameOctets_[n] : 0;
}

IdRecord* MonitorEngine::record()
{
    const int index = tei_ - 1;
    return index >= 0 && index < int(IdRecords.size()) ? &IdRecords[index] : nullptr;
}

QString MonitorEngine::terminalKey() const
{
    return QLatin1String("ID ") + hexPlain(tei_);
}

void MonitorEngine::decodeOctets(int count)
{
    tei_ = octet(2);
    ElementResults results;
    const QString head = QLatin1String("Id: ") + hex2(tei_) + QLatin1String(" .") + dec2(count);
    if (count == 3) {
        const int control = octet(3);
        if (trace_.level >= 4)
            trace_.xout(head + QLatin1String("   Msg: (") + hex2(control) + QLatin1String(")\r\n"));
        if (control == dss1::kControlSabme && trace_.level >= 4) {
            tree_.add(kRoot, terminalKey(), terminalKey(), 2);
            tree_.expand(kRoot);
        }
        if (control == dss1::kControlDisc) {
            if (trace_.level >= 4)
                tree_.remove(terminalKey());
            if (IdRecord* r = record()) {
                r->CallerNumber.clear();
                r->ConnectedNumber.clear();
                r->CalledDigits.clear();
                r->DisplayCost.clear();
                r->Channel.clear();
                r->CostUnits.clear();
            }
        }
        return;
    }
    if (count == 4 || count == 8) {
        if (trace_.level >= 4)
            trace_.xout(head + QLatin1String("   Msg: (") + hex2(octet(count)) + QLatin1String(")\r\n"));
    } else if (count >= 9 && count <= TraceCapture::kMaxOctets) {
        walkElements(count, results);
    }
    stageAfterWalk(count, results);
}

void MonitorEngine::walkElements(int count, ElementResults& results)
{
    // A UI frame has one control octet, so its message (and its elements)
    // start one octet earlier than in an I-frame.
    int p = octet(3) == dss1::kControlUi && octet(4) == dss1::kProtocolDiscriminator ? 8 : 9;
    const bool broadcast = octet(2) == dss1::kGroupTei;
    for (;;) {
        const int id = octet(p);
        int len = octet(p + 1);
        if (len > count)
            len = count - 10;
        QString text;
        for (int j = p + 2; j <= p + 1 + len; ++j) {
            text += hex2(octet(j));
            text += u' ';
        }
        if (trace_.level >= 4)
            trace_.xout(QLatin1String("Id: ") + hex2(octet(2)) + QLatin1String(" .") + dec2(count)
                 + QLatin1String("   Message: (") + hex2(id) + QLatin1String(") ") + QLatin1String("Len: ")
                 + right2(len) + QLatin1String(" ->> ") + text + QLatin1String("\r\n"));
        if (broadcast) {
            if (trace_.level >= 4) {
                tree_.add(kRoot, QStringLiteral("ID FF"), QStringLiteral("ID FF"), 2);
                tree_.expand(kRoot);
            }
            if (trace_.info())
                trace_.xout(QStringLiteral("Caller ID Information\r\n"));
        }
        handleElement(id, ElementView{len, p + 2, p + 1 + len, text}, results);
        const int next = p + 2 + len;
        if (next >= count)
            break;
        p = next;
    }
}

void MonitorEngine::handleElement(int id, const ElementView& e, ElementResults& results)
{
    using Handler = void (MonitorEngine::*)(const ElementView&, ElementResults&);
    struct ElementHandler {
        std::uint8_t id;
        const char* trace; // at the informative levels, before the handler runs
        Handler handle;
    };
    static constexpr ElementHandler kHandlers[] = {
        {ie::kChannelIdentification, "Channel Assignement Information!\r\n", &MonitorEngine::onChannel},
        {ie::kCallingPartyNumber, "Caller's Number Information\r\n", &MonitorEngine::onCallingNumber},
        {ie::kConnectedNumber, "Calling Number Information ON CONNECT.\r\n", &MonitorEngine::onConnectedNumber},
        {ie::kCalledPartyNumber, nullptr, &MonitorEngine::onCalledNumber},
        {ie::kFacility, nullptr, &MonitorEngine::onFacility},
        {ie::kDisplay, "Cost Information Type 2\r\n", &MonitorEngine::onDisplay},
        {ie::kCause, nullptr, &MonitorEngine::onCause},
    };
    for (const ElementHandler& h : kHandlers) {
        if (h.id != id)
            continue;
        if (h.trace && trace_.info())
            trace_.xout(QLatin1String(h.trace));
        (this->*h.handle)(e, results);
        return;
    }
}

// The terminal's node in the identifier tree gets one child per element.
void MonitorEngine::addElementNode(int id, const QString& content, const QString& expand)
{
    if (trace_.level < 4)
        return;
    tree_.add(terminalKey(), QString(), u'M' + hex2(id) + u'_' + content, 3);
    tree_.expand(expand);
}

void MonitorEngine::onChannel(const ElementView& e, ElementResults& results)
{
    addElementNode(ie::kChannelIdentification, hexPlain(octet(e.first)), kRoot);
    results.channel = hexPlain(octet(e.last));
    const bool a = results.channel == QLatin1String(dss1::kChannelAText);
    if (a || results.channel == QLatin1String(dss1::kChannelBText)) {
        if (IdRecord* r = record())
            r->Channel = results.channel;
        trace_.xout(a ? QStringLiteral("New Call on Channel A\r\n") : QStringLiteral("New Call on Channel B\r\n"));
    }
}

void MonitorEngine::onCallingNumber(const ElementView& e, ElementResults& results)
{
    addElementNode(ie::kCallingPartyNumber, e.text, terminalKey());
    results.caller = parseNumber(e.text, NumberElement::Calling);
    if (octet(e.last) == dss1::kPresentationRestricted) {
        if (trace_.info())
            trace_.xout(QStringLiteral("Caller's Number is SECRET\r\n"));
        results.caller = QStringLiteral("Secret Number");
    }
}

void MonitorEngine::onConnectedNumber(const ElementView& e, ElementResults& results)
{
    addElementNode(ie::kConnectedNumber, e.text, terminalKey());
    IdRecord* r = record();
    results.connected = parseNumber(e.text, NumberElement::Calling);
    if (octet(e.last) == dss1::kNumberNotAvailable) { // a service
        if (trace_.info())
            trace_.xout(QStringLiteral("Calling Number is a SERVICE\r\n"));
        results.connected = QStringLiteral("Service");
        if (r)
            r->Activated = true;
        trace_.xout(QStringLiteral("Service Call ActiVated\r\n"));
    }
    trace_.xout(QLatin1String("Calling Number is: ") + results.connected + QLatin1String("\r\n"));
    if (r)
        connectionStep(*r);
}

// The whole number, or one dialled digit.
void MonitorEngine::onCalledNumber(const ElementView& e, ElementResults& results)
{
    if (e.len < 2)
        return;
    if (trace_.info())
        trace_.xout(e.len >= 3 ? QStringLiteral("Calling Number Information\r\n") : QStringLiteral("Digit Dialled Information\r\n"));
    results.called = e.text;
}

void MonitorEngine::onFacility(const ElementView& e, ElementResults& results)
{
    if (e.len != dss1::kChargeFacilityLength)
        return;
    if (trace_.info())
        trace_.xout(QStringLiteral("Cost Information Type 1\r\n"));
    results.units = QString::number(octet(e.last - dss1::kChargeUnitsFromEnd));
}

// "12 Einheiten": the units are the digits the text starts with.
void MonitorEngine::onDisplay(const ElementView& e, ElementResults& results)
{
    constexpr int kDigitsRead = 4;
    QByteArray content;
    for (int k = 0; k < kDigitsRead && k < e.len; ++k)
        content.append(char(octet(e.first + k)));
    results.display = displayDigits(content);
    trace_.xout(QStringLiteral("Cost 2 decoded follows\r\n"));
    trace_.xout(results.display);
    trace_.xout(QStringLiteral("\r\n"));
    if (!results.display.isEmpty())
        results.units = results.display;
}

// Only normal call clearing by the user ends a call.
void MonitorEngine::onCause(const ElementView& e, ElementResults&)
{
    if (octet(e.first) != dss1::kLocationUser || octet(e.first + 1) != dss1::kCauseNormal)
        return;
    tree_.remove(terminalKey());
    if (trace_.info())
        trace_.xout(QStringLiteral("Call Termination Signal Information\r\n"));
    if (IdRecord* r = record())
        terminationStep(*r);
}

void MonitorEngine::stageAfterWalk(int count, const ElementResults& results)
{
    if (octet(2) == dss1::kGroupTei && count > 8)
        callerIdStage(results);
    else if (IdRecord* r = record())
        perTerminalStage(*r, results);
}

QString MonitorEngine::parseNumber(const QString& elementText, NumberElement kind)
{
    // The element's text is its octets as "h l" pairs; the digits start after
    // the type-of-number octets, which the called number has one fewer of.
    const bool called = kind == NumberElement::Called;
    const int skip = called ? 4 : 5;
    if (elementText.size() < skip)
        return called ? QStringLiteral("UNKNOWN") : QStringLiteral("Unknown");
    QString n = elementText.mid(skip);
    n.remove(QLatin1String(" 3"));
    return n.trimmed();
}

QString MonitorEngine::displayDigits(const QByteArray& content)
{
    QString digits;
    for (int k = 0; k < 4 && k < content.size(); ++k) {
        const int o = quint8(content[k]);
        if ((o >> 4) != 3)
            break;
        digits += hexPlain(o & 0x0F);
    }
    return digits;
}
