// Frame dispatch on the octet count, SABME/DISC handling and the element walk
// with its handlers. Which call event a frame means is inferred afterwards from
// the elements it carried.
#include "monitor/engine/monitor_engine.h"

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

} // namespace

int MonitorEngine::octet(int n) const
{
    // Anything outside the frame's stored octets reads as 0.
    return n >= 1 && n <= frameCount_ && n <= kMaxOctets ? frameOctets_[n] : 0;
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
        if (DebugLevel >= 4)
            xout(head + QLatin1String("   Msg: (") + hex2(control) + QLatin1String(")\r\n"));
        if (control == 0x7F && DebugLevel >= 4) { // SABME: a terminal sets its link up
            tree_.add(kRoot, terminalKey(), terminalKey(), 2);
            tree_.expand(kRoot);
        }
        if (control == 0x53) { // DISC: the terminal's link goes down
            if (DebugLevel >= 4)
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
        if (DebugLevel >= 4)
            xout(head + QLatin1String("   Msg: (") + hex2(octet(count)) + QLatin1String(")\r\n"));
    } else if (count >= 9 && count <= kMaxOctets) {
        walkElements(count, results);
    }
    stageAfterWalk(count, results);
}

void MonitorEngine::walkElements(int count, ElementResults& results)
{
    // A UI frame has one control octet, so its message (and its elements)
    // start one octet earlier than in an I-frame.
    int p = octet(3) == 0x03 && octet(4) == 0x08 ? 8 : 9;
    const bool broadcast = octet(2) == 0xFF;
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
        if (DebugLevel >= 4)
            xout(QLatin1String("Id: ") + hex2(octet(2)) + QLatin1String(" .") + dec2(count)
                 + QLatin1String("   Message: (") + hex2(id) + QLatin1String(") ") + QLatin1String("Len: ")
                 + right2(len) + QLatin1String(" ->> ") + text + QLatin1String("\r\n"));
        if (broadcast) {
            if (DebugLevel >= 4) {
                tree_.add(kRoot, QStringLiteral("ID FF"), QStringLiteral("ID FF"), 2);
                tree_.expand(kRoot);
            }
            if (traceInfo())
                xout(QStringLiteral("Caller ID Information\r\n"));
        }
        handleElement(id, len, p + 2, p + 1 + len, text, results);
        const int next = p + 2 + len;
        if (next >= count)
            break;
        p = next;
    }
}

void MonitorEngine::handleElement(int id, int len, int first, int last, const QString& text,
                                  ElementResults& results)
{
    IdRecord* r = record();
    const QString node = terminalKey();
    switch (id) {
    case 0x18: { // channel identification
        if (DebugLevel >= 4) {
            tree_.add(node, QString(), QLatin1String("M18_") + hexPlain(octet(first)), 3);
            tree_.expand(kRoot);
        }
        if (traceInfo())
            xout(QStringLiteral("Channel Assignement Information!\r\n"));
        results.channel = hexPlain(octet(last));
        if (results.channel == QLatin1String("89")) {
            if (r)
                r->Channel = results.channel;
            xout(QStringLiteral("New Call on Channel A\r\n"));
        } else if (results.channel == QLatin1String("8A")) {
            if (r)
                r->Channel = results.channel;
            xout(QStringLiteral("New Call on Channel B\r\n"));
        }
        break;
    }
    case 0x6C: // calling party number
        if (DebugLevel >= 4) {
            tree_.add(node, QString(), QLatin1String("M6C_") + text, 3);
            tree_.expand(node);
        }
        if (traceInfo())
            xout(QStringLiteral("Caller's Number Information\r\n"));
        results.caller = parseNumber(text, NumberElement::Calling);
        if (octet(last) == 0xA3) { // presentation restricted
            if (traceInfo())
                xout(QStringLiteral("Caller's Number is SECRET\r\n"));
            results.caller = QStringLiteral("Secret Number");
        }
        break;
    case 0x4C: // connected number
        if (DebugLevel >= 4) {
            tree_.add(node, QString(), QLatin1String("M4C_") + text, 3);
            tree_.expand(node);
        }
        if (traceInfo())
            xout(QStringLiteral("Calling Number Information ON CONNECT.\r\n"));
        results.connected = parseNumber(text, NumberElement::Calling);
        if (octet(last) == 0xC3) { // number not available: a service
            if (traceInfo())
                xout(QStringLiteral("Calling Number is a SERVICE\r\n"));
            results.connected = QStringLiteral("Service");
            if (r)
                r->Activated = true;
            xout(QStringLiteral("Service Call ActiVated\r\n"));
        }
        xout(QLatin1String("Calling Number is: ") + results.connected + QLatin1String("\r\n"));
        if (r)
            connectionStep(*r);
        break;
    case 0x70: // called party number: the whole number, or one dialled digit
        if (len >= 3) {
            if (traceInfo())
                xout(QStringLiteral("Calling Number Information\r\n"));
            results.called = text;
        } else if (len == 2) {
            if (traceInfo())
                xout(QStringLiteral("Digit Dialled Information\r\n"));
            results.called = text;
        }
        break;
    case 0x1C: // facility carrying the charge units in its 19th content octet
        if (len == 22) {
            if (traceInfo())
                xout(QStringLiteral("Cost Information Type 1\r\n"));
            results.units = QString::number(octet(last - 3));
        }
        break;
    case 0x28: { // display: "12 Einheiten"
        if (traceInfo())
            xout(QStringLiteral("Cost Information Type 2\r\n"));
        QByteArray content;
        for (int k = 0; k < 4 && k < len; ++k)
            content.append(char(octet(first + k)));
        results.display = displayDigits(content);
        xout(QStringLiteral("Cost 2 decoded follows\r\n"));
        xout(results.display);
        xout(QStringLiteral("\r\n"));
        if (!results.display.isEmpty())
            results.units = results.display;
        break;
    }
    case 0x08: // cause: only normal call clearing by the user ends a call
        if (octet(first) == 0x80 && octet(first + 1) == 0x90) {
            tree_.remove(node);
            if (traceInfo())
                xout(QStringLiteral("Call Termination Signal Information\r\n"));
            if (r)
                terminationStep(*r);
        }
        break;
    default:
        break;
    }
}

void MonitorEngine::stageAfterWalk(int count, const ElementResults& results)
{
    if (octet(2) == 0xFF && count > 8)
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
