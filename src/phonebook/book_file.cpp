#include "phonebook/book_file.h"

#include "common/atomic_file.h"
#include "common/program_folder.h"
#include "common/regional.h"
#include "common/user_text.h"
#include "phonebook/book_lookup.h"
#include "phonebook/phone_to_name.h"

#include <algorithm>
#include <array>

namespace {

// Splits at TABs into at most six fields; fields after the sixth are ignored.
std::array<QStringView, 6> splitFields(QStringView line)
{
    std::array<QStringView, 6> f{};
    int i = 0;
    qsizetype start = 0;
    while (i < 6) {
        const qsizetype tab = line.indexOf(u'\t', start);
        if (tab < 0) {
            f[i] = line.mid(start);
            break;
        }
        f[i++] = line.mid(start, tab - start);
        start = tab + 1;
    }
    return f;
}

} // namespace

namespace BookFile {

QList<BookEntry> read(const QString& path, bool* ok)
{
    QList<BookEntry> entries;
    usertext::forEachLine(usertext::readFile(path, ok), [&](QStringView line) {
        const auto f = splitFields(line);
        entries.append(BookEntry{
            f[0].toString(), f[1].toString(), f[2].toString(), f[3].toString(), f[4].toString(), f[5].toString()});
        return false;
    });
    return entries;
}

bool write(const QString& path, const QList<BookEntry>& entries)
{
    QString text;
    for (const BookEntry& e : entries) {
        const QStringList fields{e.name, e.phone1, e.phone2, e.mobile, e.other, e.picture};
        text += fields.join(u'\t');
        text += QLatin1String("\r\n");
    }
    return writeFileAtomically(path, usertext::encode(text));
}

QString defaultPath()
{
    return ProgramFolder::filePath(QStringLiteral("book.txt"));
}

} // namespace BookFile

BookLookup::BookLookup(const QString& path, const NumberPlan& plan, std::shared_ptr<const BookLookup> then)
    : text_(usertext::readFile(path)), plan_(plan), then_(std::move(then))
{
}

BookLookup BookLookup::fromText(QString text, const NumberPlan& plan)
{
    BookLookup b;
    b.text_ = std::move(text);
    b.plan_ = plan;
    return b;
}

// Plain digits, too few to overflow a double, read as a number in every
// locale Qt knows (its own digits or not): a caller's number needs no number
// parser, which cost more than the rest of a lookup in an empty book.
bool BookLookup::isNumeric(const QString& text)
{
    constexpr qsizetype kSurelyFiniteDigits = 300;
    const bool plainDigits = !text.isEmpty() && text.size() <= kSurelyFiniteDigits
                             && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    return plainDigits || regional::toNumber(text).has_value();
}

bool BookLookup::matches(QStringView stored, QStringView number)
{
    return !stored.isEmpty() && double(stored.size()) > 0.7 * double(number.size()) && number.contains(stored);
}

QString BookLookup::nameFor(QString& number) const
{
    return usertext::cleaned(findName(number), usertext::kMaxNameLength); // the one way a name enters
}

QString BookLookup::findName(QString& number) const
{
    QString name;
    bool found = false;
    if (!text_.isEmpty() && isNumeric(number)) { // an empty book names nothing
        const QString wanted = number;
        found = usertext::forEachLine(text_, [&](QStringView line) {
            if (line.size() <= 4)
                return false;
            const auto f = splitFields(line);
            for (int i = 1; i <= 4; ++i) {
                if (matches(f[i], wanted)) {
                    number = f[5].toString();
                    name = f[0].toString();
                    return true;
                }
            }
            return false;
        });
    }
    // The own rule missed: the number's other forms may still name it.
    if (!found && numberforms::nameFor(text_, plan_, forms_, number, name))
        return name;
    if (!found && then_)
        return then_->nameFor(number);
    if (!found) {
        number = QStringLiteral("-");
        return {};
    }
    return name;
}

QString PhoneToName(
    QString& number, const QString& bookPath, const NumberPlan& plan, std::shared_ptr<const BookLookup> then)
{
    if (!BookLookup::isNumeric(number)) { // no file access for an empty or secret number
        number = QStringLiteral("-");
        return {};
    }
    return BookLookup(bookPath, plan, std::move(then)).nameFor(number);
}

const QString& contactField(const BookEntry& e, int column)
{
    switch (column) {
    case 0: return e.name;
    case 1: return e.phone1;
    case 2: return e.phone2;
    case 3: return e.mobile;
    case 4: return e.other;
    default: return e.picture;
    }
}

QString& contactField(BookEntry& e, int column)
{
    return const_cast<QString&>(contactField(static_cast<const BookEntry&>(e), column));
}
