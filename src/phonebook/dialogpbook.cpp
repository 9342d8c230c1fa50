#include "phonebook/dialogpbook.h"

#include "common/program_folder.h"
#include "common/regional.h"
#include "common/settings_keys.h"
#include "common/settings_store.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QShortcut>
#include <QScopeGuard>
#include <QTableView>
#include <QTimer>
#include <optional>
#include <tuple>

namespace {

const char* const kTitle = QT_TRANSLATE_NOOP("DialogpBook", "Phone Book Manager");
constexpr double kMinHeightTwips = 3500;
constexpr double kFolderTwips = 3600; // the followed folder's label and list, below the book's
constexpr double kPictureTwips = 1500;

// "description|patterns|description|patterns" as the file dialog's filter
// text is written, in the form QFileDialog reads.
QString qtFilter(const QString& pipes)
{
    const QStringList parts = pipes.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1].trimmed();
        patterns.replace(u';', u' ');
        filters << parts[i].trimmed() + QStringLiteral(" (") + patterns + u')';
    }
    return filters.join(QStringLiteral(";;"));
}

QLineEdit* field(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false); // Enter in a field adds or updates, never clicks a button
    return b;
}

QLabel* label(QWidget* parent, const QString& text, QWidget* buddy)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QStringLiteral("Label") + buddy->objectName());
    l->setBuddy(buddy);
    return l;
}

// The question, counting itself in `asking` while it is open.
template <typename R, typename... A>
std::function<R(A...)> counted(std::function<R(A...)> ask, int& asking)
{
    if (!ask)
        return ask;
    return [ask = std::move(ask), &asking](A... a) -> R {
        ++asking;
        const auto done = qScopeGuard([&asking] { --asking; });
        return ask(a...);
    };
}

QString contactText(const BookEntry& e)
{
    return QStringList{e.name, e.phone1, e.phone2, e.mobile, e.other, e.picture}.join(u'\t');
}

bool sameNamesAndNumbers(const BookEntry& a, const BookEntry& b)
{
    return std::tie(a.name, a.phone1, a.phone2, a.mobile, a.other)
           == std::tie(b.name, b.phone1, b.phone2, b.mobile, b.other);
}

// The same contacts, whatever their order.
bool sameContacts(const QList<BookEntry>& a, const QList<BookEntry>& b)
{
    QStringList x, y;
    for (const BookEntry& e : a)
        x << contactText(e);
    for (const BookEntry& e : b)
        y << contactText(e);
    x.sort();
    y.sort();
    return x == y;
}

} // namespace

const char* const DialogpBook::kPictureFilter = QT_TRANSLATE_NOOP("DialogpBook",
    "All Picture files (*.*) |*.bmp;*.jpg;*.gif;*.png| BMP Files (*.bmp) |*.bmp| JPG Files (*.jpg) |*.jpg| GIF Files "
    "(*.gif) |*.gif| PNG Files (*.png) |*.png");

