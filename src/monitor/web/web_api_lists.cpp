// The changes of the monitor's lists through the web API (docs/web.md): the
// phone book's entries and their pictures, the ignore list, the own numbers'
// names. Each checks everything first and then writes once, through the
// same atomic writers as the window, so an error leaves the files as they were.
#include "common/atomic_file.h"
#include "common/settings_keys.h"
#include "common/user_text.h"
#include "monitor/web/web_api.h"
#include "monitor/web/web_files.h"
#include "monitor/web/web_host.h"
#include "monitor/web/web_json.h"
#include "monitor/web/web_output.h"
#include "monitor/web/web_picture.h"
#include "phonebook/book_file.h"
#include "phonebook/ignore_list.h"

#include <QFile>
#include <QJsonArray>
#include <QRegularExpression>

using webjson::error;
using webjson::json;

namespace {

constexpr qsizetype kMaxName = 64, kMaxNumber = 32;
constexpr qsizetype kMaxIgnored = 1000;
constexpr qsizetype kMaxMsnDigits = 20; // as the settings window takes them
constexpr char kNoPicture[] = "-";      // as the window saves an entry without one
const char* const kNumberFields[] = {"phone1", "phone2", "mobile", "other"};

using Failure = std::optional<HttpResponse>;

HttpResponse badValue(const QString& why)
{
    return error(400, "bad-value", why);
}

Failure notJson(const HttpRequest& r)
{
    if (r.header("content-type").startsWith("application/json"))
        return std::nullopt;
    return error(415, "unsupported-type", QStringLiteral("send the body as application/json"));
}

// Why `text` is no value of `field` at most `max` long ("" when it is one):
// control characters (as every output would clean them) or too long.
QString textProblem(const char* field, const QString& text, qsizetype max)
{
    if (text.size() > max)
        return QStringLiteral("%1 is longer than %2 characters").arg(QLatin1String(field)).arg(max);
    if (usertext::cleaned(text, max) != text)
        return QStringLiteral("%1 has control characters").arg(QLatin1String(field));
    return {};
}

QString numberProblem(const char* field, const QString& number)
{
    static const QRegularExpression allowed(QStringLiteral("^[0-9+*#() ./-]*[0-9][0-9+*#() ./-]*$"));
    if (const QString why = textProblem(field, number, kMaxNumber); !why.isEmpty())
        return why;
    if (!number.isEmpty() && !allowed.match(number).hasMatch())
        return QStringLiteral("%1 takes digits, + * #, spaces, dashes, slashes, dots and brackets")
            .arg(QLatin1String(field));
    return {};
}

// The fields of a body {"name", "phone1", ...}; a field left out is "".
Failure entryFrom(const HttpRequest& r, BookEntry& entry)
{
    if (Failure f = notJson(r))
        return f;
    const std::optional<QJsonObject> body = webjson::jsonBody(r);
    if (!body)
        return error(
            400, "bad-request", QStringLiteral("send {\"name\", \"phone1\", \"phone2\", \"mobile\", \"other\"}"));
    for (int column = 0; column < 5; ++column) {
        const char* field = column == 0 ? "name" : kNumberFields[column - 1];
        const QJsonValue v = body->value(QLatin1String(field));
        if (!v.isUndefined() && !v.isString())
            return error(400, "bad-request", QStringLiteral("%1 is a string").arg(QLatin1String(field)));
        contactField(entry, column) = v.toString().trimmed();
        const QString why = column == 0 ? textProblem(field, entry.name, kMaxName)
                                        : numberProblem(field, contactField(entry, column));
        if (!why.isEmpty())
            return badValue(why);
    }
    if (entry.name.isEmpty())
        return badValue(QStringLiteral("a contact needs a name"));
    if (entry.phone1.isEmpty() && entry.phone2.isEmpty() && entry.mobile.isEmpty() && entry.other.isEmpty())
        return badValue(QStringLiteral("a contact needs a number"));
    return std::nullopt;
}

// book.txt, and where in it the entry with `key` is.
struct Book {
    QList<BookEntry> entries;
    qsizetype at = -1;
};

Failure readBook(const QString& path, const QString& key, Book& book)
{
    bool ok = true;
    book.entries = BookFile::read(path, &ok);
    if (!ok)
        return error(409, "conflict", QStringLiteral("book.txt cannot be read, so it is not written over"));
    if (key.isNull())
        return std::nullopt;
    for (qsizetype i = 0; i < book.entries.size(); ++i)
        if (webjson::entryKey(book.entries[i]) == key.toLatin1()) {
            book.at = i;
            return std::nullopt;
        }
    return error(404, "not-found", QStringLiteral("no phone-book entry has the key %1").arg(key.left(40)));
}

Failure save(const QString& path, const QList<BookEntry>& entries)
{
    if (BookFile::write(path, entries))
        return std::nullopt;
    return error(500, "not-saved", QStringLiteral("book.txt could not be written"));
}

// Deletes a picture the server stored once no entry names it any more.
void dropPicture(const QString& picture, const QList<BookEntry>& entries)
{
    if (!webpicture::isStored(picture))
        return;
    for (const BookEntry& e : entries)
        if (e.picture == picture)
            return;
    QFile::remove(picture);
}

} // namespace

