#include "common/timed_capture.h"

#include <QBuffer>
#include <algorithm>
#include <cstring>

namespace TimedCapture {

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// More digits than this are no time of a capture (and would overflow).
constexpr qsizetype kMaxTimeDigits = 15;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Raw bytes arrive one every 87 microseconds (115200 bit/s, 8N1).
constexpr qint64 kRawByteMicroseconds = 87;

qint64 rawArrivalMs(qint64 index)
{
    return index * kRawByteMicroseconds / 1000;
}

// The bytes of one moment from `pos` of a raw block; `index` counts the
// capture's bytes before it. Both move on past the moment.
CaptureChunk takeRawMoment(QByteArrayView block, qsizetype& pos, qint64& index)
{
    const qint64 ms = rawArrivalMs(index);
    qsizetype n = 1;
    while (pos + n < block.size() && rawArrivalMs(index + n) == ms)
        ++n;
    CaptureChunk chunk{ms, block.sliced(pos, n).toByteArray()};
    pos += n;
    index += n;
    return chunk;
}

// The value of a time already checked to be at most kMaxTimeDigits digits:
// no overflow, and no copy for a general number parser.
qint64 timeValue(QByteArrayView digits)
{
    qint64 v = 0;
    for (char c : digits)
        v = v * 10 + (c - '0');
    return v;
}

// One "<ms>\t<payload>" line (line end stripped); false for a comment, a blank
// or a malformed line. A time going backwards is held at `last`. The payload
// goes into chunk.bytes, whose storage is reused from line to line.
bool parseTimedLine(QByteArrayView line, qint64& last, CaptureChunk& chunk)
{
    if (line.isEmpty() || line.startsWith('#'))
        return false;
    const qsizetype tab = line.indexOf('\t');
    const QByteArrayView time = line.first(std::max<qsizetype>(tab, 0));
    if (tab <= 0 || tab > kMaxTimeDigits || !std::all_of(time.begin(), time.end(), isDigit))
        return false; // the time is plain digits: no sign, blank or NUL the number parser would pass over
    last = std::max(last, timeValue(time));
    chunk.ms = last;
    unescapeInto(line.sliced(tab + 1), chunk.bytes);
    return true;
}

// Appends a chunk, joining it to the last one when they share their moment.
void appendJoined(QList<CaptureChunk>& chunks, CaptureChunk&& chunk)
{
    if (!chunks.isEmpty() && chunks.last().ms == chunk.ms)
        chunks.last().bytes += chunk.bytes;
    else
        chunks.append(std::move(chunk));
}

// Whether a capture starts with the header line (CR LF, LF or the end after it).
bool startsWithHeader(QByteArrayView head)
{
    const QByteArrayView header(kHeader);
    if (!head.startsWith(header))
        return false;
    const QByteArrayView rest = head.sliced(header.size());
    return rest.isEmpty() || rest.startsWith('\n') || rest == "\r" || rest.startsWith("\r\n");
}

} // namespace

// Written through a pointer into room for the whole payload (an escape is never
// shorter than what it stands for): appending piece by piece cost a tenth of a
// replay. The plain stretches between two backslashes are copied at once.
void unescapeInto(QByteArrayView payload, QByteArray& out)
{
    out.resize(payload.size()); // keeps the capacity
    char* to = out.data();
    const char* in = payload.data();
    const char* const end = in + payload.size();
    while (in < end) {
        const auto* slash = static_cast<const char*>(std::memchr(in, '\\', size_t(end - in)));
        const char* plainEnd = slash ? slash : end;
        std::memcpy(to, in, size_t(plainEnd - in));
        to += plainEnd - in;
        in = plainEnd;
        if (in == end)
            break;
        if (in + 1 == end) { // a backslash at the very end
            *to++ = '\\';
            break;
        }
        const char e = in[1];
        in += 2;
        switch (e) {
        case 'r': *to++ = '\r'; break;
        case 'n': *to++ = '\n'; break;
        case 't': *to++ = '\t'; break;
        case '\\': *to++ = '\\'; break;
        case 'x':
            if (end - in >= 2 && hexDigit(in[0]) >= 0 && hexDigit(in[1]) >= 0) {
                *to++ = char(hexDigit(in[0]) * 16 + hexDigit(in[1]));
                in += 2;
                break;
            }
            [[fallthrough]];
        default: // an unknown escape stays as written
            *to++ = '\\';
            *to++ = e;
        }
    }
    out.truncate(to - out.data());
}

