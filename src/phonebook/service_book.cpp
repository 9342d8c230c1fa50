#include "phonebook/service_book.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QJsonArray>
#include <QUrl>

namespace {

constexpr int kOk = 200, kCreated = 201, kDone = 204, kNotFound = 404;
constexpr char kNone[] = "-"; // a field without a number or picture, as the window shows it

QString fieldsOf(const BookEntry& e)
{
    return QStringList{e.name, e.phone1, e.phone2, e.mobile, e.other, e.picture}.join(u'\t');
}

// The API takes no "-" for a missing number.
QJsonObject body(const BookEntry& e)
{
    QJsonObject o{{"name", e.name}};
    const std::pair<const char*, const QString*> numbers[] = {
        {"phone1", &e.phone1}, {"phone2", &e.phone2}, {"mobile", &e.mobile}, {"other", &e.other}};
    for (const auto& [field, number] : numbers)
        o.insert(QLatin1String(field), *number == QLatin1String(kNone) ? QString() : *number);
    return o;
}

// A picture as the service takes it: PNG or JPEG as it is, another format the
// window reads (BMP, GIF) turned into PNG. Empty when the file holds none.
std::pair<QByteArray, QByteArray> pictureData(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = f.readAll();
    QBuffer buffer;
    buffer.setData(data);
    const QByteArray format = QImageReader(&buffer).format();
    if (format == "png" || format == "jpeg")
        return {data, "image/" + format};
    const QImage image = QImage::fromData(data);
    QByteArray png;
    QBuffer out(&png);
    if (image.isNull() || !out.open(QIODevice::WriteOnly) || !image.save(&out, "PNG"))
        return {};
    return {png, "image/png"};
}

} // namespace

ServiceBook::ServiceBook(const serviceaddress::Address& service) : client_(service)
{
    client_.holdInputWhileWaiting(); // a second click on Add New must not add the contact twice
}

BookEntry ServiceBook::shown(const QJsonObject& o)
{
    BookEntry e;
    for (int column = 0; column < 5; ++column) {
        static const char* const kFields[] = {"name", "phone1", "phone2", "mobile", "other"};
        const QString text = o.value(QLatin1String(kFields[column])).toString();
        contactField(e, column) = column > 0 && text.isEmpty() ? QLatin1String(kNone) : text;
    }
    const QString picture = o.value(u"picture").toString();
    e.picture = picture.isEmpty() ? QString::fromLatin1(kNone) : QUrl(where()).resolved(QUrl(picture)).toString();
    keys_.insert(fieldsOf(e), o.value(u"key").toString());
    return e;
}

QString ServiceBook::pathOf(const BookEntry& entry) const
{
    return QStringLiteral("api/v1/book/%1").arg(keys_.value(fieldsOf(entry)));
}

BookSource::Change ServiceBook::answer(const ServiceClient::Reply& reply, int expected)
{
    if (reply.status == expected)
        return {Outcome::Done, reply.body.isEmpty() ? BookEntry{} : shown(reply.body), {}};
    if (reply.status == 0 || reply.gone())
        return {Outcome::Gone, {}, reply.message()};
    return {reply.status == kNotFound ? Outcome::Stale : Outcome::Refused, {}, reply.explained()};
}

QList<BookEntry> ServiceBook::read(Outcome& outcome)
{
    const ServiceClient::Reply reply = client_.request(
        "GET", QStringLiteral("api/v1/book"), {}, ServiceClient::kStateTimeoutMs);
    outcome = answer(reply, kOk).outcome;
    if (outcome == Outcome::Stale)
        outcome = Outcome::Refused; // a service without the book's requests: nothing to edit there
    if (outcome != Outcome::Done)
        return {};
    keys_.clear();
    QList<BookEntry> entries;
    for (const QJsonValue& v : reply.body.value(u"entries").toArray())
        entries << shown(v.toObject());
    return entries;
}

// An imported photo follows its entry; the entry stays when the service does
// not take the photo.
BookSource::Change ServiceBook::add(const BookEntry& entry)
{
    Change added = answer(
        client_.request("POST", QStringLiteral("api/v1/book"), body(entry), ServiceClient::kStateTimeoutMs), kCreated);
    if (added.outcome != Outcome::Done || entry.picture.size() < 2)
        return added;
    Change pictured = setPicture(added.entry, entry.picture);
    return pictured.outcome == Outcome::Done ? pictured : added;
}

BookSource::Change ServiceBook::replace(const BookEntry& was, const BookEntry& now)
{
    return answer(client_.request("PUT", pathOf(was), body(now), ServiceClient::kStateTimeoutMs), kOk);
}

BookSource::Change ServiceBook::remove(const BookEntry& entry)
{
    Change c = answer(client_.request("DELETE", pathOf(entry), {}, ServiceClient::kStateTimeoutMs), kDone);
    c.entry = entry;
    return c;
}

BookSource::Change ServiceBook::setPicture(const BookEntry& entry, const QString& file)
{
    const auto [data, type] = pictureData(file);
    if (data.isEmpty())
        return {Outcome::Refused, {},
            QCoreApplication::translate("DialogpBook", "%1 holds no picture this window reads.").arg(file)};
    return answer(
        client_.send("PUT", pathOf(entry) + QStringLiteral("/picture"), data, type, ServiceClient::kStateTimeoutMs),
        kOk);
}

QString ServiceBook::pictureFile(const BookEntry& entry)
{
    if (entry.picture.size() < 2)
        return {};
    if (const auto it = fetched_.constFind(entry.picture); it != fetched_.constEnd())
        return *it;
    const ServiceClient::Reply reply = client_.send("GET", entry.picture, {}, {}, ServiceClient::kStateTimeoutMs);
    if (reply.status != kOk)
        return {}; // shown as a picture that does not load
    const QString file = scratch_.filePath(QStringLiteral("picture-%1").arg(fetched_.size()));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(reply.data) != reply.data.size())
        return {};
    fetched_.insert(entry.picture, file);
    return file;
}

void ServiceBook::follow(std::function<void()> changed)
{
    channel_ = std::make_unique<PushChannel>(client_.address());
    QObject::connect(
        channel_.get(), &PushChannel::received, channel_.get(), [this, changed](const pushchannel::Message& m) {
            if (std::exchange(connecting_, false) || m.event == "book")
                changed();
        });
    QObject::connect(channel_.get(), &PushChannel::ended, channel_.get(), [this] { connecting_ = true; });
    channel_->start();
}

QString ServiceBook::pictureText(const QString& picture) const
{
    return picture.size() < 2 ? picture : QCoreApplication::translate("DialogpBook", "(photo)");
}