void WebApi::listsChanged()
{
    host_.filesChanged();
    output_.listsChanged();
}

WebApi::Answer WebApi::addEntry(const HttpRequest& r, const Args&)
{
    BookEntry entry;
    entry.picture = QLatin1String(kNoPicture);
    Book book;
    if (Failure f = entryFrom(r, entry); f || (f = readBook(host_.inputs().bookPath, {}, book)))
        return f;
    book.entries.append(entry);
    if (Failure f = save(host_.inputs().bookPath, book.entries))
        return f;
    listsChanged();
    return json(201, webjson::entry(entry));
}

WebApi::Answer WebApi::editEntry(const HttpRequest& r, const Args& args)
{
    BookEntry entry;
    Book book;
    if (Failure f = entryFrom(r, entry); f || (f = readBook(host_.inputs().bookPath, args[0], book)))
        return f;
    entry.picture = book.entries[book.at].picture;
    book.entries[book.at] = entry;
    if (Failure f = save(host_.inputs().bookPath, book.entries))
        return f;
    listsChanged();
    return json(200, webjson::entry(entry));
}

WebApi::Answer WebApi::deleteEntry(const HttpRequest&, const Args& args)
{
    Book book;
    if (Failure f = readBook(host_.inputs().bookPath, args[0], book))
        return f;
    const QString picture = book.entries.takeAt(book.at).picture;
    if (Failure f = save(host_.inputs().bookPath, book.entries))
        return f;
    dropPicture(picture, book.entries);
    listsChanged();
    return webjson::noContent();
}

WebApi::Answer WebApi::entryPicture(const HttpRequest&, const Args& args)
{
    Book book;
    if (Failure f = readBook(host_.inputs().bookPath, args[0], book))
        return f;
    const QString& path = book.entries[book.at].picture;
    if (webjson::hasPicture(path))
        if (std::optional<HttpResponse> picture = webfiles::picture(path))
            return picture;
    return error(404, "not-found", QStringLiteral("this entry has no picture"));
}

WebApi::Answer WebApi::putPicture(const HttpRequest& r, const Args& args)
{
    Book book;
    if (Failure f = readBook(host_.inputs().bookPath, args[0], book))
        return f;
    const QByteArray type = r.header("content-type");
    const QString suffix = webpicture::suffix(r.body);
    if (!(type.startsWith("image/png") || type.startsWith("image/jpeg")) || suffix.isEmpty())
        return error(415, "unsupported-type", QStringLiteral("send a PNG or JPEG picture as image/png or image/jpeg"));
    const QString path = webpicture::store(r.body, suffix);
    if (path.isEmpty())
        return error(500, "not-saved", QStringLiteral("the picture could not be stored"));
    BookEntry& entry = book.entries[book.at];
    const QString old = std::exchange(entry.picture, path);
    if (Failure f = save(host_.inputs().bookPath, book.entries)) {
        QFile::remove(path);
        return f;
    }
    dropPicture(old, book.entries);
    listsChanged();
    return json(200, webjson::entry(book.entries[book.at]));
}

