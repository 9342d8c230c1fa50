#include "tools/replay_capture.h"

#include <QFile>
#include <algorithm>

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

QList<CaptureChunk> parseRaw(const QByteArray& content)
{
    QList<CaptureChunk> chunks;
    for (qsizetype i = 0; i < content.size(); ++i) {
        const qint64 ms = qint64(i) * 87 / 1000;
        if (chunks.isEmpty() || chunks.last().ms != ms)
            chunks.append(CaptureChunk{ms, {}});
        chunks.last().bytes.append(content[i]);
    }
    return chunks;
}

} // namespace

QByteArray unescape(QByteArrayView payload)
{
    QByteArray out;
    out.reserve(payload.size());
    for (qsizetype i = 0; i < payload.size(); ++i) {
        const char c = payload[i];
        if (c != '\\' || i + 1 >= payload.size()) {
            out.append(c);
            continue;
        }
        const char e = payload[++i];
        switch (e) {
        case 'r': out.append('\r'); break;
        case 'n': out.append('\n'); break;
        case 't': out.append('\t'); break;
        case '\\': out.append('\\'); break;
        case 'x':
            if (i + 2 < payload.size() && hexDigit(payload[i + 1]) >= 0 && hexDigit(payload[i + 2]) >= 0) {
                out.append(char(hexDigit(payload[i + 1]) * 16 + hexDigit(payload[i + 2])));
                i += 2;
                break;
            }
            [[fallthrough]];
        default: // an unknown escape stays as written
            out.append('\\');
            out.append(e);
        }
    }
    return out;
}

QByteArray escape(QByteArrayView bytes)
{
    QByteArray out;
    for (char c : bytes) {
        const uchar u = uchar(c);
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\\')
            out += "\\\\";
        else if (u < 0x20 || u > 0x7E)
            out += QByteArray("\\x") + QByteArray::number(u, 16).rightJustified(2, '0').toUpper();
        else
            out.append(c);
    }
    return out;
}

QList<CaptureChunk> parse(const QByteArray& content)
{
    const qsizetype firstEnd = content.indexOf('\n');
    QByteArray first = content.left(firstEnd < 0 ? content.size() : firstEnd);
    if (first.endsWith('\r'))
        first.chop(1);
    if (first != kHeader)
        return parseRaw(content);

    QList<CaptureChunk> chunks;
    qint64 last = 0;
    qsizetype pos = firstEnd < 0 ? content.size() : firstEnd + 1;
    while (pos < content.size()) {
        qsizetype end = content.indexOf('\n', pos);
        if (end < 0)
            end = content.size();
        QByteArrayView line(content.constData() + pos, end - pos);
        pos = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype tab = line.indexOf('\t');
        const QByteArrayView time = line.first(std::max<qsizetype>(tab, 0));
        if (tab <= 0 || tab > kMaxTimeDigits || !std::all_of(time.begin(), time.end(), isDigit))
            continue; // the time is plain digits: no sign, blank or NUL the number parser would pass over
        const qint64 ms = time.toByteArray().toLongLong();
        last = std::max(last, ms);
        QByteArray bytes = unescape(line.sliced(tab + 1));
        if (!chunks.isEmpty() && chunks.last().ms == last)
            chunks.last().bytes += bytes;
        else
            chunks.append(CaptureChunk{last, std::move(bytes)});
    }
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

} // namespace TimedCapture
