// Every reader of a file the user names takes regular files only: a FIFO, a
// device, a terminal or a socket in its place is skipped at once with a line
// on the log, and the reader goes on as without the file.
#include "common/regular_file.h"
#include "common/settings_keys.h"
#include "common/settings_store.h"
#include "common/test_files.h"
#include "monitor/engine/call_list.h"
#include "phonebook/book_lookup.h"
#include "phonebook/contact_folder.h"
#include "phonebook/ignore_list.h"

#include <QTemporaryDir>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QStringList warnings;
void keepWarning(QtMsgType, const QMessageLogContext&, const QString& text)
{
    warnings << text;
}

// Puts a file of the given kind at `path`; false when this machine cannot make one.
bool makeHostile(const QString& kind, const QString& path, int& keep)
{
    const QByteArray p = path.toLocal8Bit();
    if (kind == "fifo")
        return ::mkfifo(p.constData(), 0600) == 0;
    if (kind == "zero")
        return ::symlink("/dev/zero", p.constData()) == 0;
    if (kind == "terminal") { // a pty's far end: a read of it blocks in the kernel
        keep = ::posix_openpt(O_RDWR | O_NOCTTY);
        return keep >= 0 && ::grantpt(keep) == 0 && ::unlockpt(keep) == 0
               && ::symlink(::ptsname(keep), p.constData()) == 0;
    }
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (size_t(p.size()) >= sizeof addr.sun_path)
        return false;
    std::memcpy(addr.sun_path, p.constData(), size_t(p.size()));
    keep = ::socket(AF_UNIX, SOCK_STREAM, 0);
    return keep >= 0 && ::bind(keep, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
}

const char* const kKinds[] = {"fifo", "zero", "terminal", "socket"};

TEST(RegularFile, ReadsRegularFilesWithinTheirBoundAndSkipsTheRest)
{
    QTemporaryDir dir;
    writeBytes(dir.filePath("ok"), "12345");
    ::symlink(dir.filePath("ok").toLocal8Bit().constData(), dir.filePath("link").toLocal8Bit().constData());
    const regularfile::Contents ok = regularfile::read(dir.filePath("link"), 5);
    EXPECT_TRUE(ok.ok() && ok.exists && ok.bytes == "12345") << ok.problem.toStdString();
    const regularfile::Contents missing = regularfile::read(dir.filePath("none"), 5);
    EXPECT_TRUE(missing.ok() && !missing.exists && missing.bytes.isEmpty());
    const struct {
        QString path, problem;
    } refused[] = {{dir.filePath("ok"), "larger than 4 bytes"}, {dir.path(), "a folder"}};
    for (const auto& r : refused) {
        EXPECT_EQ(regularfile::read(r.path, 4).problem, r.problem);
        EXPECT_EQ(regularfile::check(r.path, 4), r.problem);
    }
    EXPECT_EQ(regularfile::check(dir.filePath("none"), 4), "no such file");
}

// Each reader with each kind of file in its place: an empty result, one line
// on the log, and never a wait.
TEST(RegularFile, EveryReaderSkipsWhatIsNoRegularFile)
{
    struct Reader {
        const char* name;
        std::function<bool(const QString& path, const QString& dir)> readsNothing;
    };
    const Reader readers[] = {
        {"book.txt",
            [](const QString& path, const QString&) {
                QString number = "0301234";
                return BookLookup(path).nameFor(number).isEmpty() && number == "-";
            }},
        {"list.txt",
            [](const QString& path, const QString&) {
                CallList list;
                list.setListPath(path);
                list.ReadTheList();
                return list.count() == 0 && list.fileProblem() == CallList::FileProblem::Unreadable;
            }},
        {"settings.ini",
            [](const QString& path, const QString&) {
                return SettingsStore(path).read(key::Speed) == SettingsStore::defaultFor(key::Speed);
            }},
        {"ignore.txt", [](const QString& path, const QString&) { return IgnoreList::read(path, {}).isEmpty(); }},
        {"card.vcf",
            [](const QString&, const QString& dir) {
                writeBytes(dir + "/good.vcf", "BEGIN:VCARD\r\nFN:Anna\r\nTEL:0301\r\nEND:VCARD\r\n");
                const ContactFolder::Contents c = ContactFolder::read(dir, dir + "/pictures");
                return c.files == 2 && c.unusable == 1 && c.contacts.size() == 1;
            }},
        {"photo.jpg",
            [](const QString& path, const QString& dir) {
                writeBytes(dir + "/photo.vcf", "BEGIN:VCARD\r\nFN:Anna\r\nTEL:0301\r\nPHOTO;VALUE=uri:file://"
                                                   + path.toUtf8() + "\r\nEND:VCARD\r\n");
                const ContactFolder::Contents c = ContactFolder::read(dir, dir + "/pictures");
                return c.contacts.size() == 1 && c.contacts[0].picture == "-";
            }},
    };
    qInstallMessageHandler(keepWarning);
    for (const Reader& r : readers)
        for (const char* kind : kKinds) {
            QTemporaryDir dir;
            const QString path = dir.filePath(r.name);
            int keep = -1;
            if (!makeHostile(kind, path, keep)) {
                ADD_FAILURE() << "cannot make a " << kind;
                continue;
            }
            warnings.clear();
            EXPECT_TRUE(r.readsNothing(path, dir.path())) << r.name << " as " << kind;
            EXPECT_EQ(warnings.filter("skipped " + path).size(), 1) << r.name << " as " << kind;
            if (keep >= 0)
                ::close(keep);
        }
    qInstallMessageHandler(nullptr);
}

// A UTF-16 card is read; the rest of what a read skips is one line with the counts.
TEST(RegularFile, TheContactFolderSaysWhatItSkipsOnceWithTheCounts)
{
    QTemporaryDir dir;
    QFile utf16(dir.filePath("a.vcf"));
    ASSERT_TRUE(utf16.open(QIODevice::WriteOnly));
    utf16.write("\xFF\xFE");
    const QString card = "BEGIN:VCARD\r\nFN:Anna\r\nTEL:0301\r\nEND:VCARD\r\n";
    utf16.write(reinterpret_cast<const char*>(card.utf16()), card.size() * 2);
    utf16.close();
    for (int i = 0; i < ContactFolder::kMaxFiles; ++i) // nameless cards, the last one beyond the cap
        writeBytes(dir.filePath(QStringLiteral("x%1.vcf").arg(i)), {});
    warnings.clear();
    qInstallMessageHandler(keepWarning);
    const ContactFolder::Contents c = ContactFolder::read(dir.path(), dir.filePath("pictures"));
    qInstallMessageHandler(nullptr);
    ASSERT_EQ(c.contacts.size(), 1);
    EXPECT_EQ(c.contacts[0].name, "Anna");
    EXPECT_EQ(warnings, QStringList("contacts folder " + dir.path()
                                    + ": 19999 cards skipped (no name, unreadable or too large), 1 files beyond "
                                      "the first 20000 not read"));
}

} // namespace
