#include "common/user_text.h"

#include "common/regular_file.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>

namespace {

// Code page 1252 differs from Latin-1 only in 0x80..0x9F; its five unused
// octets keep their Latin-1 (control) values so no byte is ever lost.
constexpr std::array<char16_t, 32> kCp1252High = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromCp1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b));
    }
    return text;
}

bool isControl(char16_t c)
{
    const bool bidi = c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E)
                      || (c >= 0x2066 && c <= 0x2069);
    return c < 0x20 || (c >= 0x7F && c < 0xA0) || bidi;
}

} // namespace

namespace usertext {

QString cleaned(QStringView text, qsizetype max)
{
    qsizetype n = std::min(text.size(), max);
    if (n > 0 && n < text.size() && text[n - 1].isHighSurrogate())
        --n;
    QString out = text.left(n).toString();
    for (QChar& c : out)
        if (isControl(c.unicode()))
            c = u' ';
    return out;
}

QString decode(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? fromCp1252(bytes) : text;
}

QByteArray encode(const QString& text)
{
    return text.toUtf8();
}

QString readFile(const QString& path, bool* ok, qint64 maxBytes)
{
    const regularfile::Contents file = regularfile::read(path, maxBytes);
    if (ok)
        *ok = file.ok();
    return decode(file.bytes);
}

} // namespace usertext
