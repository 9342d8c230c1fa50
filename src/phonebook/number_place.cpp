#include "phonebook/number_place.h"

#include <phonenumbers/geocoding/phonenumber_offline_geocoder.h>
#include <phonenumbers/phonenumberutil.h>

#include <algorithm>

using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberOfflineGeocoder;
using i18n::phonenumbers::PhoneNumberUtil;

namespace {

constexpr struct {
    PhoneNumberUtil::PhoneNumberType type;
    NumberKind kind;
    const char* name;
} kKinds[] = {
    {PhoneNumberUtil::FIXED_LINE, NumberKind::FixedLine, "fixed_line"},
    {PhoneNumberUtil::MOBILE, NumberKind::Mobile, "mobile"},
    {PhoneNumberUtil::FIXED_LINE_OR_MOBILE, NumberKind::FixedLineOrMobile, "fixed_line_or_mobile"},
    {PhoneNumberUtil::TOLL_FREE, NumberKind::TollFree, "toll_free"},
    {PhoneNumberUtil::PREMIUM_RATE, NumberKind::PremiumRate, "premium_rate"},
    {PhoneNumberUtil::SHARED_COST, NumberKind::SharedCost, "shared_cost"},
    {PhoneNumberUtil::VOIP, NumberKind::Voip, "voip"},
    {PhoneNumberUtil::PERSONAL_NUMBER, NumberKind::Personal, "personal"},
    {PhoneNumberUtil::UNKNOWN, NumberKind::Unknown, "unknown"},
};

// The geocoder's tables are read-only once loaded and it guards them itself.
const PhoneNumberOfflineGeocoder& geocoder()
{
    static const PhoneNumberOfflineGeocoder instance;
    return instance;
}

NumberKind kindOf(PhoneNumberUtil::PhoneNumberType type)
{
    for (const auto& k : kKinds)
        if (k.type == type)
            return k.kind;
    return NumberKind::Unknown; // pagers, UAN and voice mail are too rare to tell apart
}

} // namespace

NumberPlace::NumberPlace(const NumberPlan& plan, const QString& language) : plan_(plan), language_(language)
{
    std::string region;
    PhoneNumberUtil::GetInstance()->GetRegionCodeForCountryCode(plan.countryCode.toInt(), &region);
    region_ = QString::fromStdString(region);
}

std::optional<PlaceOfNumber> NumberPlace::of(QStringView number) const
{
    QString form = numberforms::national(number, plan_);
    if (form.isEmpty())
        return std::nullopt;
    if (form.startsWith(QLatin1String("00")))
        form.replace(0, 2, u'+'); // another country's number, whatever the user's own prefix is
    const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
    PhoneNumber parsed;
    if (util.Parse(form.toStdString(), region_.toStdString(), &parsed) != PhoneNumberUtil::NO_PARSING_ERROR)
        return std::nullopt;
    const icu::Locale locale(language_.toLatin1().constData());
    std::string grouped;
    util.Format(parsed,
        QString::number(parsed.country_code()) == plan_.countryCode ? PhoneNumberUtil::NATIONAL
                                                                    : PhoneNumberUtil::INTERNATIONAL,
        &grouped);
    return PlaceOfNumber{QString::fromStdString(geocoder().GetDescriptionForNumber(parsed, locale)),
        kindOf(util.GetNumberType(parsed)), QString::fromStdString(grouped)};
}

std::optional<QString> NumberPlace::digitsOf(QStringView written) const
{
    QStringView text = written.trimmed();
    if (text.startsWith(u"tel:", Qt::CaseInsensitive))
        text = text.mid(4);
    if (const qsizetype parameters = text.indexOf(u';'); parameters >= 0) // ";ext=..." of a tel: URI
        text.truncate(parameters);
    static const QString kWritten = QStringLiteral("0123456789 -./()+\u00a0");
    if (text.isEmpty() || !std::all_of(text.begin(), text.end(), [](QChar c) { return kWritten.contains(c); }))
        return std::nullopt;
    QString digits;
    for (QChar c : text)
        if (c.isDigit())
            digits += c;
    if (digits.size() == text.size())
        return digits;
    const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
    PhoneNumber parsed;
    if (digits.isEmpty()
        || util.Parse(text.toString().toStdString(), region_.toStdString(), &parsed)
               != PhoneNumberUtil::NO_PARSING_ERROR)
        return std::nullopt;
    if (!text.startsWith(u'+') && !text.startsWith(u"00"))
        return digits; // national or local: the digits as written
    std::string national;
    if (QString::number(parsed.country_code()) != plan_.countryCode) {
        util.GetNationalSignificantNumber(parsed, &national);
        return QStringLiteral("00%1").arg(parsed.country_code()) + QString::fromStdString(national);
    }
    util.Format(parsed, PhoneNumberUtil::NATIONAL, &national); // with the trunk prefix: "089 1234"
    QString out;
    for (char c : national)
        if (c >= '0' && c <= '9')
            out += QLatin1Char(c);
    return out;
}

QString NumberPlace::kindName(NumberKind kind)
{
    for (const auto& k : kKinds)
        if (k.kind == kind)
            return QLatin1String(k.name);
    return QStringLiteral("unknown");
}

NumberKind NumberPlace::kindNamed(QStringView name)
{
    for (const auto& k : kKinds)
        if (name == QLatin1String(k.name))
            return k.kind;
    return NumberKind::Unknown;
}

QString NumberPlace::languageFor(const QString& setting, const QLocale& locale)
{
    if (!setting.isEmpty())
        return setting;
    return locale.language() == QLocale::C ? QStringLiteral("en") : locale.name().section(u'_', 0, 0);
}

std::optional<PlaceOfNumber> PlaceCache::of(QStringView number, const NumberPlan& plan, const QString& language)
{
    const QMutexLocker lock(&mutex_);
    if (!place_ || !place_->isFor(plan, language) || known_.size() >= kMaxNumbers) {
        place_.emplace(plan, language);
        known_.clear();
    }
    const QString key = number.toString();
    if (const auto it = known_.constFind(key); it != known_.cend())
        return *it;
    return *known_.insert(key, place_->of(number));
}
