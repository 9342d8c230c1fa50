// vCard files as address books write them: version 2.1 with bare parameters,
// QUOTED-PRINTABLE values and "=" soft line breaks; 3.0 and 4.0 with folded
// lines, TYPE lists and tel: URIs. Anything unexpected is skipped, never fatal.
#include "phonebook/contact_fields.h"
#include "phonebook/contact_import.h"

#include "common/regular_file.h"

#include <QUrl>
#include <array>
#include <optional>

namespace {

struct Property {
    QByteArray name;          // upper case, without a group prefix
    QList<QByteArray> params; // upper case, one entry per ';' part
    QByteArray charset;       // CHARSET=...
    QByteArray rawValue;
};

// The position of the colon that ends the name and parameters (a quoted
// parameter value may hold a colon).
qsizetype valueColon(const QByteArray& line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            return i;
    }
    return -1;
}

bool isQuotedPrintable(const QByteArray& line)
{
    const qsizetype colon = valueColon(line);
    return colon > 0 && line.left(colon).toUpper().contains("QUOTED-PRINTABLE");
}

// Physical lines joined into logical ones: a line starting with a blank or
// TAB continues the previous one; a QUOTED-PRINTABLE value ending in "=" goes
// on in the next line.
QList<QByteArray> logicalLines(const QByteArray& data)
{
    QByteArray text = data;
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    QList<QByteArray> lines;
    bool softBreak = false;
    for (const QByteArray& physical : text.split('\n')) {
        if (softBreak && !lines.isEmpty()) {
            lines.last().chop(1); // the "=" of the soft break
            lines.last() += physical;
        } else if ((physical.startsWith(' ') || physical.startsWith('\t')) && !lines.isEmpty()) {
            lines.last() += physical.mid(1);
        } else {
            lines << physical;
        }
        softBreak = !lines.isEmpty() && lines.last().endsWith('=') && isQuotedPrintable(lines.last());
    }
    return lines;
}

std::optional<Property> parseProperty(const QByteArray& line)
{
    const qsizetype colon = valueColon(line);
    if (colon <= 0)
        return std::nullopt;
    QList<QByteArray> parts = line.left(colon).split(';');
    Property p;
    p.name = parts.takeFirst().trimmed().toUpper();
    if (const qsizetype dot = p.name.lastIndexOf('.'); dot >= 0)
        p.name = p.name.mid(dot + 1); // "item1.TEL"
    for (QByteArray& part : parts) {
        const QByteArray upper = part.trimmed().toUpper();
        if (upper.startsWith("CHARSET="))
            p.charset = part.trimmed().mid(8).replace('"', QByteArray());
        p.params << upper;
    }
    p.rawValue = line.mid(colon + 1);
    return p;
}

bool hasParam(const Property& p, const QByteArray& word)
{
    for (const QByteArray& param : p.params) {
        QByteArray list = param;
        if (const qsizetype eq = list.indexOf('='); eq >= 0)
            list = list.mid(eq + 1);
        list.replace('"', "");
        for (const QByteArray& item : list.split(','))
            if (item.trimmed() == word)
                return true;
    }
    return false;
}

QByteArray decodeQuotedPrintable(const QByteArray& in)
{
    QByteArray out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '=' && i + 2 < in.size()) {
            bool ok = false;
            const int byte = in.mid(i + 1, 2).toInt(&ok, 16);
            if (ok) {
                out += static_cast<char>(byte);
                i += 2;
                continue;
            }
        }
        out += in[i];
    }
    return out;
}

// vCard text escapes: "\n", "\,", "\;", "\\".
QString unescape(const QString& in)
{
    QString out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == u'\\' && i + 1 < in.size()) {
            const QChar next = in[++i];
            out += (next == u'n' || next == u'N') ? QChar(u' ') : next;
        } else {
            out += in[i];
        }
    }
    return out;
}

QString valueText(const Property& p)
{
    QByteArray bytes = p.rawValue;
    if (hasParam(p, "QUOTED-PRINTABLE"))
        bytes = decodeQuotedPrintable(bytes);
    else if (hasParam(p, "B") || hasParam(p, "BASE64"))
        bytes = QByteArray::fromBase64(bytes);
    return contact_import::decodeText(bytes, p.charset);
}

// The parts of a structured value (N, ORG). Parts are split before the
// escapes are undone, since "\;" belongs to a part.
QStringList structuredParts(const QString& value)
{
    QStringList parts;
    QString current;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size()) {
            current += value[i];
            current += value[++i];
        } else if (value[i] == u';') {
            parts << unescape(current).trimmed();
            current.clear();
        } else {
            current += value[i];
        }
    }
    parts << unescape(current).trimmed();
    return parts;
}