DialogpBook::Prompts DialogpBook::defaultPrompts()
{
    Prompts p;
    p.openPicture = [](QWidget* parent, const QString& filter) {
        const QString qt = qtFilter(filter);
        QString selected = qt.section(QStringLiteral(";;"), 0, 0);
        return QFileDialog::getOpenFileName(parent, QString(), QString(), qt, &selected);
    };
    p.openContactsFile = [](QWidget* parent) {
        return QFileDialog::getOpenFileName(parent, tr("Import contacts"), QString(),
            tr("Contacts (*.vcf *.csv *.txt);;vCard files (*.vcf);;CSV files (*.csv *.txt);;All files (*)"));
    };
    p.openFolder = [](QWidget* parent) { return QFileDialog::getExistingDirectory(parent, tr("Address-book folder")); };
    p.inform = [](QWidget* parent, const QString& text) { QMessageBox::information(parent, tr(kTitle), text); };
    p.closeUnsaved = [](QWidget* parent, const QString& text) {
        return QMessageBox::warning(parent, tr(kTitle), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               == QMessageBox::Yes;
    };
    p.confirmDelete = [](QWidget* parent, const QString& text) {
        return QMessageBox::question(parent, tr(kTitle), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               == QMessageBox::Yes;
    };
    return p;
}

DialogpBook::DialogpBook(QWidget* parent, std::function<void()> afterSave, std::unique_ptr<BookSource> source)
    : QDialog(parent), afterSave_(std::move(afterSave)),
      source_(source ? std::move(source) : std::make_unique<FileBook>(BookFile::defaultPath()))
{
    setObjectName(QStringLiteral("DialogpBook"));
    setPrompts(defaultPrompts());
    setWindowTitle(tr(kTitle));
    setModal(true);
    // The monitor's 8-point face: four 11-digit numbers, a name and the
    // picture column share the window's fixed width.
    QFont f = font();
    f.setPointSizeF(8.0);
    setFont(f);
    buildWindow();
    restoreGeometry();
    fitColumns();
    table_.setPictureText([source = source_.get()](const QString& picture) { return source->pictureText(picture); });
    ReadTheList();
    if (source_->keepsEachChange())
        showServiceLine();
    else
        showFolderContacts();
    follow_ = new QTimer(this);
    follow_->setSingleShot(true);
    connect(follow_, &QTimer::timeout, this, &DialogpBook::followBook);
    source_->follow([this] { follow_->start(0); });
}

// A change elsewhere must not come between a question and its answer, nor
// into a request of the window's own: each of them runs an event loop.
void DialogpBook::setPrompts(Prompts p)
{
    prompts_ = {counted(std::move(p.openPicture), asking_), counted(std::move(p.openContactsFile), asking_),
        counted(std::move(p.inform), asking_), counted(std::move(p.openFolder), asking_),
        counted(std::move(p.closeUnsaved), asking_), counted(std::move(p.confirmDelete), asking_)};
}

void DialogpBook::buildWindow()
{
    Text3 = field(this, "Text3");
    Text2 = field(this, "Text2");
    Text1 = field(this, "Text1");
    Text4 = field(this, "Text4");
    Text5 = field(this, "Text5");
    CommandAdd = button(this, "CommandAdd", tr("Add New"));
    UpdateButton = button(this, "UpdateButton", tr("Update"));
    Command1 = button(this, "Command1", tr("Clear"));
    CommandDelete = button(this, "CommandDelete", tr("Delete"));
    CommandDelete->setToolTip(tr("Deletes the selected contacts (key: Delete)"));
    CommandImport = button(this, "CommandImport", tr("Import..."));
    CommandImport->setToolTip(tr("Add contacts from a vCard (.vcf) or CSV file"));
    UpdateButton->setEnabled(false);
    CommandFolder = button(this, "CommandFolder", tr("Address book..."));
    CommandFolder->setToolTip(tr("Name callers from a folder of vCards kept by another program (vdirsyncer, khard)"));
    CommandNoFolder = button(this, "CommandNoFolder", tr("Stop following"));
    LabelFolder = new QLabel(this);
    LabelFolder->setObjectName(QStringLiteral("LabelFolder"));
    LabelFolder->setWordWrap(true);
    GridFolder = new QTableView(this);
    GridFolder->setObjectName(QStringLiteral("GridFolder"));
    GridFolder->setModel(&folderTable_);
    GridFolder->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridFolder->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridFolder->setWordWrap(false);
    GridFolder->verticalHeader()->hide();
    GridFolder->verticalHeader()->setDefaultSectionSize(GridFolder->fontMetrics().height() + 6);
    GridFolder->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    GridFolder->setStyleSheet(QStringLiteral("QTableView { color: palette(dark); }")); // not the user's own

    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setScaledContents(true); // the picture is stretched to the box
    Image2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Image2->setFixedSize(pixelsX(kPictureTwips), pixelsY(kPictureTwips));
    Image2->setToolTip(tr("Double-click a contact in the list to choose its picture"));

    TextSearch = field(this, "TextSearch");
    TextSearch->setPlaceholderText(tr("Search by name or number"));
    TextSearch->setClearButtonEnabled(true);

    MSFlexGrid1 = new QTableView(this);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->setModel(&table_);
    MSFlexGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    MSFlexGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    MSFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSFlexGrid1->setWordWrap(false);
    MSFlexGrid1->verticalHeader()->hide();
    MSFlexGrid1->verticalHeader()->setDefaultSectionSize(MSFlexGrid1->fontMetrics().height() + 6);
    QHeaderView* titles = MSFlexGrid1->horizontalHeader();
    titles->setSectionsClickable(true);
    titles->setHighlightSections(false);
    titles->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto* fields = new QGridLayout;
    fields->addWidget(label(this, tr("Name"), Text3), 0, 0, 1, 2);
    fields->addWidget(Text3, 1, 0, 1, 2);
    fields->addWidget(label(this, tr("Telephone 1"), Text2), 2, 0);
    fields->addWidget(label(this, tr("Telephone 2"), Text1), 2, 1);
    fields->addWidget(Text2, 3, 0);
    fields->addWidget(Text1, 3, 1);
    fields->addWidget(label(this, tr("Mobile"), Text4), 4, 0);
    fields->addWidget(label(this, tr("Other"), Text5), 4, 1);
    fields->addWidget(Text4, 5, 0);
    fields->addWidget(Text5, 5, 1);
    fields->setVerticalSpacing(2);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(CommandAdd);
    buttons->addWidget(UpdateButton);
    buttons->addWidget(Command1);
    buttons->addWidget(CommandDelete);
    buttons->addStretch();

    auto* top = new QHBoxLayout;
    top->addLayout(fields, 1);
    top->addLayout(buttons);
    top->addWidget(Image2, 0, Qt::AlignTop);

    auto* search = new QHBoxLayout;
    search->addWidget(label(this, tr("Search:"), TextSearch));
    search->addWidget(TextSearch, 1);
    search->addWidget(CommandImport);
    search->addWidget(CommandFolder);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(search);
    layout->addWidget(MSFlexGrid1, 1);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(LabelFolder, 1);
    folderRow->addWidget(CommandNoFolder);
    layout->addLayout(folderRow);
    layout->addWidget(GridFolder, 1);

    for (QLineEdit* f : {Text3, Text2, Text1, Text4, Text5})
        connect(f, &QLineEdit::returnPressed, this, &DialogpBook::fieldReturnPressed);
    connect(CommandAdd, &QPushButton::clicked, this, &DialogpBook::CommandAdd_Click);
    connect(UpdateButton, &QPushButton::clicked, this, &DialogpBook::UpdateButton_Click);
    connect(Command1, &QPushButton::clicked, this, &DialogpBook::Command1_Click);
    connect(CommandDelete, &QPushButton::clicked, this, &DialogpBook::deleteSelectedRows);
    // Ctrl+F goes to the search; Escape there clears it (elsewhere it closes the window).
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, TextSearch, [this] {
        TextSearch->setFocus();
        TextSearch->selectAll();
    });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), TextSearch, nullptr, nullptr, Qt::WidgetShortcut),
        &QShortcut::activated, TextSearch, &QLineEdit::clear);
    MSFlexGrid1->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* remove = new QAction(tr("Delete"), MSFlexGrid1);
    remove->setObjectName(QStringLiteral("ActionDeleteContacts"));
    connect(remove, &QAction::triggered, this, &DialogpBook::deleteSelectedRows);
    MSFlexGrid1->addAction(remove);
    connect(CommandImport, &QPushButton::clicked, this, &DialogpBook::CommandImport_Click);
    connect(CommandFolder, &QPushButton::clicked, this, &DialogpBook::CommandFolder_Click);
    connect(CommandNoFolder, &QPushButton::clicked, this, &DialogpBook::CommandNoFolder_Click);
    connect(TextSearch, &QLineEdit::textChanged, this, &DialogpBook::applySearch);
    connect(
        MSFlexGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
            if (current.isValid())
                showContact(current.row());
        });
    connect(titles, &QHeaderView::sectionClicked, this, &DialogpBook::titleClicked);
    connect(titles, &QHeaderView::sectionDoubleClicked, this, &DialogpBook::choosePicture);
    MSFlexGrid1->installEventFilter(this);
    MSFlexGrid1->viewport()->installEventFilter(this);
}

