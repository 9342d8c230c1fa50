// vCard and CSV files turned into phone book entries, and the window's import.
#include "phonebook/contact_import.h"
#include "phonebook_fixture.h"

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
        {"+49 30 1234567", "+49301234567"},
        {"tel:+49-30-1234567;ext=12", "+49301234567"},
        {"1-800-FLOWERS", "-"},
        {"", "-"},
        {"  0170.555.1234 ", "01705551234"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(bookNumber(QString::fromUtf8(c.raw)), QString::fromUtf8(c.stored)) << c.raw;
}

// Whole files through either reader: every contact's six fields and how many
// cards or lines were left out.
TEST(ContactImport, FilesBecomeRowsAndUnusableOnesAreCounted)
{
    const struct {
        const char* what;
        ContactImport (*parse)(const QByteArray&);
        QByteArray data;
        int unusable;
        QList<QStringList> rows;
    } cases[] = {
        {"vCard 3 and 4: folded lines, types, escapes", parseVCard,
            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Johann \r\n Sebastian Bach\\, Jr.\r\nN:Bach;Johann;Sebastian;;\r\n"
            "TEL;TYPE=HOME,VOICE:030 1234\r\nitem1.TEL;type=CELL:0170\r\n\t555 1234\r\nTEL;TYPE=WORK:089 999\r\n"
            "TEL;TYPE=FAX:089 998\r\n"
            "TEL;TYPE=HOME:0800 111\r\n" // Phone 1 taken: the first free one is gone too
            "END:VCARD\r\nBEGIN:VCARD\r\nVERSION:4.0\r\nN:Curie;Marie;;Dr.;\r\n"
            "TEL;VALUE=uri;TYPE=\"voice,cell\":tel:+33-1-2345\r\nEND:VCARD\r\n",
            0,
            {{"Johann Sebastian Bach, Jr.", "0301234", "089999", "01705551234", "089998", ""},
                {"Dr. Marie Curie", "-", "-", "+3312345", "-", ""}}},
        {"vCard 2.1: quoted-printable, base64, charsets", parseVCard,
            "BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:M=FCller;J=FCrgen\n"
            "TEL;CELL;VOICE:0171 222\nEND:VCARD\n"
            "BEGIN:VCARD\nVERSION:2.1\nFN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Zo=C3=AB =\nSch=C3=B6n=09Tab\n"
            "TEL;WORK;QUOTED-PRINTABLE:=30=32=32\nEND:VCARD\n"
            "BEGIN:VCARD\nFN;ENCODING=B:"
                + QByteArray("Åsa").toBase64()
                + "\nEND:VCARD\n"
                  "BEGIN:VCARD\nFN;CHARSET=x-unknown:Pl\xE4tz\nEND:VCARD\n" // unknown charset, not UTF-8: Windows-1252
                  "BEGIN:VCARD\nFN;CHARSET=\"ISO-8859-15\":\xA4uro\nEND:VCARD\n", // the euro sign there, not in 1252
            0,
            {{"Jürgen Müller", "-", "-", "0171222", "-", ""},
                {"Zoë Schön Tab", "-", "022", "-", "-", ""}, // a TAB never reaches the book
                {"Åsa", "-", "-", "-", "-", ""}, {"Plätz", "-", "-", "-", "-", ""}, {"€uro", "-", "-", "-", "-", ""}}},
        {"odd vCards", parseVCard,
            "garbage before the first card\nBEGIN:VCARD\nTEL:0301\nEND:VCARD\n" // no name at all
            "BEGIN:VCARD\nORG:Acme\\; Sons;Sales\nTEL:0302\n"
            "AGENT:BEGIN:VCARD\nBEGIN:VCARD\nFN:Inner\nEND:VCARD\n" // a card inside a card is not a contact
            "NOTE:no colon here\n:\n=\nEND:VCARD\n"
            "END:VCARD\n" // one END too many
            "BEGIN:VCARD\nFN:Last Without End\nTEL;TYPE=HOME:0303",
            1, {{"Acme; Sons", "0302", "-", "-", "-", ""}, {"Last Without End", "0303", "-", "-", "-", ""}}},
        {"CSV with a header, quotes and bad lines", parseCsv,
            "Name,Phone 1,Phone 2,Mobile,Other,Notes\r\n\"Doe, Jane\",030 111,,0170 1,,\"says \"\"hi\"\"\"\r\n"
            ",0302,,,,\r\n"                // no name
            "\r\n"                         // blank
            "\"Multi\nLine\",abc,0303\r\n" // short row, letters
            "Extra,1,2,3,4,5,6,7\r\n",
            1,
            {{"Doe, Jane", "030111", "-", "01701", "-", ""}, {"Multi Line", "-", "0303", "-", "-", ""},
                {"Extra", "1", "2", "3", "4", ""}}},
    };
    for (const auto& c : cases) {
        const ContactImport r = c.parse(c.data);
        EXPECT_EQ(r.unusable, c.unusable) << c.what;
        EXPECT_EQ(rows(r.contacts), c.rows) << c.what;
    }
}

TEST(ContactImport, CsvLayoutsOfCommonAddressBooks)
{
    const struct {
        const char* what;
        QByteArray csv;
        QStringList first;
    } cases[] = {
        {"no header, semicolons", "Anna;030 1;;0170\nBert;031\n", {"Anna", "0301", "-", "0170", "-", ""}},
        {"first and last name", "First Name,Last Name,Mobile Phone,Business Phone\nAda,Lovelace,0171,089\n",
            {"Ada Lovelace", "-", "089", "0171", "-", ""}},
        {"TABs, UTF-8 with BOM", "\xEF\xBB\xBFName\tPhone\nÖzil\t0302\n", {"Özil", "0302", "-", "-", "-", ""}},
        {"Windows-1252", "Name;Telefon\nG\xF6tz;0304\n", {"Götz", "0304", "-", "-", "-", ""}},
        {"unterminated quote", "\"Open,0305\nNext,0306\n", {"Open,0305\nNext,0306\n", "-", "-", "-", "-", ""}},
    };
    for (const auto& c : cases) {
        const ContactImport r = parseCsv(c.csv);
        ASSERT_FALSE(r.contacts.isEmpty()) << c.what;
        QStringList expected = c.first;
        expected[0] = expected[0].replace(u'\n', u' ').trimmed();
        EXPECT_EQ(row(r.contacts.first()), expected) << c.what;
    }
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
    writeFile("friends.vcf", "BEGIN:VCARD\nFN:Anna\nTEL:030-1\nEND:VCARD\n"
                             "BEGIN:VCARD\nFN:Zoe\nTEL;TYPE=CELL:0170 9\nEND:VCARD\n"
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
    EXPECT_EQ(
        informed[0], "2 contact(s) imported.\n1 already in the phone book, left out.\n1 without a name, left out.");

    QTest::mouseClick(import, Qt::LeftButton); // unreadable: a message, nothing changes
    EXPECT_EQ(d->contacts().rowCount(), 3);
    ASSERT_EQ(informed.size(), 2);
    EXPECT_TRUE(informed[1].contains(path("missing.csv")));

    d->close();
    EXPECT_EQ(book(), "Anna\t0301\t-\t-\t-\t/a.jpg\r\nBert\t-\t-\t-\t-\t-\r\nZoe\t-\t-\t01709\t-\t-\r\n");
}
