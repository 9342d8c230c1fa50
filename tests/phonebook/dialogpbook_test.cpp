// The phone book window driven through its elements, offscreen.
#include "phonebook_fixture.h"

#include "app/regional.h"

#include <QApplication>
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

int twipsToPixels(double twips, int dpi) { return qRound(twips * dpi / 1440.0); }

} // namespace

TEST_F(PhoneBookTest, OpensWithoutBookAsAnEmptyListWithTheSixTitles)
{
    auto d = open();
    EXPECT_EQ(d->windowTitle(), "Phone Book Manager");
    QTableView* list = grid(*d);
    EXPECT_EQ(list->model()->rowCount(), 0);
    const QStringList titles = {"Name", "Phone 1", "Phone 2", "Mobile", "Other", "Other"};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(list->model()->headerData(c, Qt::Horizontal).toString(), titles[c]);
    EXPECT_FALSE(button(*d, "UpdateButton")->isEnabled());
    EXPECT_EQ(button(*d, "CommandAdd")->text(), "Add New");
    EXPECT_EQ(button(*d, "Command1")->text(), "Clear");

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
            lines += "Anna Berger " + QByteArray::number(i) + "\t03012345678\t03098765432\t01701234567\t"
                     "04099887766\t/home/someone/Pictures/contacts/anna.jpg\r\n";
        writeBook(lines);
        auto d = open();
        QTableView* list = grid(*d);
        QApplication::processEvents();
        EXPECT_EQ(d->width(), twipsToPixels(8160, d->logicalDpiX()));
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

TEST_F(PhoneBookTest, AddingAlphaWithLettersForPhone1StoresDashes)
{
    writeBook("Zack\t0301\t-\t-\t-\t-\r\n");
    auto d = open();
    edit(*d, "Text3")->setText("Alpha");
    edit(*d, "Text2")->setText("abc");
    edit(*d, "Text4")->setText(" 0170555 ");
    QTest::mouseClick(button(*d, "CommandAdd"), Qt::LeftButton);

    const BookEntry& top = d->contacts().entry(0);
    EXPECT_EQ(top.name, "Alpha");
    EXPECT_EQ(QStringList({top.phone1, top.phone2, top.mobile, top.other}),
              QStringList({"-", "-", "0170555", "-"}));
    for (const char* f : {"Text3", "Text2", "Text1", "Text4", "Text5"})
        EXPECT_TRUE(edit(*d, f)->text().isEmpty()) << f;
    EXPECT_FALSE(button(*d, "UpdateButton")->isEnabled());

    d->close();
    EXPECT_EQ(book(), "Alpha\t-\t-\t0170555\t-\t-\r\nZack\t0301\t-\t-\t-\t-\r\n");
}

TEST_F(PhoneBookTest, NewContactGoesToTheTopUnsorted)
{
    writeBook("Anna\t1\t-\t-\t-\t-\r\n");
    auto d = open();
    clickRow(*d, 0); // a current contact moves down, the fields stay cleared
    edit(*d, "Text3")->setText("Zoe");
    QTest::mouseClick(button(*d, "CommandAdd"), Qt::LeftButton);
    EXPECT_EQ(column(*d, 0), QStringList({"Zoe", "Anna"}));
    EXPECT_TRUE(edit(*d, "Text3")->text().isEmpty());
    EXPECT_FALSE(button(*d, "UpdateButton")->isEnabled());
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
    edit(*d, "Text2")->setText("0302x");
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

    // Update disabled, empty name: nothing added, the fields are cleared.
    edit(*d, "Text2")->setText("0123");
    edit(*d, "Text4")->setFocus();
    QTest::keyClick(edit(*d, "Text4"), Qt::Key_Return);
    EXPECT_EQ(d->contacts().rowCount(), 1);
    EXPECT_TRUE(edit(*d, "Text2")->text().isEmpty());
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
    EXPECT_EQ(column(*d, 1), QStringList({"-", "0777"}));
    EXPECT_EQ(d->focusWidget(), edit(*d, "Text3"));
}

TEST_F(PhoneBookTest, DeletesThreeRowsSelectedBottomUp)
{
    writeBook(kSix);
    auto d = open();
    clickRow(*d, 4);
    clickRow(*d, 2, Qt::ShiftModifier);
    EXPECT_TRUE(button(*d, "UpdateButton")->isEnabled() == false);
    QTest::keyClick(grid(*d), Qt::Key_Delete);
    EXPECT_EQ(column(*d, 0), QStringList({"Anna", "Bert", "Finn"}));
    EXPECT_FALSE(button(*d, "UpdateButton")->isEnabled());
    d->close();
    EXPECT_EQ(book(), "Anna\t0301111\t-\t-\t-\t-\r\nBert\t0302222\t-\t-\t-\t-\r\nFinn\t0306666\t-\t-\t-\t-\r\n");
}

TEST_F(PhoneBookTest, DeletingTheOnlyContactLeavesTheTitlesAndAnEmptyBook)
{
    writeBook("Anna\t0301\t-\t-\t-\t-\r\n");
    auto d = open();
    clickRow(*d, 0);
    QTest::keyClick(grid(*d), Qt::Key_Delete);
    EXPECT_EQ(d->contacts().rowCount(), 0);
    EXPECT_EQ(grid(*d)->model()->headerData(0, Qt::Horizontal).toString(), "Name");
    d->close();
    EXPECT_EQ(book(), QByteArray());
}

TEST_F(PhoneBookTest, TitleClicksOnPhone1SortNumericallyDescendingThenAscending)
{
    writeBook("A\t9\t1\t-\t-\t-\r\n"
              "B\t100\t3\t-\t-\t-\r\n"
              "C\t-\t-\t-\t-\t-\r\n"
              "D\t25\t-\t-\t-\t-\r\n"
              "E\t100\t7\t-\t-\t-\r\n");
    auto d = open();
    clickRow(*d, 0);
    ASSERT_TRUE(button(*d, "UpdateButton")->isEnabled());

    clickTitle(*d, 1);
    EXPECT_EQ(column(*d, 0), QStringList({"E", "B", "D", "A", "C"})); // ties: Phone 2, same direction
    EXPECT_FALSE(button(*d, "UpdateButton")->isEnabled());
    clickTitle(*d, 1);
    EXPECT_EQ(column(*d, 0), QStringList({"A", "D", "B", "E", "C"})); // "-" stays below the numbers
}

TEST_F(PhoneBookTest, TitleClickOnThePictureColumnSortsByName)
{
    writeBook("Beta\t1\t-\t-\t-\t/a.jpg\r\nalpha\t2\t-\t-\t-\t/c.jpg\r\nZed\t3\t-\t-\t-\t/b.jpg\r\n");
    auto d = open();
    EXPECT_EQ(column(*d, 0), QStringList({"Beta", "Zed", "alpha"}));
    clickTitle(*d, 5);
    EXPECT_EQ(column(*d, 0), QStringList({"alpha", "Zed", "Beta"}));
    clickTitle(*d, 0);
    EXPECT_EQ(column(*d, 0), QStringList({"Beta", "Zed", "alpha"}));
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
    EXPECT_EQ(filters[0], "All Picture files (*.*) |*.bmp;*.jpg;*.gif| BMP Files (*.bmp) |*.bmp| JPG Files (*.jpg) "
                          "|*.jpg| GIF Files (*.gif) |*.gif");
}

TEST_F(PhoneBookTest, DoubleClickWithoutContactsOpensNoDialog)
{
    auto d = open(); // the fixture's picture prompt fails the test when called
    QTest::mouseDClick(grid(*d)->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
}

TEST_F(PhoneBookTest, WidthSnapsBackAndHeightIsKept)
{
    auto d = open();
    const int dpiX = d->logicalDpiX(), dpiY = d->logicalDpiY();
    EXPECT_EQ(d->width(), twipsToPixels(8160, dpiX));
    EXPECT_EQ(d->height(), twipsToPixels(5590, dpiY));

    d->resize(200, twipsToPixels(7200, dpiY));
    EXPECT_EQ(d->width(), twipsToPixels(8160, dpiX));
    EXPECT_EQ(d->height(), twipsToPixels(7200, dpiY));
    EXPECT_NEAR(*regional::toNumber(SettingsStore::user().read("BookHeight")), 7200, 1440.0 / dpiY);

    d->resize(2000, 10);
    EXPECT_EQ(d->width(), twipsToPixels(8160, dpiX));
    EXPECT_EQ(d->height(), twipsToPixels(3500, dpiY));
}

TEST_F(PhoneBookTest, RestoresAndSavesItsPlaceWithoutDrift)
{
    SettingsStore::user().write("ScanLeftBook", "1500");
    SettingsStore::user().write("ScanTopBook", "junk"); // keeps the default 10
    SettingsStore::user().write("BookHeight", "6000");
    auto d = open();
    const int dpiX = d->logicalDpiX(), dpiY = d->logicalDpiY();
    EXPECT_EQ(d->pos(), QPoint(twipsToPixels(1500, dpiX), twipsToPixels(10, dpiY)));
    EXPECT_EQ(d->height(), twipsToPixels(6000, dpiY));
    d->close();
    EXPECT_EQ(SettingsStore::user().read("ScanLeftBook"), "1500");
    EXPECT_EQ(SettingsStore::user().read("ScanTopBook"), "10");
    EXPECT_EQ(SettingsStore::user().read("BookHeight"), "6000");

    auto moved = open();
    moved->move(twipsToPixels(2880, dpiX), twipsToPixels(1440, dpiY));
    moved->close();
    EXPECT_NEAR(*regional::toNumber(SettingsStore::user().read("ScanLeftBook")), 2880, 1440.0 / dpiX);
    EXPECT_NEAR(*regional::toNumber(SettingsStore::user().read("ScanTopBook")), 1440, 1440.0 / dpiY);
}

TEST_F(PhoneBookTest, BadLinesAreReadAndWrittenBackWithoutLoss)
{
    writeBook("Zoë Müller\t0301234567\r\n"           // short line
              "\r\n"                                  // blank line
              "Bob\t12\r\n"                           // six characters
              "Carl\t1\t2\t3\t4\t/pic.jpg\textra\tmore\r\n" // extra fields
              "Dora\t5\t\t\t\t\t\r\n"                  // a TAB at the end
              "Łukasz Żak\t0221\t-\t-\t-\t-\n");      // LF only, letters beyond Latin-1
    auto d = open();
    EXPECT_EQ(d->contacts().rowCount(), 5);
    d->close();
    EXPECT_EQ(book(), QByteArray("Bob\t12\t\t\t\t-\r\n"
                                 "Carl\t1\t2\t3\t4\t/pic.jpg\r\n"
                                 "Dora\t5\t\t\t\t-\r\n"
                                 "Zoë Müller\t0301234567\t\t\t\t-\r\n"
                                 "Łukasz Żak\t0221\t-\t-\t-\t-\r\n"));
}

TEST_F(PhoneBookTest, SavingOrdersByNameThenNumbersAsText)
{
    writeBook("Ann\t9\t-\t-\t-\t-\r\nAnn\t10\t-\t-\t-\t-\r\nAl\t5\t-\t-\t-\t-\r\n");
    auto d = open();
    d->close();
    EXPECT_EQ(book(), "Al\t5\t-\t-\t-\t-\r\nAnn\t10\t-\t-\t-\t-\r\nAnn\t9\t-\t-\t-\t-\r\n");
}

TEST_F(PhoneBookTest, TabsTypedIntoANameCannotSplitTheLine)
{
    auto d = open();
    edit(*d, "Text3")->setText("Anna\tB");
    QTest::mouseClick(button(*d, "CommandAdd"), Qt::LeftButton);
    d->close();
    EXPECT_EQ(book(), "Anna B\t-\t-\t-\t-\t-\r\n");
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

TEST_F(PhoneBookTest, AfterSaveRunsOnceTheBookIsWritten)
{
    QByteArray seen;
    int calls = 0;
    auto d = open([&] {
        ++calls;
        seen = book();
    });
    edit(*d, "Text3")->setText("Anna");
    edit(*d, "Text2")->setText("0301");
    QTest::mouseClick(button(*d, "CommandAdd"), Qt::LeftButton);
    EXPECT_EQ(calls, 0);
    d->close();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seen, "Anna\t0301\t-\t-\t-\t-\r\n");
}

// The folder is made read-only; a test running as root takes the identity
// of "nobody" meanwhile, since permissions do not bind root.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& path) : path_(path)
    {
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                                         QFile::ReadOther | QFile::ExeOther);
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

struct SaveFailure {
    QStringList warnings;
    bool closeAnyway = false;
    int afterSave = 0;
};

TEST_F(PhoneBookTest, AWriteProtectedFolderLeavesTheOldBookAndSaysSo)
{
    const QByteArray old = "Anna\t0301\t-\t-\t-\t-\r\n";
    writeBook(old);
    SaveFailure f;
    prompts.closeUnsaved = [&](QWidget*, const QString& text) {
        f.warnings << text;
        return f.closeAnyway;
    };
    auto d = open([&] { ++f.afterSave; });
    edit(*d, "Text3")->setText("Bert");
    QTest::mouseClick(button(*d, "CommandAdd"), Qt::LeftButton);
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
    EXPECT_EQ(book(), old);
    EXPECT_EQ(f.afterSave, 0);
}

// A full disk, made with a file size limit: the new book does not fit, and
// the old one must survive.
TEST_F(PhoneBookTest, AFullDiskLeavesTheOldBook)
{
    const QByteArray old = "Anna\t0301\t-\t-\t-\t-\r\n";
    writeBook(old);
    SaveFailure f;
    prompts.closeUnsaved = [&](QWidget*, const QString& text) {
        f.warnings << text;
        return true;
    };
    auto d = open([&] { ++f.afterSave; });
    edit(*d, "Text3")->setText("Bert");
    QTest::mouseClick(button(*d, "CommandAdd"), Qt::LeftButton);

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
    EXPECT_EQ(book(), old);
    EXPECT_EQ(f.afterSave, 0);
}
