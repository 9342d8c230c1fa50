#include "phonebook/contact_folder.h"

#include "common/atomic_file.h"
#include "common/program_folder.h"
#include "common/regular_file.h"
#include "phonebook/contact_import.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <dirent.h>
#include <iterator>
#include <utility>

namespace {

// The .vcf files of the folder and of the folders in it, in a stable order;
// FIFOs, devices and sockets too, to be skipped with a word on the log.
QStringList vcardFiles(const QString& dir, int max = ContactFolder::kMaxFiles, int* beyondCap = nullptr)
{
    QStringList files;
    const QDir top(dir);
    QStringList dirs{top.absolutePath()};
    for (const QString& sub : top.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        dirs << top.absoluteFilePath(sub);
    for (const QString& d : dirs)
        for (const QFileInfo& f :
            QDir(d).entryInfoList({QStringLiteral("*.vcf")}, QDir::Files | QDir::System, QDir::Name))
            if (files.size() < max)
                files << f.absoluteFilePath();
            else if (beyondCap)
                ++*beyondCap;
    return files;
}

// What a reload watches: the folder, its sub-folders and their first cards
// (files edited in place; a sync that replaces a file changes its folder).
// Listed unsorted by readdir(3), which gives the kind of most entries without a
// stat: 20,000 cards are listed in a few milliseconds.
QStringList watchedPaths(const QString& dir)
{
    QStringList paths{dir}, files;
    for (qsizetype i = 0; i < paths.size(); ++i) { // the sub-folders join the list as they are found
        DIR* d = ::opendir(QFile::encodeName(paths[i]).constData());
        for (const dirent* e; d && (e = ::readdir(d));) {
            const QByteArray name = QByteArray::fromRawData(e->d_name, qstrlen(e->d_name));
            const bool card = name.size() > 4 && qstricmp(name.constData() + name.size() - 4, ".vcf") == 0;
            if (name == "." || name == ".." || (i > 0 && !card)
                || (card && files.size() >= ContactFolder::kMaxWatchedFiles))
                continue;
            const QString path = paths[i] + u'/' + QFile::decodeName(name);
            const bool folder = e->d_type == DT_DIR
                                || ((e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) && QFileInfo(path).isDir());
            if (folder && i == 0)
                paths << path;
            else if (!folder && card)
                files << path;
        }
        if (d)
            ::closedir(d);
    }
    return paths + files;
}

// Where a folder that is not there yet (or no longer) would appear: its
// nearest existing parent, whose change says it has come.
QString nearestExistingParent(const QString& dir)
{
    QFileInfo at(QDir::cleanPath(QDir(dir).absolutePath()));
    while (!at.isDir() && !at.isRoot())
        at = QFileInfo(at.absolutePath());
    return at.absoluteFilePath();
}

} // namespace

ContactFolder::Contents ContactFolder::read(const QString& dir, const QString& pictureDir)
{
    Contents out;
    QSet<QString> pictures;
    for (const QString& path : vcardFiles(dir, kMaxFiles, &out.beyondCap)) {
        ++out.files;
        const regularfile::Contents file = regularfile::read(path, contact_import::kMaxFileSize);
        if (!file.ok()) {
            ++out.unusable;
            continue;
        }
        const ContactImport cards = contact_import::parseVCard(contact_import::fromUtf16(file.bytes));
        out.unusable += cards.contacts.isEmpty() ? std::max(cards.unusable, 1) : cards.unusable;
        for (qsizetype i = 0; i < cards.contacts.size(); ++i) {
            BookEntry e = cards.contacts[i];
            e.picture = contact_import::savePicture(pictureDir, cards.photos.value(i));
            if (e.picture.isEmpty())
                e.picture = QStringLiteral("-");
            else
                pictures << QFileInfo(e.picture).fileName();
            out.contacts << e;
        }
    }
    if (out.unusable > 0 || out.beyondCap > 0)
        qWarning("%s", qPrintable(QStringLiteral("contacts folder %1: %2 cards skipped (no name, unreadable or too "
                                                 "large), %3 files beyond the first %4 not read")
                                      .arg(dir)
                                      .arg(out.unusable)
                                      .arg(out.beyondCap)
                                      .arg(kMaxFiles)));
    // Pictures of contacts that are gone or changed.
    static const QRegularExpression ours(QStringLiteral("^[0-9a-f]{40}\\.(jpg|png|gif|bmp)$"));
    for (const QString& name : QDir(pictureDir).entryList(QDir::Files))
        if (ours.match(name).hasMatch() && !pictures.contains(name))
            QFile::remove(QDir(pictureDir).filePath(name));
    return out;
}

QString ContactFolder::defaultPictureDir()
{
    return ProgramFolder::filePath(QStringLiteral("contact-pictures"));
}

ContactFolder::ContactFolder(QObject* parent) : QObject(parent)
{
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &ContactFolder::reload);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));
    connect(&watcher_, &QFileSystemWatcher::fileChanged, &settle_, qOverload<>(&QTimer::start));
    connect(&reading_, &QFutureWatcher<Read>::finished, this, &ContactFolder::take);
}

