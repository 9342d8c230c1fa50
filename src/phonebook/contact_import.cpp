#include "phonebook/contact_import.h"

#include "common/atomic_file.h"
#include "common/regular_file.h"
#include "phonebook/contact_fields.h"
#include "phonebook/number_place.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

namespace contact_import {

QString decodeText(const QByteArray& bytes, const QByteArray& charset)
{
    if (!charset.isEmpty()) {
        QStringDecoder named(charset.constData(), QStringDecoder::Flag::Stateless);
        if (named.isValid()) {
            const QString text = named.decode(bytes);
            if (!named.hasError())
                return text;
        }
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return text;
    }
    QStringDecoder cp1252("windows-1252", QStringDecoder::Flag::Stateless);
    return cp1252.isValid() ? cp1252.decode(bytes) : QString::fromLatin1(bytes);
}

QString bookNumber(const QString& raw)
{
    // The book's own country: "+49 30 ..." is kept as 030..., other countries with their 00.
    static const NumberPlace numbers;
    return numbers.digitsOf(contact_fields::singleLine(raw)).value_or(QStringLiteral("-"));
}

QList<BookEntry> newContactsOnly(const QList<BookEntry>& book, const QList<BookEntry>& imported, int* duplicates)
{
    auto key = [](const BookEntry& e) { return e.name + u'\t' + e.phone1; };
    QSet<QString> seen;
    for (const BookEntry& e : book)
        seen.insert(key(e));
    QList<BookEntry> fresh;
    int skipped = 0;
    for (const BookEntry& e : imported) {
        if (seen.contains(key(e))) {
            ++skipped;
            continue;
        }
        seen.insert(key(e));
        fresh << e;
    }
    if (duplicates)
        *duplicates = skipped;
    return fresh;
}

QByteArray fromUtf16(QByteArray data)
{
    if (!data.startsWith("\xFF\xFE") && !data.startsWith("\xFE\xFF"))
        return data;
    QStringDecoder utf16(QStringDecoder::Utf16);
    return QString(utf16.decode(data)).toUtf8();
}

ContactImport readFile(const QString& path)
{
    ContactImport result;
    if (const QFileInfo info(path); info.isFile() && info.size() > kMaxFileSize) {
        result.error = QCoreApplication::translate("DialogpBook", "The file is larger than %1 MB.")
                           .arg(kMaxFileSize / (1024 * 1024));
        return result;
    }
    regularfile::Contents file = regularfile::read(path, kMaxFileSize);
    if (!file.exists || !file.ok()) {
        result.error = file.exists ? file.problem : QStringLiteral("No such file or directory");
        return result;
    }
    const QByteArray data = fromUtf16(std::move(file.bytes));
    if (data.toUpper().contains("BEGIN:VCARD"))
        return parseVCard(data);
    return parseCsv(data);
}

// The picture's kind by its first bytes; "" for what is no picture we show.
namespace {

QString pictureSuffix(const QByteArray& data)
{
    if (data.startsWith("\xFF\xD8\xFF"))
        return QStringLiteral(".jpg");
    if (data.startsWith("\x89PNG"))
        return QStringLiteral(".png");
    if (data.startsWith("GIF8"))
        return QStringLiteral(".gif");
    if (data.startsWith("BM"))
        return QStringLiteral(".bmp");
    return {};
}

} // namespace

// Named after its content: an unchanged picture is written once, a changed one anew.
QString savePicture(const QString& dir, const QByteArray& data)
{
    const QString suffix = pictureSuffix(data);
    if (suffix.isEmpty())
        return {};
    const QString name = QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex()) + suffix;
    const QString path = QDir(dir).filePath(name);
    if (QFileInfo::exists(path) || (QDir().mkpath(dir) && writeFileAtomically(path, data)))
        return path;
    return {};
}

} // namespace contact_import
