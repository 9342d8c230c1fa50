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
//
// The characters between two "L"s are taken as one run: appending them one
// at a time could only differ where they complete a left-over line end.
#include "monitor/engine/trace_capture.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

namespace {

// Left behind when a decode pass turned a line's end into a real CR LF.
const QLatin1String kBreakJunk("*\r\n  ");
const QLatin1String kLineEnd("\r\n");
const QLatin1String kFrameMark("L1:");
// The octets follow "L1:" and four more characters.
constexpr qsizetype kOctetTextFrom = 7;

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

// The buffer holds Latin-1 characters only, and none beyond ASCII has an
// ASCII letter as its other case: comparing without regard to case is
// comparing ASCII letters folded to lower case.
inline char16_t folded(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c | 0x20) : c;
}

inline bool matchesAt(const char16_t* text, QLatin1String pattern)
{
    for (qsizetype i = 0; i < pattern.size(); ++i)
        if (folded(text[i]) != folded(uchar(pattern[i].toLatin1())))
            return false;
    return true;
}

// The first place in [at, end) whose character with bit 0x20 set is `c` (which
// has it set), or `end`: a superset of the places holding c in either case.
// Eight characters at a time, as most are no candidate.
qsizetype nextCandidate(const char16_t* s, qsizetype at, qsizetype end, char16_t c)
{
    using Lanes = quint16 __attribute__((vector_size(16))); // the compiler's vectors, on any processor
    constexpr qsizetype kWidth = 8;
    const Lanes wanted = {c, c, c, c, c, c, c, c};
    constexpr Lanes kCaseBit = {0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20};
    for (; at + kWidth <= end; at += kWidth) {
        Lanes v;
        std::memcpy(&v, s + at, sizeof v);
        const auto hit = (v | kCaseBit) == wanted;
        quint64 halves[2];
        std::memcpy(halves, &hit, sizeof halves);
        if (halves[0] | halves[1])
            break;
    }
    for (; at < end; ++at)
        if ((s[at] | 0x20) == c)
            return at;
    return end;
}

// Where `pattern` first occurs in `text` at or after `from` (case-insensitive),
// or -1. Candidates are the places of the pattern's first character other
// than a blank; a pattern of blanks only steps past any place that is none.
// (The texts searched are a line or two: a plain loop beats a library search.)
qsizetype findPattern(QStringView text, QLatin1String pattern, qsizetype from)
{
    const char16_t* s = text.utf16();
    const qsizetype m = pattern.size();
    const qsizetype n = text.size();
    qsizetype anchor = 0;
    while (anchor < m && pattern[anchor] == QLatin1Char(' '))
        ++anchor;
    if (anchor == m) {
        for (qsizetype i = from; i + m <= n;) {
            qsizetype k = m; // where the last of the m places that is no blank ends
            while (k > 0 && s[i + k - 1] == u' ')
                --k;
            if (k == 0)
                return i;
            i += k;
        }
        return -1;
    }
    const char16_t c = char16_t(uchar(pattern[anchor].toLatin1()) | 0x20);
    const qsizetype end = n - m + anchor + 1; // the anchor's last place
    for (qsizetype at = nextCandidate(s, from + anchor, end, c); at < end; at = nextCandidate(s, at + 1, end, c))
        if (matchesAt(s + at - anchor, pattern))
            return at - anchor;
    return -1;
}

// Replaces every occurrence of `before` (case-insensitive, left to right, not
// overlapping) in the n characters at `s` by the shorter `after`, in place;
// returns the new length.
qsizetype replaceAll(char16_t* s, qsizetype n, const Replacement& r)
{
    const QStringView text(s, n);
    qsizetype in = findPattern(text, r.before, 0);
    qsizetype out = in;
    while (in >= 0) {
        for (const char c : r.after)
            s[out++] = char16_t(uchar(c));
        in += r.before.size();
        const qsizetype next = findPattern(text, r.before, in);
        const qsizetype end = next < 0 ? n : next;
        std::copy(s + in, s + end, s + out); // moves to the front: out never passes in
        out += end - in;
        in = next;
    }
    return out < 0 ? n : out;
}