QByteArray unescape(QByteArrayView payload)
{
    QByteArray out;
    unescapeInto(payload, out);
    return out;
}

QByteArray escape(QByteArrayView bytes)
{
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(bytes.size() + 8);
    for (char c : bytes) {
        const uchar u = uchar(c);
        switch (c) {
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\\': out += "\\\\"; break;
        default:
            if (u >= 0x20 && u < 0x7F) {
                out += c;
            } else {
                out += "\\x";
                out += kHexDigits[u >> 4];
                out += kHexDigits[u & 0xF];
            }
        }
    }
    return out;
}

QList<CaptureChunk> parse(const QByteArray& content)
{
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    Reader reader;
    reader.start(buffer);
    QList<CaptureChunk> chunks;
    for (CaptureChunk chunk; reader.next(chunk);)
        appendJoined(chunks, std::move(chunk));
    return chunks;
}

bool load(const QString& path, QList<CaptureChunk>& chunks, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot read %1: %2").arg(path, f.errorString());
        return false;
    }
    chunks = parse(f.readAll());
    return true;
}

bool Reader::open(const QString& path, QString* error)
{
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot read %1: %2").arg(path, file_.errorString());
        return false;
    }
    start(file_);
    return true;
}

void Reader::start(QIODevice& device, qint64 blockBytes)
{
    device_ = &device;
    blockBytes_ = std::max<qint64>(blockBytes, 1);
    timed_ = startsWithHeader(device.peek(sizeof kHeader + 1));
    if (timed_)
        device.readLine();
}

bool Reader::next(CaptureChunk& chunk)
{
    if (!device_)
        return false;
    return timed_ ? nextTimed(chunk) : nextRaw(chunk);
}

bool Reader::nextTimed(CaptureChunk& chunk)
{
    QByteArrayView line;
    while (nextLine(line)) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (parseTimedLine(line, last_, chunk))
            return true;
    }
    return false;
}

// The next line without its LF, valid until the next call; read in blocks.
bool Reader::nextLine(QByteArrayView& line)
{
    qsizetype lf = lines_.indexOf('\n', linesPos_);
    while (lf < 0) {
        lines_.remove(0, linesPos_);
        linesPos_ = 0;
        const qsizetype searched = lines_.size();
        const QByteArray more = device_->read(blockBytes_);
        if (more.isEmpty())
            break;
        lines_ += more;
        lf = lines_.indexOf('\n', searched);
    }
    const qsizetype end = lf >= 0 ? lf : lines_.size();
    if (lf < 0 && end == linesPos_)
        return false;
    line = QByteArrayView(lines_).sliced(linesPos_, end - linesPos_);
    linesPos_ = lf >= 0 ? lf + 1 : end;
    return true;
}

bool Reader::nextRaw(CaptureChunk& chunk)
{
    if (rawPos_ >= rawBlock_.size()) {
        rawBlock_ = device_->read(blockBytes_);
        rawPos_ = 0;
    }
    if (rawBlock_.isEmpty())
        return false;
    chunk = takeRawMoment(rawBlock_, rawPos_, rawOffset_);
    return true;
}

Writer::Writer(QIODevice& out, QByteArrayView comment) : out_(out)
{
    QByteArray head = QByteArray(kHeader) + '\n';
    if (!comment.isEmpty()) // on one line, whatever a scenario's file name holds
        head += "# " + comment.toByteArray().replace('\n', ' ').replace('\r', ' ') + '\n';
    out_.write(head);
}

bool Writer::write(qint64 ms, QByteArrayView bytes)
{
    last_ = std::max(last_, ms);
    const QByteArray line = QByteArray::number(last_) + '\t' + escape(bytes) + '\n';
    return out_.write(line) == line.size();
}

} // namespace TimedCapture
