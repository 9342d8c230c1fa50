#pragma once
// The phone book of a running corvane-monitor whose program folder is not
// the window's (the system daemon, a service at --service URL), through its
// API (docs/web.md, "Phone book"). Each change is one request, kept by the
// service as it is made. Entries are named by keys made of their content, so
// an entry changed elsewhere since it was read answers as stale. Pictures are
// fetched into a folder of this object's own when first shown. The service's
// push channel says when the book was changed elsewhere.
#include "device/push_channel.h"
#include "device/service_client.h"
#include "phonebook/book_source.h"

#include <QHash>
#include <QTemporaryDir>
#include <memory>

class ServiceBook : public BookSource {
public:
    explicit ServiceBook(const serviceaddress::Address& service);

    QList<BookEntry> read(Outcome& outcome) override;
    bool keepsEachChange() const override { return true; }
    bool save(const QList<BookEntry>&) override { return true; }
    Change add(const BookEntry& entry) override;
    Change replace(const BookEntry& was, const BookEntry& now) override;
    Change remove(const BookEntry& entry) override;
    Change setPicture(const BookEntry& entry, const QString& file) override;
    QString pictureFile(const BookEntry& entry) override;
    QString where() const override { return client_.address().url; }
    QString importFolder() const override { return scratch_.filePath(QStringLiteral("imported")); }
    // On each "book" event, and on each (re)connection: changes may have been missed meanwhile.
    void follow(std::function<void()> changed) override;
    bool waiting() const override { return client_.waiting(); }
    // The picture's address means nothing to the user: only that there is one.
    QString pictureText(const QString& picture) const override;

private:
    // The entry as the window shows it, its key remembered.
    BookEntry shown(const QJsonObject& entry);
    Change answer(const ServiceClient::Reply& reply, int expected);
    QString pathOf(const BookEntry& entry) const;

    ServiceClient client_;
    QHash<QString, QString> keys_;    // an entry's fields as the window shows them -> the service's key
    QHash<QString, QString> fetched_; // a picture's address -> the file it was fetched into
    QTemporaryDir scratch_;
    std::unique_ptr<PushChannel> channel_;
    bool connecting_ = false; // the next message is the first of a new connection (not of the first one:
                              // the book was read just before)
};
