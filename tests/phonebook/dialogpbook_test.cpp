// The phone book window driven through its elements, offscreen.
#include "phonebook_fixture.h"

#include "common/golden.h"
#include "common/regional.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const QByteArray kSix = "Anna\t0301111\t-\t-\t-\t-\r\n"
                        "Bert\t0302222\t-\t-\t-\t-\r\n"
                        "Cleo\t0303333\t-\t-\t-\t-\r\n"
                        "Dirk\t0304444\t-\t-\t-\t-\r\n"
                        "Emma\t0305555\t-\t-\t-\t-\r\n"
                        "Finn\t0306666\t-\t-\t-\t-\r\n";

int twipsToPixels(double twips, int dpi)
{
    return qRound(twips * dpi / 1440.0);
}

} // namespace

TEST_F(PhoneBookTest, OpensWithoutBookAsAnEmptyListAndClosingWritesAnEmptyBook)
{
    auto d = open();
    EXPECT_EQ(grid(*d)->model()->rowCount(), 0);
    EXPECT_FALSE(button(*d, "UpdateButton")->isEnabled());
    // No contact: the fixture's picture prompt fails the test when called.
    QTest::mouseDClick(grid(*d)->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    d->close();
    EXPECT_EQ(book(), QByteArray()); // closing always writes the book
}

// The design's widths overflow the fixed window width; the list shows all six
// columns side by side, each number column an 11-digit number whole, in any
// window height (with or without the vertical scroll bar).
TEST_F(PhoneBookTest, AllSixColumnsFitTheFixedWidthAndNumbersShowWhole)
{
    for (const int contacts : {3, 60}) {
        SCOPED_TRACE(contacts);
        QByteArray lines;
        for (int i = 0; i < contacts; ++i)
            lines += "Anna Berger " + QByteArray::number(i)
                     + "\t03012345678\t03098765432\t01701234567\t"
                       "04099887766\t/home/someone/Pictures/contacts/anna.jpg\r\n";
        writeBook(lines);
        auto d = open();
        QTableView* list = grid(*d);
        QApplication::processEvents();
        const QFontMetrics fm = list->fontMetrics();
        int right = 0;
        for (int c = 0; c < 6; ++c) {
            const int titlePx = list->horizontalHeader()->fontMetrics().horizontalAdvance(
                list->model()->headerData(c, Qt::Horizontal).toString());
            EXPECT_GE(list->columnWidth(c), titlePx + 6) << c;
            if (c >= 1 && c <= 4) {
                EXPECT_GE(list->columnWidth(c), fm.horizontalAdvance("01701234567") + 6) << c;
            }
            right = list->horizontalHeader()->sectionViewportPosition(c) + list->columnWidth(c);
        }
        EXPECT_GE(list->columnWidth(0), fm.horizontalAdvance("Anna Berger") + 6);
        EXPECT_LE(right, list->viewport()->width());
        EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0);
        d->close();
    }
}