// A received character as the buffer keeps it: CR as "*", LF as "$". A table,
// as every character of the line passes through it.
constexpr auto kStored = [] {
    std::array<char16_t, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = c == '\r' ? u'*' : c == '\n' ? u'$' : char16_t(c);
    return table;
}();

inline char16_t stored(char c)
{
    return kStored[uchar(c)];
}

// The line feeds in `text`: most texts hold one or none, which the library's
// search finds faster than a count looks at each character.
int lineFeedsIn(QStringView text)
{
    int n = 0;
    for (qsizetype at = text.indexOf(u'\n'); at >= 0; at = text.indexOf(u'\n', at + 1))
        ++n;
    return n;
}

inline int hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    c = folded(c);
    return c >= u'a' && c <= u'f' ? c - u'a' + 10 : -1;
}

} // namespace

TraceCapture::TraceCapture(TraceOutput& trace, Hooks hooks) : trace_(trace), hooks_(std::move(hooks))
{
}

void TraceCapture::scan(QByteArrayView chars)
{
    const bool endsInL = chars.endsWith('L');
    scanPlain(endsInL ? chars.chopped(1) : chars);
    if (endsInL) {
        startLine();
        appendToTraceBuffer("L");
        removeBreakJunk(true, u'L');
        boundTraceBuffer();
    }
}

// Characters without an "L". One at a time only where a left-over line end
// may become junk; otherwise each stretch up to the buffer's bound at once.
void TraceCapture::scanPlain(QByteArrayView chars)
{
    constexpr qsizetype kBound = kTraceBufferLimit + kTraceBufferLimit / 16;
    while (!chars.isEmpty()) {
        const qsizetype n = junkMayForm() ? 1 : std::clamp<qsizetype>(kBound + 1 - buffer().size(), 1, chars.size());
        appendToTraceBuffer(chars.first(n));
        if (n == 1)
            removeBreakJunk(false, QChar(stored(chars.front())));
        boundTraceBuffer();
        chars = chars.sliced(n);
    }
}

// The junk ends in two blanks after a CR LF, which only a decode pass writes:
// the next two characters can complete it only when one of the buffer's last
// two is that line feed.
bool TraceCapture::junkMayForm() const
{
    return junkLeft_ || (lineBreaks_ > 0 && buffer().right(2).contains(u'\n'));
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
        trace_.xout1(QLatin1String("\r\n->L-Position: "), QString::number(LPosition), QLatin1String("\r\n"));
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
    return lineBreaks_ == 0 ? 0 : lineFeedsIn(part);
}

