// The address-book folder: vCards of every version and the broken ones
// (data/vdir), the folder followed while a sync changes it, and book.txt
// winning over it.
#include "phonebook/contact_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <functional>

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

void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path + QStringLiteral(".tmp")); // as vdirsyncer does: a new file renamed over the old
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    f.close();
    QFile::remove(path);
    ASSERT_TRUE(QFile::rename(f.fileName(), path));
}

QByteArray card(const char* name, const char* number)
{
    return QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:") + name + "\r\nTEL:" + number + "\r\nEND:VCARD\r\n";
}

QString nameFor(const ContactFolder& folder, const char* number)
{
    const auto lookup = folder.lookup({});
    QString n = QString::fromLatin1(number);
    return lookup ? lookup->nameFor(n) : QStringLiteral("<none>");
}

} // namespace

TEST(ContactFolder, ReadsEveryVersionAndSkipsWhatIsBroken)
{
    QTemporaryDir pictures;
    const ContactFolder::Contents c = ContactFolder::read(kData + QStringLiteral("vdir"), pictures.path());
    QFile expected(kData + QStringLiteral("vdir.expected"));
    ASSERT_TRUE(expected.open(QIODevice::ReadOnly));
    EXPECT_EQ(describe(c).toStdString(), QString::fromUtf8(expected.readAll()).toStdString());
    EXPECT_EQ(QDir(pictures.path()).entryList(QDir::Files).size(), 2); // two PNGs alike are one file, and a JPEG
}

TEST(ContactFolder, AHugePhotoIsDroppedAndItsContactKept)
{
    QTemporaryDir dir;
    const QByteArray photo = QByteArray("\xFF\xD8\xFF") + QByteArray(10 * 1024 * 1024, 'x');
    write(dir.filePath("big.vcf"), "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Big\r\nTEL:0301\r\nPHOTO;ENCODING=b;TYPE=JPEG:"
                                       + photo.toBase64() + "\r\nEND:VCARD\r\n");
    const ContactFolder::Contents c = ContactFolder::read(dir.path(), dir.filePath("pictures"));
    EXPECT_EQ(describe(c), QStringLiteral("files 1 unusable 0\nBig|0301|-|-|-|-\n"));
}

TEST(ContactFolder, FollowsAddEditDeleteAndBookTxtWins)
{
    QTemporaryDir dir;
    const QString vdir = dir.filePath("contacts"), pictures = dir.filePath("pictures");
    ASSERT_TRUE(QDir().mkpath(vdir + "/default"));
    ContactFolder folder;
    QSignalSpy changed(&folder, &ContactFolder::changed);
    folder.follow(vdir, pictures);
    EXPECT_EQ(nameFor(folder, "0305550001"), "<none>");

    const QString anna = vdir + "/default/anna.vcf";
    const QByteArray png = QByteArray::fromBase64(
        "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8BQDwAEhQGAhKmMIQ"
        "AAAABJRU5ErkJggg==");
    struct Step {
        const char* what;
        std::function<void()> change;
        const char* name; // for 0305550001
        int pictures;
    };
    const Step steps[] = {
        {"add", [&] { write(anna, card("Anna", "030 5550001")); }, "Anna", 0},
        {"edit with a photo",
            [&] {
                write(anna, card("Anna Lang", "030 5550001")
                                .replace("END:", "PHOTO;ENCODING=b;TYPE=PNG:" + png.toBase64() + "\r\nEND:"));
            },
            "Anna Lang", 1},
        {"delete", [&] { QFile::remove(anna); }, "", 0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        changed.clear();
        s.change();
        ASSERT_TRUE(changed.wait(5000));
        while (changed.wait(ContactFolder::kSettleMs * 2)) {} // a burst of changes may need a second read
        const QString name = nameFor(folder, "0305550001");
        EXPECT_EQ(name, s.name[0] ? QString::fromLatin1(s.name) : QStringLiteral("<none>"));
        EXPECT_EQ(QDir(pictures).entryList(QDir::Files).size(), s.pictures);
    }

    write(anna, card("Anna", "030 5550001"));
    ASSERT_TRUE(changed.wait(5000));
    QFile book(dir.filePath("book.txt"));
    ASSERT_TRUE(book.open(QIODevice::WriteOnly));
    book.write("Anna at work\t0305550001\t-\t-\t-\t-\r\n");
    book.close();
    for (const auto& [number, name] : {std::pair{"0305550001", "Anna at work"}, {"0049305550001", "Anna at work"}}) {
        QString n = QString::fromLatin1(number);
        EXPECT_EQ(PhoneToName(n, book.fileName(), {}, folder.lookup({})), QString::fromLatin1(name)) << number;
    }
}
