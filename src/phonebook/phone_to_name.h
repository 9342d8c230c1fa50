#pragma once
// The other forms of a phone number. A caller's number arrives as the network
// sends it, while contacts are typed as people write them ("+49 30 1234567",
// "0049 30 1234567", "030 1234567", "1234567"). Brought to one national form
// with the user's country and area code they compare equal. PhoneToName's own
// rule always runs first; these forms only name the numbers it misses.
#include <QHash>
#include <QString>
#include <QStringView>
#include <memory>

class SettingsStore;

struct NumberPlan {
    QString countryCode = QStringLiteral("49"); // digits only
    QString areaCode;                           // digits only, without the trunk "0"
    bool operator==(const NumberPlan&) const = default;
};

namespace numberforms {

// "CountryCode" and "AreaCode" of the store; a typed "+", "00" or trunk "0"
// and every character that is not a digit are dropped.
NumberPlan planFrom(const SettingsStore& settings);

// The national form: separators dropped; "+CC", "00CC" and "+CC (0)" become
// "0"; a local number (no leading 0) gets "0" + the area code; another
// country's number keeps its "00". "" for a text that is no phone number.
QString national(QStringView number, const NumberPlan& plan);

} // namespace numberforms

// The book's numbers by their national form; the first contact in the book
// wins, as with the own rule.
class NumberForms {
public:
    NumberForms(QStringView bookText, const NumberPlan& plan);
    // The contact with a number of the same national form as `number`.
    bool find(QStringView number, QString& name, QString& picture) const;

private:
    struct Contact {
        QString name, picture;
    };
    NumberPlan plan_;
    QHash<QString, Contact> byForm_;
};

namespace numberforms {

// The fallback after the own rule found no entry in `bookText`: on a match,
// `name` is the contact's and `number` becomes its picture field. `cache`
// keeps the book's forms for the next lookup in the same book and plan.
bool nameFor(const QString& bookText, const NumberPlan& plan, std::shared_ptr<const NumberForms>& cache,
    QString& number, QString& name);

} // namespace numberforms
