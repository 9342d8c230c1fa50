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
#include <algorithm>

namespace {

// The picture's kind by its first bytes; "" for what is no picture we show.
QString pictureSuffix(const QByteArray& data)
{
    if (data.startsWith("\xFF\xD8\xFF"))
        return QStringLiteral(".jpg");
    if (data.startsWith("\x89PNG"))
        return QStringLiteral(".png");
    if (data.startsWith("GIF8"))
        return QStringLiteral(".gif");
    if (data.startsWith("BM"))
        return QStringLiteral(".bmp");
    return {};
}

// Named after its content: an unchanged picture is written once, a changed one anew.
QString savePicture(const QString& dir, const QByteArray& data)
{
    const QString suffix = pictureSuffix(data);
    if (suffix.isEmpty())
        return {};
    const QString name = QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex()) + suffix;
    const QString path = QDir(dir).filePath(name);
    if (QFileInfo::exists(path) || (QDir().mkpath(dir) && writeFileAtomically(path, data)))
        return path;
    return {};
}

// The .vcf files of the folder and of the folders in it, in a stable order;
// FIFOs, devices and sockets too, to be skipped with a word on the log.
QStringList vcardFiles(const QString& dir, int* beyondCap = nullptr)
{
    QStringList files;
    const QDir top(dir);
    QStringList dirs{top.absolutePath()};
    for (const QString& sub : top.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        dirs << top.absoluteFilePath(sub);
    for (const QString& d : dirs)
        for (const QFileInfo& f :
            QDir(d).entryInfoList({QStringLiteral("*.vcf")}, QDir::Files | QDir::System, QDir::Name))
            if (files.size() < ContactFolder::kMaxFiles)
                files << f.absoluteFilePath();
            else if (beyondCap)
                ++*beyondCap;
    return files;
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
    for (const QString& path : vcardFiles(dir, &out.beyondCap)) {
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
            e.picture = savePicture(pictureDir, cards.photos.value(i));
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
}

void ContactFolder::follow(const QString& dir, const QString& pictureDir)
{
    dir_ = dir;
    pictureDir_ = pictureDir;
    reload();
}

void ContactFolder::reload()
{
    if (const QStringList watched = watcher_.files() + watcher_.directories(); !watched.isEmpty())
        watcher_.removePaths(watched);
    contents_ = dir_.isEmpty() ? Contents{} : read(dir_, pictureDir_);
    const bool there = !dir_.isEmpty() && QFileInfo(dir_).isDir();
    if (!dir_.isEmpty() && !there) {
        watcher_.addPath(nearestExistingParent(dir_)); // read as soon as it exists
        if (QFileInfo(dir_).isDir())
            settle_.start(); // it came while this read looked
    }
    if (there) {
        QStringList paths{dir_};
        for (const QString& sub : QDir(dir_).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            paths << QDir(dir_).filePath(sub);
        // Files edited in place; a sync that replaces a file changes its folder.
        const QStringList files = vcardFiles(dir_);
        paths += files.mid(0, kMaxWatchedFiles);
        watcher_.addPaths(paths);
    }
    emit changed();
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
