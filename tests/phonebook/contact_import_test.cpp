// vCard and CSV files turned into phone book entries, and the window's import.
#include "phonebook/contact_import.h"
#include "phonebook_fixture.h"

#include "common/golden.h"
#include "common/program_folder.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QRandomGenerator>

using namespace contact_import;

namespace {

QStringList row(const BookEntry& e)
{
    return {e.name, e.phone1, e.phone2, e.mobile, e.other, e.picture};
}

QList<QStringList> rows(const QList<BookEntry>& entries)
{
    QList<QStringList> out;
    for (const BookEntry& e : entries)
        out << row(e);
    return out;
}

} // namespace

TEST(ContactImport, BookNumbersLoseTheirSeparatorsAndLettersBecomeADash)
{
    const struct {
        const char* raw;
        const char* stored;
    } cases[] = {
        {"030 123-45 67", "0301234567"},
        {"(030) 1234/567", "0301234567"},
        {"+49 30 1234567", "0301234567"},
        {"+49 (0)89 1234", "0891234"},
        {"030 123 45-6", "030123456"},
        {"+43 1 5123456", "004315123456"},
        {"tel:+49-30-1234567;ext=12", "0301234567"},
        {"1-800-FLOWERS", "-"},
        {"hello", "-"},
        {"", "-"},
        {"  0170.555.1234 ", "01705551234"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(bookNumber(QString::fromUtf8(c.raw)), QString::fromUtf8(c.stored)) << c.raw;
}

// Whole files (data/import, by suffix) through either reader: every
// contact's six fields and how many cards or lines were left out.
TEST(ContactImport, FilesBecomeRowsAndUnusableOnesAreCounted)
{
    QString got;
    for (const QFileInfo& file : QDir(QStringLiteral(CORVANE_SOURCE_DIR "/tests/phonebook/data/import"))
                                     .entryInfoList(QDir::Files, QDir::Name)) {
        QFile f(file.filePath());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const ContactImport r = file.suffix() == u"vcf" ? parseVCard(f.readAll()) : parseCsv(f.readAll());
        got += QStringLiteral("== %1: %2 unusable%3\n")
                   .arg(file.fileName())
                   .arg(r.unusable)
                   .arg(r.unreadNumbers ? QStringLiteral(", %1 numbers unread").arg(r.unreadNumbers) : QString());
        for (const BookEntry& e : r.contacts)
            got += row(e).join(QLatin1String(" | ")) + u'\n';
    }
    EXPECT_GOLDEN(QStringLiteral("phonebook/data/import.expected"), got);
}

TEST(ContactImport, DuplicatesByNameAndPhone1AreLeftOut)
{
    const QList<BookEntry> book = {{"Anna", "0301", "-", "-", "-", "/a.jpg"}};
    const QList<BookEntry> imported = {
        {"Anna", "0301", "0999", "-", "-", ""},                                      // same name and Phone 1
        {"Anna", "0302", "-", "-", "-", ""},                                         // another Anna
        {"anna", "0301", "-", "-", "-", ""},                                         // names compare case-sensitively
        {"Bert", "0303", "-", "-", "-", ""}, {"Bert", "0303", "-", "0170", "-", ""}, // twice in the file
    };
    int duplicates = -1;
    const QList<BookEntry> fresh = newContactsOnly(book, imported, &duplicates);
    EXPECT_EQ(duplicates, 2);
    EXPECT_EQ(rows(fresh), QList<QStringList>({
                               {"Anna", "0302", "-", "-", "-", ""},
                               {"anna", "0301", "-", "-", "-", ""},
                               {"Bert", "0303", "-", "-", "-", ""},
                           }));
}

// Random bytes with vCard and CSV keywords mixed in: no crash, every name
// is a single line.
TEST(ContactImport, GarbageNeverCrashesNorSplitsALine)
{
    QRandomGenerator random(1234);
    const QByteArray words[] = {"BEGIN:VCARD\n", "END:VCARD\n", "FN;ENCODING=QUOTED-PRINTABLE:", "=\n", "\"",
        "TEL;CELL:", ",", ";", "\t", "\r", " ", "=C3", "\\"};
    for (int round = 0; round < 300; ++round) {
        QByteArray data;
        const int parts = random.bounded(1, 60);
        for (int i = 0; i < parts; ++i) {
            if (random.bounded(2))
                data += words[random.bounded(int(std::size(words)))];
            else
                data += char(random.bounded(256));
        }
        for (const ContactImport& r : {parseVCard(data), parseCsv(data)})
            for (const BookEntry& e : r.contacts)
                for (int c = 0; c < 6; ++c) {
                    const QString& f = contactField(e, c);
                    ASSERT_FALSE(f.contains(u'\t') || f.contains(u'\n') || f.contains(u'\r'))
                        << data.toHex().constData();
                }
    }
}

TEST_F(PhoneBookTest, ReadsUtf16FilesAndRefusesHugeOnes)
{
    const QString card = QStringLiteral("BEGIN:VCARD\r\nFN:Łucja\r\nTEL:0301\r\nEND:VCARD\r\n");
    QByteArray utf16("\xFF\xFE");
    utf16.append(reinterpret_cast<const char*>(card.utf16()), card.size() * 2);
    writeFile("contacts.vcf", utf16);
    const ContactImport r = contact_import::readFile(path("contacts.vcf"));
    ASSERT_EQ(r.contacts.size(), 1);
    EXPECT_EQ(r.contacts[0].name, QStringLiteral("Łucja"));

    QFile huge(path("huge.csv"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(kMaxFileSize + 1)); // sparse, nothing is written
    huge.close();
    EXPECT_FALSE(contact_import::readFile(path("huge.csv")).error.isEmpty());
    EXPECT_FALSE(contact_import::readFile(path("missing.vcf")).error.isEmpty());
}

TEST_F(PhoneBookTest, ImportAddsNewContactsOnTopAndSaysWhatWasLeftOut)
{
    writeBook("Anna\t0301\t-\t-\t-\t/a.jpg\r\n");
    writeFile("friends.vcf",
        "BEGIN:VCARD\nFN:Anna\nTEL:030-1\nEND:VCARD\n"
        "BEGIN:VCARD\nFN:Zoe\nTEL;TYPE=CELL:0170 9\nPHOTO;ENCODING=b:R0lGODlhAQABAAAAACw=\nEND:VCARD\n"
        "BEGIN:VCARD\nFN:Bert\nEND:VCARD\n"
        "BEGIN:VCARD\nTEL:0309\nEND:VCARD\n");
    QStringList files = {QString(), path("friends.vcf"), path("missing.csv")};
    prompts.openContactsFile = [&](QWidget*) { return files.takeFirst(); };
    auto d = open();
    QPushButton* import = button(*d, "CommandImport");

    QTest::mouseClick(import, Qt::LeftButton); // cancelled
    EXPECT_EQ(d->contacts().rowCount(), 1);
    EXPECT_TRUE(informed.isEmpty());

    QTest::mouseClick(import, Qt::LeftButton);
    EXPECT_EQ(column(*d, 0), QStringList({"Zoe", "Bert", "Anna"}));
    ASSERT_EQ(informed.size(), 1);
    EXPECT_EQ(informed[0], "2 contacts imported.\n1 already in the phone book, left out.\n1 without a name, left out.");

    QTest::mouseClick(import, Qt::LeftButton); // unreadable: a message, nothing changes
    EXPECT_EQ(d->contacts().rowCount(), 3);
    ASSERT_EQ(informed.size(), 2);
    EXPECT_TRUE(informed[1].contains(path("missing.csv")));

    d->close();
    // Zoe's photo is kept beside the program, named after its content.
    const QString photo =
        ProgramFolder::filePath("imported-pictures/")
        + QCryptographicHash::hash(QByteArray::fromBase64("R0lGODlhAQABAAAAACw="), QCryptographicHash::Sha1).toHex()
        + ".gif";
    EXPECT_TRUE(QFileInfo::exists(photo));
    EXPECT_EQ(book(), "Anna\t0301\t-\t-\t-\t/a.jpg\r\nBert\t-\t-\t-\t-\t-\r\nZoe\t-\t-\t01709\t-\t" + photo + "\r\n");
}
