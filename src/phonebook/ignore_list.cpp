#include "phonebook/ignore_list.h"

#include "common/atomic_file.h"
#include "common/program_folder.h"
#include "common/user_text.h"
#include "phonebook/number_place.h"

#include <QSet>

namespace {

// Files larger than this are no ignore list a person wrote.
constexpr qint64 kMaxFileSize = 1024 * 1024;

// A line's number or prefix, "" for a comment or blank line.
QStringView entryOf(QStringView line)
{
    if (const qsizetype hash = line.indexOf(u'#'); hash >= 0)
        line = line.left(hash);
    return line.trimmed();
}

// A number or prefix without its "*".
QStringView withoutStar(QStringView entry)
{
    return entry.endsWith(u'*') ? entry.chopped(1) : entry;
}

// An entry's national form as the lookup reads callers' numbers, and for
// what only the library reads ("tel:+4930123") the form of its digits; ""
// for a text that is no phone number.
QString formOf(QStringView entry, const NumberPlan& plan)
{
    QString form = numberforms::national(entry, plan);
    if (form.isEmpty() && !entry.isEmpty())
        if (const std::optional<QString> digits = NumberPlace(plan).digitsOf(entry))
            form = numberforms::national(*digits, plan);
    return form;
}

} // namespace

IgnoreList::IgnoreList(QStringView text, const NumberPlan& plan) : plan_(plan)
{
    usertext::forEachLine(text, [this](QStringView line) {
        line = entryOf(line);
        const bool prefix = line.endsWith(u'*');
        const QString form = formOf(withoutStar(line), plan_);
        if (!form.isEmpty())
            (prefix ? prefixes_ : exact_) << form;
        return false;
    });
}

IgnoreList IgnoreList::read(const QString& path, const NumberPlan& plan)
{
    return IgnoreList(usertext::readFile(path, nullptr, kMaxFileSize), plan);
}

QString IgnoreList::defaultPath()
{
    return ProgramFolder::filePath(QStringLiteral("ignore.txt"));
}

bool IgnoreList::matches(QStringView number) const
{
    const QString form = numberforms::national(number, plan_);
    if (form.isEmpty())
        return false;
    if (exact_.contains(form))
        return true;
    for (const QString& p : prefixes_)
        if (form.startsWith(p))
            return true;
    return false;
}

bool IgnoreList::add(const QString& path, const QString& number, const NumberPlan& plan)
{
    if (numberforms::national(number, plan).isEmpty())
        return false;
    bool readable = true;
    QString text = usertext::readFile(path, &readable, kMaxFileSize);
    if (!readable)
        return false; // never replace what could not be read
    if (IgnoreList(text, plan).matches(number))
        return true;
    if (!text.isEmpty() && !text.endsWith(u'\n'))
        text += QLatin1String("\n");
    text += number.trimmed() + u'\n';
    return writeFileAtomically(path, usertext::encode(text));
}

std::optional<IgnoreList::Refused> IgnoreList::firstRefused(QStringView text, const NumberPlan& plan)
{
    std::optional<Refused> refused;
    int number = 0;
    usertext::forEachLine(text, [&](QStringView line) {
        ++number;
        const QStringView entry = entryOf(line);
        if (!entry.isEmpty() && formOf(withoutStar(entry), plan).isEmpty())
            refused = Refused{number, entry.toString()};
        return refused.has_value();
    });
    return refused;
}

QStringList IgnoreList::entries(QStringView text)
{
    QStringList list;
    usertext::forEachLine(text, [&list](QStringView line) {
        if (const QStringView entry = entryOf(line); !entry.isEmpty())
            list << entry.toString();
        return false;
    });
    return list;
}

QString IgnoreList::withEntries(QStringView text, const QStringList& entries)
{
    QString out;
    QSet<QString> written;
    usertext::forEachLine(text, [&](QStringView line) {
        const QString entry = entryOf(line).toString();
        if (entry.isEmpty() || (entries.contains(entry) && !written.contains(entry))) {
            out += line;
            out += u'\n';
            if (!entry.isEmpty())
                written.insert(entry);
        }
        return false;
    });
    for (const QString& entry : entries)
        if (!written.contains(entry)) {
            out += entry + u'\n';
            written.insert(entry);
        }
    return out;
}