int DialogpBook::pixelsX(double twips) const
{
    return qRound(twips * logicalDpiX() / 1440.0);
}
int DialogpBook::pixelsY(double twips) const
{
    return qRound(twips * logicalDpiY() / 1440.0);
}
double DialogpBook::twipsX(int pixels) const
{
    return pixels * 1440.0 / logicalDpiX();
}
double DialogpBook::twipsY(int pixels) const
{
    return pixels * 1440.0 / logicalDpiY();
}

// A stored value that is no number, or out of any sensible range, leaves the
// default in place.
void DialogpBook::restoreGeometry()
{
    constexpr double kMostTwips = 100000;
    const SettingsStore& settings = SettingsStore::user();
    auto readInto = [&settings](QLatin1String key, double& value, double least) {
        const std::optional<double> v = regional::toNumber(settings.read(key));
        if (v && *v >= least && *v <= kMostTwips)
            value = *v;
    };
    readInto(key::ScanLeftBook, leftTwips_, -kMostTwips);
    readInto(key::ScanTopBook, topTwips_, -kMostTwips);
    readInto(key::BookHeight, heightTwips_, kMinHeightTwips);
    setMinimumWidth(pixelsX(kWidthTwips));
    setMinimumHeight(pixelsY(kMinHeightTwips));
    move(pixelsX(leftTwips_), pixelsY(topTwips_));
    resize(pixelsX(kWidthTwips), pixelsY(heightTwips_));
}

