// The address-book folder: vCards of every version and the broken ones
// (data/vdir), and the folder followed while a sync changes it.
#include "common/golden.h"
#include "common/test_files.h"
#include "phonebook/contact_folder.h"

#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

const QString kData = QStringLiteral(CORVANE_SOURCE_DIR "/tests/phonebook/data/");

QString describe(const ContactFolder::Contents& c)
{
    QString out = QStringLiteral("files %1 unusable %2\n").arg(c.files).arg(c.unusable);
    for (const BookEntry& e : c.contacts) {
        const QString picture = e.picture == QLatin1String("-") ? e.picture : QFileInfo(e.picture).suffix();
        out += QStringList{e.name, e.phone1, e.phone2, e.mobile, e.other, picture}.join(u'|') + u'\n';
    }
    return out;
}

// One change read, and the second read a burst of changes may need.
bool settled(QSignalSpy& changed)
{
    const bool read = changed.wait(5000);
    while (changed.wait(ContactFolder::kSettleMs * 2)) {}
    changed.clear();
    return read;
}

QString nameOf(const ContactFolder& folder)
{
    const auto lookup = folder.lookup({}); // none while the folder has no contact
    QString number = QStringLiteral("0305550001");
    return lookup ? lookup->nameFor(number) : QStringLiteral("-");
}

} // namespace

TEST(ContactFolder, ReadsEveryVersionAndSkipsWhatIsBroken)
{
    QTemporaryDir dir;
    const ContactFolder::Contents c = ContactFolder::read(kData + "vdir", dir.filePath("pictures"));
    EXPECT_GOLDEN("phonebook/data/vdir.expected", describe(c).toUtf8());
    EXPECT_EQ(QDir(dir.filePath("pictures")).entryList(QDir::Files).size(), 2); // two PNGs alike are one file
    // A 10 MB photo is dropped, its contact kept.
    writeBytes(dir.filePath("big/big.vcf"), "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Big\r\nTEL:0301\r\nPHOTO;ENCODING=b:"
                                                + QByteArray(10 << 20, 'A') + "\r\nEND:VCARD\r\n");
    EXPECT_EQ(describe(ContactFolder::read(dir.filePath("big"), dir.filePath("pictures"))),
        QStringLiteral("files 1 unusable 0\nBig|0301|-|-|-|-\n"));
}

TEST(ContactFolder, FollowsAContactAddedEditedAndDeleted)
{
    QTemporaryDir dir;
    const QString vdir = dir.filePath("contacts"), pictures = dir.filePath("pictures"),
                  anna = vdir + "/default/anna.vcf";
    ASSERT_TRUE(QDir().mkpath(vdir + "/default"));
    ContactFolder folder;
    QSignalSpy changed(&folder, &ContactFolder::changed);
    folder.follow(vdir, pictures);
    ASSERT_TRUE(settled(changed)); // the first read, in the background
    // The card written (none: deleted), the name 030 5550001 then gets, the pictures kept.
    const std::tuple<const char*, const char*, int> steps[] = {
        {"anna.vcf", "Anna", 0}, {"anna-photo.vcf", "Anna Lang", 1}, {nullptr, "-", 0}};
    for (const auto& [card, name, pictureCount] : steps) {
        SCOPED_TRACE(card ? card : "deleted");
        changed.clear();
        QFile::remove(anna); // as vdirsyncer does: a new file in place of the old
        if (card) {
            ASSERT_TRUE(QFile::copy(kData + "follow/" + card, anna));
        }
        ASSERT_TRUE(settled(changed));
        EXPECT_EQ(nameOf(folder), QString::fromLatin1(name));
        EXPECT_EQ(QDir(pictures).entryList(QDir::Files).size(), pictureCount);
    }
}

// A folder that a first sync creates (two levels deep), that is deleted and created again.
TEST(ContactFolder, FollowsAFolderThatComesLater)
{
    QTemporaryDir dir;
    const QString vdir = dir.filePath("sync/contacts");
    ContactFolder folder;
    QSignalSpy changed(&folder, &ContactFolder::changed);
    folder.follow(vdir, dir.filePath("pictures"));
    ASSERT_TRUE(settled(changed));
    for (const char* pass : {"created", "created again"}) {
        SCOPED_TRACE(pass);
        ASSERT_TRUE(QDir().mkpath(vdir) && QFile::copy(kData + "follow/anna.vcf", vdir + "/anna.vcf"));
        ASSERT_TRUE(settled(changed));
        EXPECT_EQ(nameOf(folder), "Anna");
        ASSERT_TRUE(QDir(dir.filePath("sync")).removeRecursively());
        ASSERT_TRUE(settled(changed));
        EXPECT_EQ(nameOf(folder), "-");
    }
}
