#include "phonebook/ignore_list.h"

#include "common/atomic_file.h"
#include "common/program_folder.h"
#include "common/user_text.h"

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

} // namespace

IgnoreList::IgnoreList(QStringView text, const NumberPlan& plan) : plan_(plan)
{
    usertext::forEachLine(text, [this](QStringView line) {
        line = entryOf(line);
        const bool prefix = line.endsWith(u'*');
        if (prefix)
            line.chop(1);
        const QString form = numberforms::national(line, plan_);
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