// The width and the height have their minimum (a wider window is not kept); every
// other height in the normal window state is kept as "BookHeight". The twips
// value is rewritten only when the pixels differ, so rounding never drifts.
void DialogpBook::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (width() != event->oldSize().width())
        spreadColumns();
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    if (height() == pixelsY(heightTwips_))
        return;
    heightTwips_ = twipsY(height());
    SettingsStore::user().write(key::BookHeight, regional::fromSingle(static_cast<float>(heightTwips_)));
}

// The folder's list gets room of its own: the window grows rather than the
// book's list giving up its rows.
void DialogpBook::showFolderSection(bool shown)
{
    CommandNoFolder->setVisible(shown);
    GridFolder->setVisible(shown);
    setMinimumHeight(pixelsY(kMinHeightTwips + (shown ? kFolderTwips : 0)));
}

// A service follows an address-book folder of its own (its --contacts): the
// window's folder is not offered there.
void DialogpBook::showServiceLine()
{
    CommandFolder->hide();
    LabelFolder->setText(tr("The phone book of corvane-monitor at %1: each change is saved there as it is made. "
                            "The service names callers from an address-book folder of its own (--contacts).")
                             .arg(source_->where()));
    showFolderSection(false);
}

void DialogpBook::savePosition()
{
    if (pos().x() != pixelsX(leftTwips_))
        leftTwips_ = twipsX(pos().x());
    if (pos().y() != pixelsY(topTwips_))
        topTwips_ = twipsY(pos().y());
    SettingsStore& settings = SettingsStore::user();
    settings.write(key::ScanLeftBook, regional::fromSingle(static_cast<float>(leftTwips_)));
    settings.write(key::ScanTopBook, regional::fromSingle(static_cast<float>(topTwips_)));
}

void DialogpBook::ReadTheList()
{
    BookSource::Outcome read = BookSource::Outcome::Done;
    QList<BookEntry> entries = source_->read(read);
    showBook(read, std::move(entries));
}

