#include "phonebook/book_file.h"

#include "common/atomic_file.h"
#include "common/program_folder.h"
#include "common/regional.h"
#include "common/user_text.h"
#include "phonebook/book_lookup.h"
#include "phonebook/phone_to_name.h"

#include <QFile>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <array>
#include <sys/stat.h>

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

BookLookup::BookLookup(
    const QString& path, const NumberPlan& plan, std::shared_ptr<const BookLookup> then, BookCache* cache)
{
    if (cache) {
        *this = cache->book(path, plan);
    } else {
        text_ = usertext::readFile(path);
        plan_ = plan;
        index();
    }
    then_ = std::move(then);
}

BookCache::Identity BookCache::identify(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return {path};
    return {path, true, qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
        qint64(st.st_ino), qint64(st.st_dev)};
}

BookCache::Read BookCache::read(const Identity& identity, const NumberPlan& plan)
{
    return {identity, std::make_shared<const BookLookup>(identity.path, plan)};
}

bool BookCache::holds(const QString& path, const NumberPlan& plan) const
{
    return book_ && identity_.path == path && book_->plan_ == plan;
}

bool BookCache::isCurrent(const Identity& now, const NumberPlan& plan) const
{
    return holds(now.path, plan) && now.regular && now == identity_;
}

void BookCache::takeFinishedRead()
{
    if (!reading_ || !reading_->isFinished())
        return;
    releaseOnWorker(std::move(book_)); // mostly the last holder of a big book
    take(reading_->takeResult());
    reading_.reset();
}

void BookCache::take(Read done)
{
    identity_ = std::move(done.identity);
    book_ = std::move(done.book);
}

const BookLookup& BookCache::book(const QString& path, const NumberPlan& plan)
{
    if (reading_ && !holds(path, plan))
        reading_->waitForFinished(); // nothing to answer with meanwhile
    takeFinishedRead();
    if (path.isEmpty() && holds(path, plan))
        return *book_; // no book: nothing to look at per call
    const Identity now = identify(path);
    if (isCurrent(now, plan))
        return *book_;
    if (!holds(path, plan) || (!reading_ && now.size <= kReadNowBytes))
        take(read(now, plan));
    else if (!reading_)
        reading_ = QtConcurrent::run(&BookCache::read, now, plan);
    return *book_;
}

void BookCache::prefetch(const QString& path, const NumberPlan& plan)
{
    takeFinishedRead();
    const Identity now = identify(path);
    if (!reading_ && !isCurrent(now, plan) && now.size > kReadNowBytes) // a small one is read when asked
        reading_ = QtConcurrent::run(&BookCache::read, now, plan);
}

void BookLookup::index()
{
    usertext::forEachLine(text_, [&](QStringView line) {
        if (line.size() <= 4)
            return false;
        const auto f = splitFields(line);
        for (int i = 1; i <= 4; ++i)
            if (!f[i].isEmpty() && !firstEntry_.contains(f[i].toString()))
                firstEntry_.insert(f[i].toString(), entries_.size());
        entries_.append({f[0].toString(), f[5].toString()});
        return false;
    });
    forms_ = std::make_shared<const NumberForms>(text_, plan_);
}

BookLookup BookLookup::fromText(QString text, const NumberPlan& plan)
{
    BookLookup b;
    b.text_ = std::move(text);
    b.plan_ = plan;
    b.index();
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
    if (!firstEntry_.isEmpty() && isNumeric(number)) { // an empty book names nothing
        // Every part of the number long enough to match, the earliest line wins.
        qsizetype best = -1;
        const qsizetype n = number.size();
        for (qsizetype len = n; len > 0 && double(len) > 0.7 * double(n); --len)
            for (qsizetype at = 0; at + len <= n; ++at) {
                const auto it = firstEntry_.constFind(number.mid(at, len));
                if (it != firstEntry_.constEnd() && (best < 0 || *it < best))
                    best = *it;
            }
        found = best >= 0;
        if (found) {
            name = entries_[best].name;
            number = entries_[best].picture;
        }
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

QString PhoneToName(QString& number, const QString& bookPath, const NumberPlan& plan,
    std::shared_ptr<const BookLookup> then, BookCache* cache)
{
    if (!BookLookup::isNumeric(number)) { // no file access for an empty or secret number
        number = QStringLiteral("-");
        return {};
    }
    return BookLookup(bookPath, plan, std::move(then), cache).nameFor(number);
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