// "N" is family;given;additional;prefix;suffix: written as it is spoken.
QString nameFromStructured(const QString& value)
{
    QStringList parts = structuredParts(value);
    while (parts.size() < 5)
        parts << QString();
    QStringList present;
    for (const QString& s : {parts[3], parts[1], parts[2], parts[0], parts[4]})
        if (!s.isEmpty())
            present << s;
    return present.join(u' ');
}

// PHOTO as vCards carry it: base64 with ENCODING=b / BASE64 (2.1, 3.0), a
// data: URI (4.0), or a URI of which only a local file is read; the network
// is never asked. Anything larger than kMaxPhotoSize is dropped unread.
QByteArray photoOf(const Property& p)
{
    constexpr qint64 kMaxBase64 = contact_import::kMaxPhotoSize / 3 * 4 + 4;
    QByteArray value = p.rawValue.trimmed();
    if (hasParam(p, "B") || hasParam(p, "BASE64"))
        return value.size() > kMaxBase64 ? QByteArray() : QByteArray::fromBase64(value);
    if (value.startsWith("data:")) {
        const qsizetype comma = value.indexOf(',');
        if (comma < 0 || !value.left(comma).endsWith(";base64") || value.size() - comma > kMaxBase64)
            return {};
        return QByteArray::fromBase64(value.mid(comma + 1));
    }
    const QUrl url(QString::fromUtf8(value));
    if (!url.isLocalFile())
        return {};
    return regularfile::read(url.toLocalFile(), contact_import::kMaxPhotoSize).bytes;
}

struct Card {
    QString formatted, structured, organisation;
    std::array<QString, 4> numbers; // Phone 1, Phone 2, Mobile, Other
    QByteArray photo;
    int unreadNumbers = 0;

    void addNumber(const Property& p)
    {
        const QString written = unescape(valueText(p));
        const QString number = contact_import::bookNumber(written);
        if (number == u'-') { // no phone number: it takes no slot
            unreadNumbers += !written.trimmed().isEmpty();
            return;
        }
        int slot = 0; // home, voice or no type: Phone 1
        if (hasParam(p, "CELL") || hasParam(p, "MOBILE") || hasParam(p, "IPHONE"))
            slot = 2;
        else if (hasParam(p, "WORK"))
            slot = 1;
        else if (hasParam(p, "FAX") || hasParam(p, "PAGER") || hasParam(p, "OTHER"))
            slot = 3;
        if (!numbers[slot].isEmpty()) {
            slot = -1; // taken: the first free one; a fifth number has no place
            for (int i = 0; i < 4 && slot < 0; ++i)
                if (numbers[i].isEmpty())
                    slot = i;
        }
        if (slot >= 0)
            numbers[slot] = number;
    }

    QString name() const
    {
        for (const QString& n : {formatted, structured, organisation})
            if (!contact_fields::singleLine(n).trimmed().isEmpty())
                return contact_fields::singleLine(n).trimmed();
        return {};
    }

    BookEntry entry() const
    {
        auto orDash = [](const QString& n) { return n.isEmpty() ? QStringLiteral("-") : n; };
        return {name(), orDash(numbers[0]), orDash(numbers[1]), orDash(numbers[2]), orDash(numbers[3]), {}};
    }
};

} // namespace

namespace contact_import {

ContactImport parseVCard(const QByteArray& data)
{
    ContactImport result;
    std::optional<Card> card;
    int depth = 0; // cards nested inside a card (vCard 2.1 AGENT) are skipped
    auto finish = [&] {
        if (!card)
            return;
        if (card->name().isEmpty()) {
            ++result.unusable;
        } else {
            result.contacts << card->entry();
            result.unreadNumbers += card->unreadNumbers;
            result.photos << card->photo;
        }
        card.reset();
    };
    for (const QByteArray& line : logicalLines(data)) {
        const std::optional<Property> p = parseProperty(line);
        if (!p)
            continue;
        const QByteArray value = p->rawValue.trimmed().toUpper();
        if (p->name == "BEGIN" && value == "VCARD") {
            if (depth++ == 0)
                card.emplace();
        } else if (p->name == "END" && value == "VCARD") {
            if (depth > 0 && --depth == 0)
                finish();
        } else if (card && depth == 1) {
            if (p->name == "FN")
                card->formatted = unescape(valueText(*p));
            else if (p->name == "N")
                card->structured = nameFromStructured(valueText(*p));
            else if (p->name == "ORG")
                card->organisation = structuredParts(valueText(*p)).value(0);
            else if (p->name == "TEL")
                card->addNumber(*p);
            else if (p->name == "PHOTO" && card->photo.isEmpty())
                card->photo = photoOf(*p);
        }
    }
    finish(); // a last card without END:VCARD still counts
    return result;
}

} // namespace contact_import
