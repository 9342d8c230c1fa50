#include "phonebook/phone_to_name.h"

#include "common/settings_store.h"

namespace {

// What people put between the digits of a number.
bool isSeparator(QChar c)
{
    return c == u' ' || c == u'-' || c == u'/' || c == u'.' || c == u'(' || c == u')' || c == u'\u00a0';
}

QString digitsOnly(const QString& text)
{
    QString out;
    for (QChar c : text)
        if (c.isDigit())
            out += c;
    return out;
}

QString withoutLeadingZeros(QString digits)
{
    qsizetype i = 0;
    while (i < digits.size() && digits[i] == u'0')
        ++i;
    return digits.mid(i);
}

// Calls fn(field) for the four number fields of every line of book text.
template <typename Fn>
void forEachContact(QStringView text, Fn fn)
{
    for (QStringView line : text.tokenize(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        // A lone CR ends a line too.
        for (QStringView part : line.tokenize(u'\r')) {
            QStringView fields[6];
            int n = 0;
            for (QStringView f : part.tokenize(u'\t')) {
                if (n == 6)
                    break;
                fields[n++] = f;
            }
            fn(fields);
        }
    }
}

} // namespace

namespace numberforms {

NumberPlan planFrom(const SettingsStore& settings)
{
    return {withoutLeadingZeros(digitsOnly(settings.read(QStringLiteral("CountryCode")))),
        withoutLeadingZeros(digitsOnly(settings.read(QStringLiteral("AreaCode"))))};
}

QString national(QStringView number, const NumberPlan& plan)
{
    QString digits;
    digits.reserve(number.size() + 1);
    bool plus = false;
    const QStringView text = number.trimmed();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            digits += c;
        } else if (c == u'(' && text.mid(i, 3) == u"(0)") {
            i += 2; // the trunk prefix in brackets: "+49 (0)30 ..."
        } else if (c == u'+' && digits.isEmpty() && !plus) {
            plus = true;
        } else if (!isSeparator(c)) {
            return {}; // "Secret Number", "Unknown", a name
        }
    }
    if (digits.isEmpty())
        return {};
    if (plus)
        digits.prepend(QLatin1String("00"));
    if (!plan.countryCode.isEmpty() && digits.startsWith(QLatin1String("00"))
        && QStringView(digits).mid(2).startsWith(plan.countryCode)) {
        // "+49 030 ..." is a common way of writing "+49 30 ...".
        QString rest = digits.mid(2 + plan.countryCode.size());
        return rest.startsWith(u'0') ? rest : u'0' + rest;
    }
    if (digits.startsWith(u'0') || plan.areaCode.isEmpty())
        return digits;
    return u'0' + plan.areaCode + digits;
}

bool nameFor(const QString& bookText, const NumberPlan& plan, std::shared_ptr<const NumberForms>& cache,
    QString& number, QString& name)
{
    if (bookText.isEmpty())
        return false;
    if (!cache)
        cache = std::make_shared<NumberForms>(bookText, plan);
    QString picture;
    if (!cache->find(number, name, picture))
        return false;
    number = picture;
    return true;
}

} // namespace numberforms

NumberForms::NumberForms(QStringView bookText, const NumberPlan& plan) : plan_(plan)
{
    forEachContact(bookText, [this](const QStringView(&f)[6]) {
        for (int i = 1; i <= 4; ++i) {
            const QString form = numberforms::national(f[i], plan_);
            if (!form.isEmpty() && !byForm_.contains(form))
                byForm_.insert(form, {f[0].toString(), f[5].toString()});
        }
    });
}

bool NumberForms::find(QStringView number, QString& name, QString& picture) const
{
    const QString form = numberforms::national(number, plan_);
    const auto it = form.isEmpty() ? byForm_.end() : byForm_.find(form);
    if (it == byForm_.end())
        return false;
    name = it->name;
    picture = it->picture;
    return true;
}