TEST_F(PhoneBookTest, LoadsSortedByNameWithPictureColumnRightAligned)
{
    writeBook("zeta\t1\t-\t-\t-\t-\r\nBeta\t2\t-\t-\t-\t-\r\nAlpha\t3\t-\t-\t-\t/x.jpg\r\n");
    auto d = open();
    EXPECT_EQ(column(*d, 0), QStringList({"Alpha", "Beta", "zeta"})); // case-sensitive: "zeta" after "Beta"
    const QAbstractItemModel* m = grid(*d)->model();
    EXPECT_TRUE(m->index(0, 5).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
    EXPECT_TRUE(m->index(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignLeft);
}

// A new contact goes to the top unsorted, even with a current row; a number
// is kept as people write it, a text that is no number is refused naming its
// field, and a TAB typed into the name cannot split the line.
TEST_F(PhoneBookTest, AddingPutsTheNewContactOnTopAndClearsTheFields)
{
    writeBook("Anna\t0301\t-\t-\t-\t-\r\n");
    auto d = open();
    clickRow(*d, 0);
    edit(*d, "Text3")->setText("Zoe\tB");
    edit(*d, "Text2")->setText("hello");
    edit(*d, "Text4")->setText(" 0170555 ");
    QTest::mouseClick(button(*d, "CommandAdd"), Qt::LeftButton);
    EXPECT_EQ(column(*d, 0), QStringList({"Anna"}));
    ASSERT_EQ(informed.size(), 1);
    EXPECT_TRUE(informed[0].startsWith("Telephone 1: \"hello\" is not a phone number.")) << informed[0].toStdString();
    EXPECT_EQ(edit(*d, "Text2")->text(), "hello"); // kept for the user to mend
    edit(*d, "Text2")->setText("030 123 45-6");
    edit(*d, "Text1")->setText("+49 (0)89 1234");
    QTest::mouseClick(button(*d, "CommandAdd"), Qt::LeftButton);

    EXPECT_EQ(column(*d, 0), QStringList({"Zoe B", "Anna"}));
    for (const char* f : {"Text3", "Text2", "Text1", "Text4", "Text5"})
        EXPECT_TRUE(edit(*d, f)->text().isEmpty()) << f;
    EXPECT_FALSE(button(*d, "UpdateButton")->isEnabled());

    d->close();
    EXPECT_EQ(book(), "Anna\t0301\t-\t-\t-\t-\r\nZoe B\t030123456\t0891234\t0170555\t-\t-\r\n");
}

TEST_F(PhoneBookTest, SelectingARowFillsTheFieldsAndShowsThePicture)
{
    const QString red = picture("red.png", Qt::red);
    const QString blue = picture("empty.jpg", Qt::blue);
    writeBook("Anna\t0301\t0302\t0170\t0800\t" + red.toUtf8() + "\r\nBert\t0309\t-\t-\t-\t/no/such.jpg\r\n");
    auto d = open();

    clickRow(*d, 0);
    EXPECT_EQ(edit(*d, "Text3")->text(), "Anna");
    EXPECT_EQ(edit(*d, "Text2")->text(), "0301");
    EXPECT_EQ(edit(*d, "Text1")->text(), "0302");
    EXPECT_EQ(edit(*d, "Text4")->text(), "0170");
    EXPECT_EQ(edit(*d, "Text5")->text(), "0800");
    EXPECT_TRUE(button(*d, "UpdateButton")->isEnabled());
    EXPECT_EQ(shownColour(*d), QColor(Qt::red));

    QTest::keyClick(grid(*d), Qt::Key_Down); // the keyboard moves the current cell too
    EXPECT_EQ(edit(*d, "Text3")->text(), "Bert");
    EXPECT_EQ(shownColour(*d), QColor(Qt::blue)); // a picture that does not load: empty.jpg

    clickRow(*d, 0, Qt::ShiftModifier); // two rows: no Update
    EXPECT_FALSE(button(*d, "UpdateButton")->isEnabled());

    clickRow(*d, 1);
    QTest::mouseClick(button(*d, "Command1"), Qt::LeftButton);
    EXPECT_TRUE(edit(*d, "Text3")->text().isEmpty());
    EXPECT_FALSE(button(*d, "UpdateButton")->isEnabled());
    EXPECT_EQ(shownColour(*d), QColor(Qt::black));
}

TEST_F(PhoneBookTest, UpdateReplacesNameAndNumbersButKeepsThePicture)
{
    writeBook("Anna\t0301\t-\t-\t-\t/pics/anna.jpg\r\nBert\t0302\t-\t-\t-\t-\r\n");
    auto d = open();
    clickRow(*d, 1);
    edit(*d, "Text3")->setText("Berta");
    edit(*d, "Text2")->setText("");
    edit(*d, "Text5")->setText("0999");
    QTest::mouseClick(button(*d, "UpdateButton"), Qt::LeftButton);
    const BookEntry& e = d->contacts().entry(1);
    EXPECT_EQ(QStringList({e.name, e.phone1, e.phone2, e.mobile, e.other, e.picture}),
        QStringList({"Berta", "-", "-", "-", "0999", "-"}));
    EXPECT_EQ(d->contacts().entry(0).picture, "/pics/anna.jpg");
    EXPECT_FALSE(button(*d, "UpdateButton")->isEnabled());
    EXPECT_TRUE(edit(*d, "Text3")->text().isEmpty());
}

TEST_F(PhoneBookTest, EnterAddsOrUpdatesAndReturnsToTheNameField)
{
    writeBook("Anna\t0301\t-\t-\t-\t-\r\n");
    auto d = open();

    // Update disabled, empty name (Enter or Add New): nothing added, the number kept, why said.
    edit(*d, "Text2")->setText("0123");
    edit(*d, "Text4")->setFocus();
    QTest::keyClick(edit(*d, "Text4"), Qt::Key_Return);
    QTest::mouseClick(button(*d, "CommandAdd"), Qt::LeftButton);
    EXPECT_EQ(d->contacts().rowCount(), 1);
    EXPECT_EQ(edit(*d, "Text2")->text(), "0123");
    EXPECT_EQ(informed.size(), 2);
    EXPECT_EQ(d->focusWidget(), edit(*d, "Text3"));

    // Update disabled, a name: added.
    edit(*d, "Text3")->setText("Bert");
    QTest::keyClick(edit(*d, "Text5"), Qt::Key_Enter);
    EXPECT_EQ(column(*d, 0), QStringList({"Bert", "Anna"}));
    EXPECT_TRUE(d->isVisible()); // Enter never closes the window

    // Update enabled: the current row is updated, nothing added.
    clickRow(*d, 1);
    edit(*d, "Text2")->setText("0777");
    QTest::keyClick(edit(*d, "Text2"), Qt::Key_Return);
    EXPECT_EQ(column(*d, 1), QStringList({"0123", "0777"}));
    EXPECT_EQ(d->focusWidget(), edit(*d, "Text3"));
}

TEST_F(PhoneBookTest, DeletesThreeRowsSelectedBottomUp)
{
    writeBook(kSix);
    auto d = open();
    clickRow(*d, 4);
    clickRow(*d, 2, Qt::ShiftModifier);
    deleteAnswer = false; // asked first: "no" keeps them
    QTest::keyClick(grid(*d), Qt::Key_Delete);
    EXPECT_EQ(d->contacts().rowCount(), 6);
    button(*d, "CommandDelete")->click(); // the button asks as the key does
    EXPECT_EQ(d->contacts().rowCount(), 6);
    deleteAnswer = true;
    QTest::keyClick(grid(*d), Qt::Key_Delete);
    EXPECT_EQ(deleteAsked, QStringList(3, "Delete the 3 selected contacts?"));
    QTest::keyClick(grid(*d), Qt::Key_Delete); // nothing left current: nothing asked, nothing deleted
    button(*d, "CommandDelete")->click();
    EXPECT_EQ(deleteAsked.size(), 3);
    EXPECT_EQ(column(*d, 0), QStringList({"Anna", "Bert", "Finn"}));
    EXPECT_FALSE(button(*d, "UpdateButton")->isEnabled());
    d->close();
    EXPECT_EQ(book(), "Anna\t0301111\t-\t-\t-\t-\r\nBert\t0302222\t-\t-\t-\t-\r\nFinn\t0306666\t-\t-\t-\t-\r\n");
}

TEST_F(PhoneBookTest, TitleClicksSortByTheirColumnInTheirDirection)
{
    const struct {
        const char* what;
        QByteArray book;
        int title, secondTitle;    // the direction turns round whichever title comes next
        QStringList first, second; // names after each click
    } cases[] = {
        // Numbers: descending first, ties by Phone 2 in the same direction, "-" below the numbers.
        {"Phone 1",
            "A\t9\t1\t-\t-\t-\r\nB\t100\t3\t-\t-\t-\r\nC\t-\t-\t-\t-\t-\r\nD\t25\t-\t-\t-\t-\r\n"
            "E\t100\t7\t-\t-\t-\r\n",
            1, 1, {"E", "B", "D", "A", "C"}, {"A", "D", "B", "E", "C"}},
        // The picture column sorts by name, descending; case-sensitive, "Zed" before "alpha".
        {"Picture", "Beta\t1\t-\t-\t-\t/a.jpg\r\nalpha\t2\t-\t-\t-\t/c.jpg\r\nZed\t3\t-\t-\t-\t/b.jpg\r\n", 5, 0,
            {"alpha", "Zed", "Beta"}, {"Beta", "Zed", "alpha"}},
    };
    for (const auto& c : cases) {
        writeBook(c.book);
        auto d = open();
        clickRow(*d, 0);
        ASSERT_TRUE(button(*d, "UpdateButton")->isEnabled());
        clickTitle(*d, c.title);
        EXPECT_EQ(column(*d, 0), c.first) << c.what;
        EXPECT_FALSE(button(*d, "UpdateButton")->isEnabled());
        clickTitle(*d, c.secondTitle);
        EXPECT_EQ(column(*d, 0), c.second) << c.what;
    }
}

TEST_F(PhoneBookTest, DoubleClickChoosesAPictureAndCancellingChangesNothing)
{
    const QString red = picture("red.png", Qt::red);
    const QString green = picture("green.png", Qt::green);
    writeFile("broken.jpg", "not a picture");
    writeBook("Anna\t0301\t-\t-\t-\t" + red.toUtf8() + "\r\n");
    QStringList answers = {QString(), green, path("broken.jpg")};
    QStringList filters;
    prompts.openPicture = [&](QWidget*, const QString& filter) {
        filters << filter;
        return answers.takeFirst();
    };
    auto d = open();
    clickRow(*d, 0);
    const QPoint cell = rowRect(*d, 0).center();

    QTest::mouseDClick(grid(*d)->viewport(), Qt::LeftButton, {}, cell); // cancelled
    EXPECT_EQ(d->contacts().entry(0).picture, red);
    EXPECT_EQ(shownColour(*d), QColor(Qt::red));

    QTest::mouseDClick(grid(*d)->viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(d->contacts().entry(0).picture, green);
    EXPECT_EQ(shownColour(*d), QColor(Qt::green));

    // The title row applies to the current contact too; a file that does not
    // load is stored, and the shown picture stays.
    QHeaderView* titles = grid(*d)->horizontalHeader();
    QTest::mouseDClick(titles->viewport(), Qt::LeftButton, {}, QPoint(10, titles->height() / 2));
    EXPECT_EQ(d->contacts().entry(0).picture, path("broken.jpg"));
    EXPECT_EQ(shownColour(*d), QColor(Qt::green));

    ASSERT_EQ(filters.size(), 3);
    EXPECT_EQ(filters[0], "All Picture files (*.*) |*.bmp;*.jpg;*.gif;*.png| BMP Files (*.bmp) |*.bmp| JPG Files "
                          "(*.jpg) |*.jpg| GIF Files (*.gif) |*.gif| PNG Files (*.png) |*.png");
}

TEST_F(PhoneBookTest, RestoresItsPlaceWithoutDriftKeepsTheHeightAndItsLeastWidth)
{
    SettingsStore::user().write("ScanLeftBook", "1500");
    SettingsStore::user().write("ScanTopBook", "junk"); // keeps the default 10
    SettingsStore::user().write("BookHeight", "6000");
    auto d = open();
    const int dpiX = d->logicalDpiX(), dpiY = d->logicalDpiY();
    EXPECT_EQ(d->pos(), QPoint(twipsToPixels(1500, dpiX), twipsToPixels(10, dpiY)));
    EXPECT_EQ(d->width(), twipsToPixels(8160, dpiX));
    EXPECT_EQ(d->height(), twipsToPixels(6000, dpiY));
    d->close();
    EXPECT_EQ(SettingsStore::user().read("ScanLeftBook"), "1500");
    EXPECT_EQ(SettingsStore::user().read("ScanTopBook"), "10");
    EXPECT_EQ(SettingsStore::user().read("BookHeight"), "6000");

    auto moved = open();
    moved->move(twipsToPixels(2880, dpiX), twipsToPixels(1440, dpiY));
    moved->resize(200, twipsToPixels(7200, dpiY));
    EXPECT_EQ(moved->width(), twipsToPixels(8160, dpiX));
    EXPECT_EQ(moved->height(), twipsToPixels(7200, dpiY));
    EXPECT_NEAR(*regional::toNumber(SettingsStore::user().read("BookHeight")), 7200, 1440.0 / dpiY);
    const int nameWidth = moved->findChild<QTableView*>("MSFlexGrid1")->columnWidth(0);
    moved->resize(twipsToPixels(8160, dpiX) + 200, 10); // wider stays: names and numbers get the room
    EXPECT_EQ(moved->width(), twipsToPixels(8160, dpiX) + 200);
    EXPECT_EQ(moved->findChild<QTableView*>("MSFlexGrid1")->columnWidth(0), nameWidth + 100);
    EXPECT_EQ(moved->height(), twipsToPixels(3500, dpiY));
    moved->close();
    EXPECT_NEAR(*regional::toNumber(SettingsStore::user().read("ScanLeftBook")), 2880, 1440.0 / dpiX);
    EXPECT_NEAR(*regional::toNumber(SettingsStore::user().read("ScanTopBook")), 1440, 1440.0 / dpiY);
}

// Short lines, a blank line, extra fields, a TAB at the end, LF alone and
// letters beyond Latin-1: read, sorted by name (numbers as text) and written
// back whole.
TEST_F(PhoneBookTest, BadLinesAreReadAndWrittenBackWithoutLoss)
{
    writeBook(readBytes(QStringLiteral(CORVANE_SOURCE_DIR "/tests/phonebook/data/bad_lines.book")));
    auto d = open();
    EXPECT_EQ(d->contacts().rowCount(), 7);
    d->close();
    EXPECT_GOLDEN("phonebook/data/bad_lines.expected", book());
}

TEST_F(PhoneBookTest, SearchFiltersRowsAndHiddenRowsAreStillSaved)
{
    writeBook("Anna\t0301111\t-\t-\t-\t-\r\n"
              "Bert\t0302222\t-\t0170111\t-\t-\r\n"
              "Joanne\t0303333\t-\t-\t-\t-\r\n");
    auto d = open();
    QTableView* list = grid(*d);
    auto shown = [&] {
        QStringList names;
        for (int r = 0; r < d->contacts().rowCount(); ++r)
            if (!list->isRowHidden(r))
                names << d->contacts().entry(r).name;
        return names;
    };
    QLineEdit* search = edit(*d, "TextSearch");
    const struct {
        const char* text;
        QStringList names;
    } cases[] = {
        {"ann", {"Anna", "Joanne"}},
        {"0170", {"Bert"}},
        {"0301 111", {"Anna"}},
        {"nobody", {}},
        {"", {"Anna", "Bert", "Joanne"}},
    };
    for (const auto& c : cases) {
        search->clear();
        QTest::keyClicks(search, c.text);
        EXPECT_EQ(shown(), c.names) << c.text;
    }

    // Update is off for a contact the search hides.
    clickRow(*d, 1);
    ASSERT_TRUE(button(*d, "UpdateButton")->isEnabled());
    QTest::keyClicks(search, "Jo");
    EXPECT_FALSE(button(*d, "UpdateButton")->isEnabled());
    search->clear();

    // A title click keeps the filter on the sorted rows; deleting a selection
    // never takes hidden rows with it.
    QTest::keyClicks(search, "0303");
    clickTitle(*d, 0);
    EXPECT_EQ(shown(), QStringList({"Joanne"}));
    search->clear();
    QTest::keyClicks(search, "n");
    clickRow(*d, 0);
    clickRow(*d, 2, Qt::ShiftModifier); // Joanne .. Anna, Bert hidden between
    ASSERT_TRUE(list->isRowHidden(1));
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(column(*d, 0), QStringList({"Bert"}));

    QTest::keyClicks(search, "zzz");
    d->close();
    EXPECT_EQ(book(), "Bert\t0302222\t-\t0170111\t-\t-\r\n");
}

// The folder is made read-only; a test running as root takes the identity
// of "nobody" meanwhile, since permissions do not bind root.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& path) : path_(path)
    {
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                         | QFile::ReadOther | QFile::ExeOther);
        if (geteuid() == 0)
            dropped_ = seteuid(65534) == 0;
    }
    ~ReadOnlyFolder()
    {
        if (dropped_)
            (void)seteuid(0);
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

private:
    QString path_;
    bool dropped_ = false;
};

// Anna's book with Bert added and not yet saved; every failed save is noted.
struct SaveFailure {
    QStringList warnings;
    bool closeAnyway = true;
    int afterSave = 0;
};

const QByteArray kOld = "Anna\t0301\t-\t-\t-\t-\r\n";

class SaveFailureTest : public PhoneBookTest {
protected:
    std::unique_ptr<DialogpBook> openUnsaved(SaveFailure& f)
    {
        writeBook(kOld);
        prompts.closeUnsaved = [&f](QWidget*, const QString& text) {
            f.warnings << text;
            return f.closeAnyway;
        };
        auto d = open([&f] { ++f.afterSave; });
        edit(*d, "Text3")->setText("Bert");
        QTest::mouseClick(button(*d, "CommandAdd"), Qt::LeftButton);
        return d;
    }
};

TEST_F(SaveFailureTest, AWriteProtectedFolderLeavesTheOldBookAndSaysSo)
{
    SaveFailure f;
    f.closeAnyway = false;
    auto d = openUnsaved(f);
    bool stillOpen = false;
    {
        ReadOnlyFolder readOnly(dir.path());
        d->close(); // the user keeps the window
        stillOpen = d->isVisible();
        f.closeAnyway = true;
        d->close();
    }
    EXPECT_TRUE(stillOpen);
    EXPECT_FALSE(d->isVisible());
    ASSERT_EQ(f.warnings.size(), 2);
    EXPECT_TRUE(f.warnings[0].contains("could not be saved")) << f.warnings[0].toStdString();
    EXPECT_TRUE(f.warnings[0].contains(bookPath())) << f.warnings[0].toStdString();
    EXPECT_EQ(book(), kOld);
    EXPECT_EQ(f.afterSave, 0);
}

// A full disk, made with a file size limit: the new book does not fit, and
// the old one must survive.
TEST_F(SaveFailureTest, AFullDiskLeavesTheOldBook)
{
    SaveFailure f;
    auto d = openUnsaved(f);

    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit tiny = saved;
    tiny.rlim_cur = 8;
    setrlimit(RLIMIT_FSIZE, &tiny);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    d->close();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(f.warnings.size(), 1);
    EXPECT_EQ(book(), kOld);
    EXPECT_EQ(f.afterSave, 0);
}

// A book.txt that cannot be read (here a directory in its place) is never
// written over: the title says so and closing asks like a failed save.
TEST_F(SaveFailureTest, AnUnreadableBookIsNeverWrittenOver)
{
    QDir().mkpath(bookPath() + "/keep");
    SaveFailure f;
    prompts.closeUnsaved = [&f](QWidget*, const QString& text) { return f.warnings << text, true; };
    auto d = open();
    EXPECT_TRUE(d->windowTitle().contains("could not be read"));
    d->close();
    EXPECT_EQ(f.warnings.size(), 1);
    EXPECT_TRUE(QFileInfo(bookPath()).isDir());
}

// The followed folder's contacts show below the book's, marked and read-only;
// none is written into book.txt.
TEST_F(PhoneBookTest, TheFollowedFoldersContactsAreShownReadOnlyAndNeverSaved)
{
    writeBook("Anna\t0301111\t-\t-\t-\t-\r\n");
    SettingsStore::user().write("ContactsFolder", QStringLiteral(CORVANE_SOURCE_DIR "/tests/phonebook/data/vdir"));
    auto d = open();
    QTableView* folder = child<QTableView>(*d, "GridFolder");
    EXPECT_TRUE(folder->isVisible());
    EXPECT_EQ(folder->model()->rowCount(), 5); // data/vdir.expected
    EXPECT_EQ(folder->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_TRUE(child<QLabel>(*d, "LabelFolder")->text().startsWith("Read only, from the address-book folder"));
    EXPECT_EQ(column(*d, 0), QStringList{"Anna"});
    // Both lists keep four rows at the first size, in the same columns, the
    // numbers written as the book writes them.
    QApplication::processEvents();
    for (QTableView* list : {grid(*d), folder})
        EXPECT_GE(list->viewport()->height(), 4 * list->rowHeight(0)) << list->objectName().toStdString();
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(folder->columnWidth(c), grid(*d)->columnWidth(c)) << c;
    QStringList phone2;
    for (int r = 0; r < folder->model()->rowCount(); ++r)
        phone2 << folder->model()->index(r, 2).data().toString();
    EXPECT_EQ(phone2.join(u' '), "- 0305550006 - 0305550002 -");
    d->close();
    EXPECT_EQ(book(), "Anna\t0301111\t-\t-\t-\t-\r\n");
}
