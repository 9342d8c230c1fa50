#pragma once
// Where a phone number is from and what kind of number it is, from
// libphonenumber's metadata and its offline geocoder: nothing is asked of a
// service and no number leaves the computer. The user's country and area code
// (the number plan) make a national or local number whole, so "030 1234567"
// and "1234567" in Berlin are both "Berlin".
#include "phonebook/phone_to_name.h"

#include <QHash>
#include <QLocale>
#include <QMutex>
#include <QString>
#include <QStringView>
#include <optional>

enum class NumberKind {
    Unknown, // no number the library knows, or one of a kind not below
    FixedLine,
    Mobile,
    FixedLineOrMobile, // a country whose numbers do not tell (the United States)
    TollFree,
    PremiumRate,
    SharedCost,
    Voip,
    Personal,
};

struct PlaceOfNumber {
    QString place;                         // "Berlin", "Wien", "Deutschland" for a mobile; "" when unknown
    NumberKind kind = NumberKind::Unknown; // the kind of number
    // The number grouped for reading, nationally for one of the user's country
    // ("089 7654321"), else internationally ("+43 1 5123456"); "" when unknown.
    QString grouped = {};
    bool operator==(const PlaceOfNumber&) const = default;
};

class NumberPlace {
public:
    // `language` as "de" or "en" (any the geocoder has; others fall back to English).
    explicit NumberPlace(const NumberPlan& plan = {}, const QString& language = QStringLiteral("en"));

    // The place in the language and the kind (an empty place for a number the
    // library does not know); nothing for a text that is no phone number
    // ("Secret Number", "").
    std::optional<PlaceOfNumber> of(QStringView number) const;

    // The digits the phone book's lookup compares for a number as a person or
    // a file writes it: "030 123 45-6" is 030123456, "+49 (0)89 1234" 0891234,
    // "+43 1 5123456" 004315123456, "tel:+4930123;ext=1" 030123; digits alone
    // stay as they are. Nothing for a text that is no phone number ("hello").
    std::optional<QString> digitsOf(QStringView written) const;

    // The kind as scripts read it: "fixed_line", "mobile", "toll_free",
    // "premium_rate", "shared_cost", "voip", "personal", "unknown" ...
    static QString kindName(NumberKind kind);
    // And back; Unknown for a name that is none of them.
    static NumberKind kindNamed(QStringView name);
    // The language places are named in: the "Language" setting when it names
    // one, else the locale's ("en" for the C locale).
    static QString languageFor(const QString& setting, const QLocale& locale = QLocale());

    bool isFor(const NumberPlan& plan, const QString& language) const { return plan == plan_ && language == language_; }

private:
    NumberPlan plan_;
    QString language_;
    QString region_; // "DE" for the country code 49
};

// The places of the numbers already read, for one plan and language at a time
// (another empties it): a call's events and a search through a long call list
// read each number once. Shared by copies of the monitor's inputs; safe to
// ask from any thread.
class PlaceCache {
public:
    static constexpr int kMaxNumbers = 20000; // then it starts again

    std::optional<PlaceOfNumber> of(QStringView number, const NumberPlan& plan, const QString& language);

private:
    QMutex mutex_;
    std::optional<NumberPlace> place_;
    QHash<QString, std::optional<PlaceOfNumber>> known_;
};
