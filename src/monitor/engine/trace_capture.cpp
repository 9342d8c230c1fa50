// Trace capture: characters into TraceBuffer, one line cut out and parsed into
// octets for every "L" received. The trims by 8 and by LPosition consume the
// adapter's trailer (" 00001234") so the finished line's break survives.
//
// Every pass works on the whole buffer as the monitor always did, but only
// where it can change anything: the buffer's clean prefix holds no text a
// pass replaces and no CR LF, and its L-free prefix no "L". A flood without
// line breaks fills the buffer to its bound; this keeps the work per
// character constant instead of a walk over 64 KiB at every "L". For the same
// reason level 5's copies of the whole buffer for Text1 are snapshots that
// copy nothing until read (trace_history.h). (Removing the buffer's front
// costs little: the string only moves its start.)
#include "monitor/engine/trace_capture.h"

#include <algorithm>
#include <cctype>

namespace {

// Left behind when a decode pass turned a line's end into a real CR LF.
const QLatin1String kBreakJunk("*\r\n  ");
const QLatin1String kLineEnd("\r\n");

struct Replacement {
    QLatin1String before, after;
};

// A decode pass's replacements, in this order, case-insensitive.
constexpr Replacement kReplacements[] = {
    {QLatin1String("L1 phid 0 PH_DATA_REQ\r\n"), QLatin1String("")},
    {QLatin1String(" *$"), QLatin1String("\r\n")},
    {QLatin1String("L1   0"), QLatin1String("L1:")},
    {QLatin1String("L1 phid 0 PH_ACTIVATE_REQ\r\n"), QLatin1String("")},
    {QLatin1String("   "), QLatin1String(" ")},
};

// How far before a changed stretch a replaced text can start and still reach into it.
constexpr qsizetype kReach = [] {
    qsizetype longest = 0;
    for (const Replacement& r : kReplacements)
        longest = std::max(longest, r.before.size());
    return longest - 1;
}();
// A replacement's match starts at most its length - 1 before a change an earlier
// replacement made, so over a whole pass the matches reach back at most this far.
constexpr qsizetype kPassReach = [] {
    qsizetype reach = 0;
    for (const Replacement& r : kReplacements)
        reach += r.before.size() - 1;
    return reach;
}();

// Whether `c` is the pattern's (ASCII) character `p` in either case.
bool sameLetter(QChar c, QLatin1Char p)
{
    const char16_t want = uchar(p.toLatin1());
    const bool letter = (want | 0x20) >= u'a' && (want | 0x20) <= u'z';
    return c.unicode() == want || (letter && c.unicode() == (want ^ 0x20));
}

// Where `pattern` first occurs in `text` at or after `from` (case-insensitive),
// or -1. Only places starting with the pattern's first two characters are
// compared in full: cheaper than a general search on the short stretches examined.
qsizetype findPattern(QStringView text, QLatin1String pattern, qsizetype from)
{
    for (qsizetype i = from; i + pattern.size() <= text.size(); ++i) {
        if (sameLetter(text[i], pattern[0]) && sameLetter(text[i + 1], pattern[1])
            && text.sliced(i).startsWith(pattern, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

} // namespace

TraceCapture::TraceCapture(TraceOutput& trace, Hooks hooks) : trace_(trace), hooks_(std::move(hooks))
{
}

void TraceCapture::scan(char c)
{
    QChar ch = QChar(uchar(c));
    if (ch == u'\r')
        ch = u'*';
    else if (ch == u'\n')
        ch = u'$';
    const bool decoded = ch == u'L';
    if (decoded)
        startLine();
    appendToTraceBuffer(ch);
    removeBreakJunk(decoded, ch);
    boundTraceBuffer();
}

void TraceCapture::cutLine()
{
    startLine();
    removeBreakJunk(true, QChar());
}

// The trims and the decode pass an "L" runs before it is stored.
void TraceCapture::startLine()
{
    if (trace_.on())
        trace_.xout1(QLatin1String("\r\n>> "), history_.snapshot(lineBreaks_), QLatin1String(" <<"));
    if (buffer().size() >= kEndTrim)
        chopTraceBuffer(kEndTrim);
    LPosition = int(firstL()) + 1;
    chopTraceBuffer(LPosition);
    if (trace_.on())
        trace_.xout1(QLatin1String("\r\n->L-Position: ") + QString::number(LPosition) + QLatin1String("\r\n"));
    decodePass();
}

void TraceCapture::clear()
{
    history_.changing(0);
    TraceBuffer.clear();
    lineBreaks_ = 0;
    LPosition = 0;
    cleanPrefix_ = lFree_ = 0;
    junkLeft_ = false;
}

// The line breaks of a part of the buffer; none to look for in a flood without any.
int TraceCapture::breaksIn(QStringView part) const
{
    return lineBreaks_ == 0 ? 0 : int(part.count(u'\n'));
}

void TraceCapture::appendToTraceBuffer(QChar ch)
{
    TraceBuffer += ch; // never a line break: Scan turned CR and LF into "*" and "$"
}

void TraceCapture::chopTraceBuffer(qsizetype n)
{
    if (n <= 0)
        return;
    history_.changing(buffer().size() - n);
    lineBreaks_ -= breaksIn(buffer().last(n));
    TraceBuffer.chop(n);
    cleanPrefix_ = std::min(cleanPrefix_, buffer().size());
    lFree_ = std::min(lFree_, buffer().size());
}

void TraceCapture::dropTraceBufferFront(qsizetype n)
{
    n = std::min(n, buffer().size());
    history_.dropping(n);
    lineBreaks_ -= breaksIn(buffer().first(n));
    TraceBuffer.remove(0, n);
    cleanPrefix_ = std::max<qsizetype>(0, cleanPrefix_ - n);
    lFree_ = std::max<qsizetype>(0, lFree_ - n);
}

// The buffer from `from` on is replaced by `tail`; what comes before stays.
// Only from the first character that differs is anything changed.
void TraceCapture::replaceTraceBufferFrom(qsizetype from, const QString& tail)
{
    const QStringView old = buffer().sliced(from);
    const qsizetype same = std::mismatch(old.begin(), old.end(), tail.begin(), tail.end()).first - old.begin();
    if (same < old.size() || same < tail.size()) {
        history_.changing(from + same);
        lineBreaks_ += int(QStringView(tail).sliced(same).count(u'\n')) - breaksIn(old.sliced(same));
        TraceBuffer.truncate(from + same);
        TraceBuffer += QStringView(tail).sliced(same);
    }
    cleanPrefix_ = std::min(cleanPrefix_, from);
    lFree_ = std::min(lFree_, from);
}

qsizetype TraceCapture::firstL()
{
    const qsizetype at = buffer().indexOf(u'L', lFree_);
    lFree_ = at < 0 ? buffer().size() : at;
    return at;
}

// The decode pass's replacements. None can reach into the clean prefix more
// than kPassReach before its end, so the buffer before that point stays as it is.
void TraceCapture::replaceLineTexts()
{
    const qsizetype from = std::max<qsizetype>(0, cleanPrefix_ - kPassReach);
    QString tail = buffer().sliced(from).toString();
    for (const Replacement& r : kReplacements)
        if (findPattern(tail, r.before, 0) >= 0)
            tail.replace(r.before, r.after, Qt::CaseInsensitive);
    replaceTraceBufferFrom(from, tail);
    // The replacements may have formed new texts to replace, reaching back by up to kReach.
    const QStringView buffer = this->buffer();
    qsizetype clean = buffer.size();
    const qsizetype searchFrom = std::max<qsizetype>(0, from - kReach);
    for (const Replacement& r : kReplacements) {
        const qsizetype at = findPattern(buffer.first(clean), r.before, searchFrom);
        if (at >= 0)
            clean = at;
    }
    const qsizetype lineEnd = findPattern(buffer.first(clean), kLineEnd, searchFrom);
    cleanPrefix_ = lineEnd >= 0 ? lineEnd : clean;
}

// The buffer never holds the junk sequence between two calls of Scan (unless a
// removal itself formed a new one), so without a decode pass only its end can
// hold one. The junk holds a CR LF, which the clean prefix does not, so it
// can only start in the prefix's last few characters or after it.
void TraceCapture::removeBreakJunk(bool decoded, QChar ch)
{
    const auto junkFrom = [this] { return std::max<qsizetype>(0, cleanPrefix_ - (kBreakJunk.size() - 1)); };
    if (decoded || junkLeft_) {
        const qsizetype at = findPattern(buffer(), kBreakJunk, junkFrom());
        if (at >= 0) {
            QString tail = buffer().sliced(at).toString();
            tail.remove(kBreakJunk);
            replaceTraceBufferFrom(at, tail);
        }
        junkLeft_ = findPattern(buffer(), kBreakJunk, junkFrom()) >= 0;
    } else if (ch == u' ' && buffer().endsWith(kBreakJunk)) {
        chopTraceBuffer(kBreakJunk.size());
    }
}

// A flood without line breaks must not grow memory: past the limit the oldest
// characters go (in steps, so the cost is spread over many characters).
void TraceCapture::boundTraceBuffer()
{
    if (buffer().size() > kTraceBufferLimit + kTraceBufferLimit / 16)
        dropTraceBufferFront(buffer().size() - kTraceBufferLimit);
}

int TraceCapture::hexPair(QStringView two)
{
    int value = 0;
    for (QChar ch : two) {
        if (ch == u' ')
            continue;
        const int d = ch.isDigit() && ch.unicode() < 128               ? ch.unicode() - '0'
                      : (ch.toUpper() >= u'A' && ch.toUpper() <= u'F') ? ch.toUpper().unicode() - 'A' + 10
                                                                       : -1;
        if (d < 0)
            break;
        value = value * 16 + d;
    }
    return value;
}

void TraceCapture::decodePass()
{
    hooks_.passStarted();

    replaceLineTexts();

    // 1-based, 0 = none; a CR LF can start at the clean prefix's last character at the earliest.
    const qsizetype p = buffer().indexOf(kLineEnd, std::max<qsizetype>(0, cleanPrefix_ - 1)) + 1;
    if (buffer().size() < 2)
        return;
    QString line;
    if (p > 0) {
        line = buffer().left(p - 1).toString();
        if (LPosition >= 1) // LPosition 0: the cut fails and the line stays whole
            line = line.mid(LPosition - 1);
    }
    if (trace_.level > 0)
        trace_.xout1(QLatin1String("Extracted Frame is > ") + line + QLatin1String("\r\n"));
    dropTraceBufferFront(p + 1);
    if (!line.contains(QLatin1String("L1:"), Qt::CaseInsensitive))
        return;

    const QString octetText = line.mid(7);
    const int count = int((octetText.size() + 1) / 3); // length / 3, rounded
    if (trace_.level == 4)
        trace_.xout(QLatin1String("Frame:") + octetText + QLatin1String("\r\n"));
    parseOctets(octetText, count);
    line_ = std::move(line);
    hooks_.frameParsed(octets_, count);
}

FrameDirection TraceCapture::directionOf(QStringView line)
{
    const QStringView mark = line.mid(3, 4); // after "L1:"
    if (mark == QLatin1String(" -> "))
        return FrameDirection::UserToNetwork;
    if (mark == QLatin1String(" <- "))
        return FrameDirection::NetworkToUser;
    return FrameDirection::Unknown;
}

bool TraceCapture::octetsIntact(QStringView line, int count)
{
    const auto isHex = [](QChar c) { return c.unicode() < 128 && std::isxdigit(c.unicode()); };
    QStringView text = line.mid(7);
    while (text.endsWith(u' '))
        text.chop(1);
    if (count < 1 || text.size() != 3 * qsizetype(count) - 1)
        return false;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (isHex(text[i]) != (i % 3 != 2)) // two digits, then a separator that is none
            return false;
    return true;
}

void TraceCapture::parseOctets(const QString& octetText, int count)
{
    octets_.fill(0);
    for (int i = 1; i <= count && i <= kMaxOctets; ++i)
        octets_[i] = quint8(hexPair(QStringView(octetText).mid(3 * i - 3, 2)));
}