WebApi::Answer WebApi::deletePicture(const HttpRequest&, const Args& args)
{
    Book book;
    if (Failure f = readBook(host_.inputs().bookPath, args[0], book))
        return f;
    BookEntry& entry = book.entries[book.at];
    if (!webjson::hasPicture(entry.picture))
        return error(404, "not-found", QStringLiteral("this entry has no picture"));
    const QString old = std::exchange(entry.picture, QLatin1String(kNoPicture));
    if (Failure f = save(host_.inputs().bookPath, book.entries))
        return f;
    dropPicture(old, book.entries);
    listsChanged();
    return webjson::noContent();
}

WebApi::Answer WebApi::putIgnore(const HttpRequest& r, const Args&)
{
    // As the file takes them: a number in any of its written forms, "*" at the end for a prefix.
    static const QRegularExpression entryForm(QStringLiteral("^\\+?[0-9() ./-]*[0-9][0-9() ./-]*\\*?$"));
    if (Failure f = notJson(r))
        return f;
    const std::optional<QJsonObject> body = webjson::jsonBody(r);
    const QJsonValue list = body ? body->value(u"entries") : QJsonValue();
    if (!list.isArray())
        return error(400, "bad-request", QStringLiteral("send {\"entries\": [\"0900*\", ...]}"));
    if (list.toArray().size() > kMaxIgnored)
        return badValue(QStringLiteral("at most %1 entries").arg(kMaxIgnored));
    QStringList entries;
    for (const QJsonValue& v : list.toArray()) {
        if (!v.isString())
            return error(400, "bad-request", QStringLiteral("each entry is a string"));
        const QString entry = v.toString().trimmed();
        if (entry.size() > kMaxNumber || !entryForm.match(entry).hasMatch())
            return badValue(
                QStringLiteral("%1 is no number or prefix (digits, a + first, a * last)").arg(entry.left(kMaxNumber)));
        entries << entry;
    }
    const QString path = IgnoreList::defaultPath();
    bool readable = true;
    const QString text = usertext::readFile(path, &readable);
    if (!readable)
        return error(409, "conflict", QStringLiteral("ignore.txt cannot be read, so it is not written over"));
    if (!writeFileAtomically(path, usertext::encode(IgnoreList::withEntries(text, entries))))
        return error(500, "not-saved", QStringLiteral("ignore.txt could not be written"));
    listsChanged();
    return ignore(r, {});
}

WebApi::Answer WebApi::putMsnNames(const HttpRequest& r, const Args&)
{
    static const QRegularExpression msnForm(QStringLiteral("^[0-9]{1,%1}$").arg(kMaxMsnDigits));
    if (Failure f = notJson(r))
        return f;
    const std::optional<QJsonObject> body = webjson::jsonBody(r);
    const QJsonValue list = body ? body->value(u"names") : QJsonValue();
    if (!list.isArray())
        return error(
            400, "bad-request", QStringLiteral("send {\"names\": [{\"msn\": \"4711\", \"name\": \"Office\"}]}"));
    if (list.toArray().size() > key::kMsnSlots)
        return badValue(QStringLiteral("at most %1 own numbers").arg(key::kMsnSlots));
    QList<QPair<QString, QString>> names;
    for (const QJsonValue& v : list.toArray()) {
        const QJsonValue msn = v.toObject().value(u"msn"), name = v.toObject().value(u"name");
        if (!msn.isString() || !(name.isString() || name.isUndefined()))
            return error(400, "bad-request", QStringLiteral("each is {\"msn\": \"...\", \"name\": \"...\"}"));
        const QString number = msn.toString().trimmed(), text = name.toString().trimmed();
        if (!msnForm.match(number).hasMatch())
            return badValue(QStringLiteral("an MSN is 1 to %1 digits").arg(kMaxMsnDigits));
        if (const QString why = textProblem("name", text, kMaxName); !why.isEmpty())
            return badValue(why);
        if (std::any_of(names.begin(), names.end(), [&](const auto& n) { return n.first == number; }))
            return badValue(QStringLiteral("%1 is there twice").arg(number));
        names.append({number, text});
    }
    if (!host_.setMsnNames(names))
        return error(500, "not-saved", QStringLiteral("the settings could not be written"));
    output_.listsChanged();
    return msnNames(r, {});
}
