// Trace capture: characters into TraceBuffer, one line cut out and parsed into
// octets for every "L" received. The trims by 8 and by LPosition consume the
// adapter's trailer (" 00001234") so the finished line's break survives.
#include "monitor/engine/monitor_engine.h"

namespace {

// Left behind when a decode pass turned a line's end into a real CR LF.
const QString kBreakJunk = QStringLiteral("*\r\n  ");

} // namespace

void MonitorEngine::Scan(char c)
{
    QChar ch = QChar(uchar(c));
    if (ch == u'\r')
        ch = u'*';
    else if (ch == u'\n')
        ch = u'$';
    bool decoded = false;
    if (ch == u'L') {
        xout1(QLatin1String("\r\n>> ") + TraceBuffer + QLatin1String(" <<"));
        if (TraceBuffer.size() >= 8)
            TraceBuffer.chop(8);
        LPosition = int(TraceBuffer.indexOf(u'L')) + 1;
        TraceBuffer.chop(LPosition);
        xout1(QLatin1String("\r\n->L-Position: ") + QString::number(LPosition) + QLatin1String("\r\n"));
        DecodeFrame();
        decoded = true;
    }
    TraceBuffer += ch;
    removeBreakJunk(decoded, ch);
    boundTraceBuffer();
    if (displayDirty_)
        notifyDisplay();
}

// The buffer never holds the junk sequence between two calls of Scan (unless a
// removal itself formed a new one), so without a decode pass only its end can
// hold one; checking just the end keeps Scan O(1) per character.
void MonitorEngine::removeBreakJunk(bool decoded, QChar ch)
{
    if (decoded || junkLeft_) {
        TraceBuffer.remove(kBreakJunk);
        junkLeft_ = TraceBuffer.contains(kBreakJunk);
    } else if (ch == u' ' && TraceBuffer.endsWith(kBreakJunk)) {
        TraceBuffer.chop(kBreakJunk.size());
    }
}

// A flood without line breaks must not grow memory: past the limit the oldest
// characters go (in steps, so the cost is spread over many characters).
void MonitorEngine::boundTraceBuffer()
{
    if (TraceBuffer.size() > kTraceBufferLimit + kTraceBufferLimit / 16)
        TraceBuffer.remove(0, TraceBuffer.size() - kTraceBufferLimit);
}

int MonitorEngine::hexPair(QStringView two)
{
    int value = 0;
    for (QChar ch : two) {
        if (ch == u' ')
            continue;
        const int d = ch.isDigit() && ch.unicode() < 128 ? ch.unicode() - '0'
                      : (ch.toUpper() >= u'A' && ch.toUpper() <= u'F') ? ch.toUpper().unicode() - 'A' + 10
                                                                        : -1;
        if (d < 0)
            break;
        value = value * 16 + d;
    }
    return value;
}

void MonitorEngine::DecodeFrame()
{
    display_.ImageLED = 2;
    displayDirty_ = true;

    TraceBuffer.replace(QLatin1String("L1 phid 0 PH_DATA_REQ\r\n"), QString(), Qt::CaseInsensitive);
    TraceBuffer.replace(QLatin1String(" *$"), QLatin1String("\r\n"), Qt::CaseInsensitive);
    TraceBuffer.replace(QLatin1String("L1   0"), QLatin1String("L1:"), Qt::CaseInsensitive);
    TraceBuffer.replace(QLatin1String("L1 phid 0 PH_ACTIVATE_REQ\r\n"), QString(), Qt::CaseInsensitive);
    TraceBuffer.replace(QLatin1String("   "), QLatin1String(" "), Qt::CaseInsensitive);

    const qsizetype p = TraceBuffer.indexOf(QLatin1String("\r\n")) + 1; // 1-based, 0 = none
    if (TraceBuffer.size() < 2)
        return;
    QString line;
    if (p > 0) {
        line = TraceBuffer.left(p - 1);
        if (LPosition >= 1) // LPosition 0: the cut fails and the line stays whole
            line = line.mid(LPosition - 1);
    }
    if (DebugLevel > 0)
        xout1(QLatin1String("Extracted Frame is > ") + line + QLatin1String("\r\n"));
    TraceBuffer.remove(0, p + 1);
    if (!line.contains(QLatin1String("L1:"), Qt::CaseInsensitive))
        return;

    const QString octetText = line.mid(7);
    const int count = int((octetText.size() + 1) / 3); // length / 3, rounded
    if (DebugLevel == 4)
        xout(QLatin1String("Frame:") + octetText + QLatin1String("\r\n"));
    frameOctets_.fill(0);
    for (int i = 1; i <= count && i <= kMaxOctets; ++i)
        frameOctets_[i] = quint8(hexPair(QStringView(octetText).mid(3 * i - 3, 2)));
    frameCount_ = count;
    decodeOctets(count);

    lastFrame_.clear();
    if (count >= 1 && count <= kMaxOctets)
        lastFrame_ = QByteArray(reinterpret_cast<const char*>(frameOctets_.data()) + 1, count);
    ++framesDecoded_;
    emit frameDecoded();
}
