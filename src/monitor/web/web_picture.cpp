#include "monitor/web/web_picture.h"

#include "common/atomic_file.h"
#include "common/program_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtEndian>

namespace webpicture {

namespace {

constexpr char kPng[] = "\x89PNG\r\n\x1a\n";
constexpr qsizetype kPngSizeAt = 16; // after the signature and IHDR's length and type
constexpr char kFolder[] = "pictures";

bool readable(quint32 width, quint32 height)
{
    return width > 0 && height > 0 && qint64(width) * height <= kMaxPixels;
}

quint32 be32(const QByteArray& d, qsizetype at)
{
    return qFromBigEndian<quint32>(d.constData() + at);
}

quint16 be16(const QByteArray& d, qsizetype at)
{
    return qFromBigEndian<quint16>(d.constData() + at);
}

bool pngSize(const QByteArray& d)
{
    return d.startsWith(QByteArray::fromRawData(kPng, 8)) && d.size() >= kPngSizeAt + 8 && d.mid(12, 4) == "IHDR"
           && readable(be32(d, kPngSizeAt), be32(d, kPngSizeAt + 4));
}

// A start-of-frame marker, which holds the size: C0 to CF but for the
// Huffman (C4), arithmetic coding (CC) and reserved (C8) ones.
bool isFrame(uchar marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// The segments up to the first frame header; the scan (DA) or the end
// (D9) before one means there is no size to read.
bool jpegSize(const QByteArray& d)
{
    if (!d.startsWith("\xFF\xD8\xFF"))
        return false;
    qsizetype at = 2;
    while (at + 4 <= d.size()) {
        if (uchar(d[at]) != 0xFF)
            return false;
        const uchar marker = uchar(d[at + 1]);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) { // no length follows
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA)
            return false;
        const quint16 length = be16(d, at + 2);
        if (length < 2)
            return false;
        if (isFrame(marker))
            return at + 9 <= d.size() && readable(be16(d, at + 7), be16(d, at + 5));
        at += 2 + length;
    }
    return false;
}

QString folder()
{
    return ProgramFolder::filePath(QLatin1String(kFolder));
}

} // namespace

QString suffix(const QByteArray& data)
{
    return pngSize(data) ? QStringLiteral(".png") : jpegSize(data) ? QStringLiteral(".jpg") : QString();
}

QString store(const QByteArray& data, const QString& suffix)
{
    const QString dir = folder();
    if (!QDir().mkpath(dir))
        return {};
    for (;;) { // a name taken already is drawn again
        const quint64 n = QRandomGenerator::system()->generate64();
        const QString path = QDir(dir).filePath(QStringLiteral("web-%1%2").arg(n, 16, 16, QChar(u'0')).arg(suffix));
        if (!QFileInfo::exists(path))
            return writeFileAtomically(path, data) ? path : QString();
    }
}

bool isStored(const QString& path)
{
    static const QRegularExpression name(QStringLiteral("^web-[0-9a-f]{16}\\.(png|jpg)$"));
    const QFileInfo file(path);
    return name.match(file.fileName()).hasMatch() && file.absolutePath() == QFileInfo(folder()).absoluteFilePath();
}

} // namespace webpicture
