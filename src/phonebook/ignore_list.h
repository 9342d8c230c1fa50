#pragma once
// Callers the user never wants to hear about: ignore.txt in the program folder,
// one number or prefix ("0900*") a line; "#" starts a comment. Numbers are
// compared in their national form (phone_to_name.h), so "+49 900", "0049900"
// and "0900" are the same entry. The monitor still logs these calls; it only
// announces them nowhere.
#include "phonebook/phone_to_name.h"

#include <QString>
#include <QStringList>
#include <optional>

class IgnoreList {
public:
    IgnoreList() = default;
    IgnoreList(QStringView text, const NumberPlan& plan);
    // The file's entries; a missing or unreadable file is an empty list.
    static IgnoreList read(const QString& path, const NumberPlan& plan);
    static QString defaultPath(); // the program folder's ignore.txt

    // Whether a caller's number is on the list; a withheld number never is.
    bool matches(QStringView number) const;
    bool isEmpty() const { return exact_.isEmpty() && prefixes_.isEmpty(); }
    bool operator==(const IgnoreList&) const = default;

    // Adds `number` to the file at `path` unless the list already matches it.
    static bool add(const QString& path, const QString& number, const NumberPlan& plan);

    // The first line of `text` whose entry is no phone number ("hello",
    // "0900 ask Anna"), which reading would leave out; nothing when every
    // entry is read.
    struct Refused {
        int line = 0; // from 1
        QString entry;
    };
    static std::optional<Refused> firstRefused(QStringView text, const NumberPlan& plan);

    // A file's entries as written ("0900*"), in its order, without comments.
    static QStringList entries(QStringView text);
    // `text` holding exactly `entries`, once each: the lines of entries that
    // stay are kept as they are (their comments with them), so are comment and
    // blank lines; the other lines go, and new entries are appended.
    static QString withEntries(QStringView text, const QStringList& entries);

private:
    NumberPlan plan_;
    QStringList exact_, prefixes_; // national forms
};