void DialogpBook::followBook()
{
    if (asking_ > 0 || source_->waiting() || closing_) {
        follow_->start(kFollowRetryMs);
        return;
    }
    BookSource::Outcome read = BookSource::Outcome::Done;
    QList<BookEntry> entries = source_->read(read);
    if (read != BookSource::Outcome::Done || sameContacts(entries, table_.entries()))
        return; // the window's own change, or one it cannot read: the next change of its own says so
    const QModelIndex current = MSFlexGrid1->currentIndex();
    const std::optional<BookEntry> was = current.isValid() && UpdateButton->isEnabled()
                                             ? std::optional(table_.entry(current.row()))
                                             : std::nullopt;
    showBook(read, std::move(entries));
    if (was && findAgain([&was](const BookEntry& e) { return sameNamesAndNumbers(e, *was); })) {
        showPicture(source_->pictureFile(table_.entry(MSFlexGrid1->currentIndex().row())));
        return;
    }
    MSFlexGrid1->selectionModel()->clear();
    UpdateButton->setEnabled(false);
}

void DialogpBook::showBook(BookSource::Outcome read, QList<BookEntry> entries)
{
    bookUnreadable_ = read != BookSource::Outcome::Done;
    QString title = tr(kTitle);
    if (source_->keepsEachChange())
        title = read == BookSource::Outcome::Gone
                    ? tr("%1 - corvane-monitor at %2 does not answer").arg(title, source_->where())
                    : tr("%1 - corvane-monitor at %2").arg(title, source_->where());
    setWindowTitle(read == BookSource::Outcome::Refused ? tr("%1 - book.txt could not be read").arg(title) : title);
    // Blank lines carry no contact; every other line is kept, however short,
    // so nothing in the file is lost by opening and closing the window.
    entries.removeIf([](const BookEntry& e) {
        for (int c = 0; c < ContactTable::ColumnCount; ++c)
            if (!contactField(e, c).trimmed().isEmpty())
                return false;
        return true;
    });
    table_.setEntries(std::move(entries));
    table_.sortByName();
    applySearch();
}

bool DialogpBook::SaveTheList()
{
    if (source_->keepsEachChange())
        return true; // each change went to the book as it was made
    if (bookUnreadable_)
        return false; // a book never read is never written over
    table_.sortForSaving();
    table_.fillEmptyPictures();
    return source_->save(table_.entries());
}

bool DialogpBook::applied(const BookSource::Change& change)
{
    const QString& at = source_->where();
    switch (change.outcome) {
    case BookSource::Outcome::Done: return true;
    case BookSource::Outcome::Refused:
        prompts_.inform(this, tr("corvane-monitor at %1 did not make this change: %2").arg(at, change.message));
        return false;
    case BookSource::Outcome::Stale:
        prompts_.inform(this, tr("The phone book at %1 was changed elsewhere (on the web page or in another window) "
                                 "since this window read it, so this change was not made. The window reads the book "
                                 "again; what you typed is still in the fields.")
                                  .arg(at));
        ReadTheList();
        UpdateButton->setEnabled(false);
        return false;
    case BookSource::Outcome::Gone: break;
    }
    prompts_.inform(this, tr("corvane-monitor at %1 does not answer (%2), so this change was not made. What you "
                             "typed is still in the fields: try again once the service runs.")
                              .arg(at, change.message));
    setWindowTitle(tr("%1 - corvane-monitor at %2 does not answer").arg(tr(kTitle), at));
    return false;
}

void DialogpBook::done(int result)
{
    if (!closing_) {
        const bool saved = SaveTheList();
        if (!saved) {
            const QString text = tr("The phone book could not be saved to\n%1\n\nThe file as it was before "
                                    "is unchanged. Close anyway and lose the changes made in this window?")
                                     .arg(QDir::toNativeSeparators(source_->where()));
            if (!prompts_.closeUnsaved(this, text))
                return;
        }
        closing_ = true;
        savePosition();
        if (saved && afterSave_ && !source_->keepsEachChange()) // a service names its calls itself
            afterSave_();
    }
    QDialog::done(result);
    closing_ = false;
}