void ContactFolder::follow(const QString& dir, const QString& pictureDir)
{
    dir_ = dir;
    pictureDir_ = pictureDir;
    reload();
}

void ContactFolder::reload()
{
    if (reading_.isRunning()) {
        changedWhileReading_ = true;
        return;
    }
    watch(); // first: what changes from here on is read again
    if (dir_.isEmpty()) {
        contents_ = {};
        lookup_.reset();
        emit changed();
        return;
    }
    reading_.setFuture(QtConcurrent::run([dir = dir_, pictures = pictureDir_, plan = plan_] {
        Read r{dir, read(dir, pictures), plan, {}};
        r.lookup = lookupOf(r.contents, plan);
        return r;
    }));
}

// Only what changed in the watch list is added or removed: a replaced file
// has left it by itself and comes back, the rest stays watched.
void ContactFolder::watch()
{
    const bool there = QFileInfo(dir_).isDir();
    QStringList paths;
    if (!dir_.isEmpty()) // a folder not there is read as soon as it exists
        paths = there ? watchedPaths(dir_) : QStringList{nearestExistingParent(dir_)};
    const QStringList before = watcher_.files() + watcher_.directories();
    const QSet<QString> now(paths.begin(), paths.end()), was(before.begin(), before.end());
    QStringList gone, added;
    std::copy_if(
        before.begin(), before.end(), std::back_inserter(gone), [&](const QString& p) { return !now.contains(p); });
    std::copy_if(
        paths.begin(), paths.end(), std::back_inserter(added), [&](const QString& p) { return !was.contains(p); });
    if (!gone.isEmpty())
        watcher_.removePaths(gone);
    if (!added.isEmpty())
        watcher_.addPaths(added);
    if (!dir_.isEmpty() && !there && QFileInfo(dir_).isDir())
        settle_.start(); // it came while this looked
}

// The read's contents and lookup replace the ones before at once; those are
// freed on a worker.
void ContactFolder::take()
{
    Read done = reading_.future().takeResult();
    const bool current = done.dir == dir_;
    if (current) {
        std::swap(contents_, done.contents);
        std::swap(lookup_, done.lookup);
        plan_ = done.plan;
        emit changed(); // those who held the old lookup let it go here
    }
    releaseOnWorker(std::move(done));
    if (std::exchange(changedWhileReading_, false) || !current)
        reload();
}

std::shared_ptr<const BookLookup> ContactFolder::lookup(const NumberPlan& plan) const
{
    if (plan != plan_) { // built now this once, then with every read
        plan_ = plan;
        lookup_ = lookupOf(contents_, plan);
    }
    return lookup_;
}

std::shared_ptr<const BookLookup> ContactFolder::lookupOf(const Contents& contents, const NumberPlan& plan)
{
    if (contents.contacts.isEmpty())
        return {};
    QString text;
    for (const BookEntry& e : contents.contacts)
        text += QStringList{e.name, e.phone1, e.phone2, e.mobile, e.other, e.picture}.join(u'\t') + u'\n';
    return std::make_shared<const BookLookup>(BookLookup::fromText(text, plan));
}