// Never a line break: CR and LF are kept as "*" and "$".
void TraceCapture::appendToTraceBuffer(QByteArrayView chars)
{
    const qsizetype at = TraceBuffer.size();
    TraceBuffer.resize(at + chars.size());
    char16_t* out = reinterpret_cast<char16_t*>(TraceBuffer.data()) + at;
    for (const char c : chars)
        *out++ = stored(c);
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
void TraceCapture::replaceTraceBufferFrom(qsizetype from, QStringView tail)
{
    const QStringView old = buffer().sliced(from);
    const qsizetype same = std::mismatch(old.begin(), old.end(), tail.begin(), tail.end()).first - old.begin();
    if (same < old.size() || same < tail.size()) {
        history_.changing(from + same);
        lineBreaks_ += lineFeedsIn(tail.sliced(same)) - breaksIn(old.sliced(same));
        TraceBuffer.truncate(from + same);
        TraceBuffer += tail.sliced(same);
    }
    cleanPrefix_ = std::min(cleanPrefix_, from);
    lFree_ = std::min(lFree_, from);
}

char16_t* TraceCapture::copyToScratch(qsizetype from)
{
    const QStringView tail = buffer().sliced(from);
    scratch_.assign(tail.utf16(), size_t(tail.size()));
    return scratch_.data();
}

qsizetype TraceCapture::firstL()
{
    const qsizetype at = buffer().indexOf(u'L', lFree_);
    lFree_ = at < 0 ? buffer().size() : at;
    return at;
}

// The decode pass's replacements. None can reach into the clean prefix more
// than kPassReach before its end, so the buffer before that point stays as it
// is. Returns where the buffer's first CR LF starts, or -1.
qsizetype TraceCapture::replaceLineTexts()
{
    const qsizetype from = std::max<qsizetype>(0, cleanPrefix_ - kPassReach);
    char16_t* tail = copyToScratch(from);
    qsizetype size = qsizetype(scratch_.size());
    for (const Replacement& r : kReplacements)
        size = replaceAll(tail, size, r);
    replaceTraceBufferFrom(from, QStringView(tail, size));
    // The replacements may have formed new texts to replace, reaching back by up to kReach.
    const QStringView buffer = this->buffer();
    const qsizetype searchFrom = std::max<qsizetype>(0, from - kReach);
    const qsizetype lineEnd = findPattern(buffer, kLineEnd, std::max<qsizetype>(0, searchFrom - 1));
    if (lineEnd >= 0) {
        // The pass drops the buffer up to this line end, and the clean prefix with it.
        cleanPrefix_ = std::min(cleanPrefix_, searchFrom);
        return lineEnd;
    }
    qsizetype clean = buffer.size();
    for (const Replacement& r : kReplacements) {
        const qsizetype at = findPattern(buffer.first(clean), r.before, searchFrom);
        if (at >= 0)
            clean = at;
    }
    cleanPrefix_ = clean;
    return -1;
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
            char16_t* tail = copyToScratch(at);
            const qsizetype size = replaceAll(tail, qsizetype(scratch_.size()), {kBreakJunk, QLatin1String("")});
            replaceTraceBufferFrom(at, QStringView(tail, size));
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

// Blanks are passed over; reading stops at the first character that is no hex digit.
int TraceCapture::hexPair(QStringView two)
{
    int value = 0;
    for (const QChar ch : two) {
        if (ch == u' ')
            continue;
        const int d = hexDigit(ch.unicode());
        if (d < 0)
            break;
        value = value * 16 + d;
    }
    return value;
}

// The line is read where it stands in the buffer, before it is dropped.
void TraceCapture::decodePass()
{
    hooks_.passStarted();

    const qsizetype p = replaceLineTexts() + 1; // the first CR LF, 1-based; 0 = none
    if (buffer().size() < 2)
        return;
    QStringView line;
    if (p > 0) {
        line = buffer().first(p - 1);
        if (LPosition >= 1) // LPosition 0: the cut fails and the line stays whole
            line = line.mid(LPosition - 1);
    }
    if (trace_.on())
        trace_.xout1(QLatin1String("Extracted Frame is > "), line.toString(), QLatin1String("\r\n"));
    const bool frame = findPattern(line, kFrameMark, 0) >= 0;
    int count = 0;
    QString frameTrace;
    if (frame) {
        const QStringView octetText = line.mid(kOctetTextFrom);
        count = int((octetText.size() + 1) / 3); // length / 3, rounded
        if (trace_.level == 4)
            frameTrace = QLatin1String("Frame:") + octetText.toString() + QLatin1String("\r\n");
        parseOctets(octetText, count);
        line_.resize(0); // keeps its room
        line_.append(line);
    }
    dropTraceBufferFront(p + 1);
    if (!frame)
        return;
    if (trace_.level == 4)
        trace_.xout(frameTrace);
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
    QStringView text = line.mid(kOctetTextFrom);
    while (text.endsWith(u' '))
        text.chop(1);
    if (count < 1 || text.size() != 3 * qsizetype(count) - 1)
        return false;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (isHex(text[i]) != (i % 3 != 2)) // two digits, then a separator that is none
            return false;
    return true;
}

// Octet i is the pair of characters at 3i - 3.
void TraceCapture::parseOctets(QStringView octetText, int count)
{
    octets_.fill(0);
    for (int i = 1; i <= count && i <= kMaxOctets; ++i)
        octets_[i] = quint8(hexPair(octetText.sliced(3 * i - 3, 2)));
}
