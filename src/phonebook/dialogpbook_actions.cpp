// What the user does in the phone book window: selecting, adding, updating,
// clearing, sorting, deleting, pictures, searching and importing.
#include "common/settings_keys.h"
#include "common/settings_store.h"
#include "phonebook/contact_fields.h"
#include "phonebook/contact_folder.h"
#include "phonebook/contact_import.h"
#include "phonebook/dialogpbook.h"
#include "phonebook/number_place.h"
#include "phonebook/phone_to_name.h"

#include "common/program_folder.h"

#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>

void DialogpBook::showContact(int row)
{
    if (row < 0 || row >= table_.rowCount())
        return;
    const BookEntry& e = table_.entry(row);
    Text3->setText(e.name);
    Text2->setText(e.phone1);
    Text1->setText(e.phone2);
    Text4->setText(e.mobile);
    Text5->setText(e.other);
    showPicture(source_->pictureFile(e));
    UpdateButton->setEnabled(true);
}

// "-", an empty cell or a file that does not load shows empty.jpg; when that
// is missing too, the box stays empty.
void DialogpBook::showPicture(const QString& path)
{
    QPixmap picture;
    if (path.size() < 2 || !picture.load(path))
        picture.load(ProgramFolder::filePath(QStringLiteral("empty.jpg")));
    if (picture.isNull())
        Image2->clear();
    else
        Image2->setPixmap(picture);
}

// A release over the rows: Update is enabled only for a single selected row.
void DialogpBook::listMouseReleased()
{
    UpdateButton->setEnabled(false);
    const QModelIndexList rows = MSFlexGrid1->selectionModel()->selectedRows();
    if (rows.size() == 1)
        showContact(rows.first().row());
}

// Keys from the clicked column to Other; the picture column sorts by name.
// The first click after opening sorts descending (the list is ascending by
// name already), and each click turns the direction round.
void DialogpBook::titleClicked(int column)
{
    UpdateButton->setEnabled(false);
    if (sortDirection_ != 7 && sortDirection_ != 8)
        sortDirection_ = 7;
    const int first = column >= ContactTable::Name && column <= ContactTable::Other ? column : ContactTable::Name;
    const bool descending = sortDirection_ == 7;
    table_.sortByTitle(first, descending);
    sortDirection_ = descending ? 8 : 7;
    applySearch();
}

void DialogpBook::choosePicture()
{
    const int row = MSFlexGrid1->currentIndex().row();
    if (row < 0 || row >= table_.rowCount())
        return;
    const QString path = prompts_.openPicture(this, tr(kPictureFilter));
    if (path.isEmpty())
        return; // cancelled
    const BookSource::Change change = source_->setPicture(table_.entry(row), contact_fields::singleLine(path));
    if (!applied(change))
        return;
    table_.setPicture(row, change.entry.picture);
    QPixmap picture;
    if (picture.load(path))
        Image2->setPixmap(picture);
}

// The selected rows that are shown, once the user said yes; rows hidden by the
// search stay, even when they lie inside the selected range.
void DialogpBook::deleteSelectedRows()
{
    QList<int> rows;
    for (const QModelIndex& index : MSFlexGrid1->selectionModel()->selectedRows())
        if (!MSFlexGrid1->isRowHidden(index.row()))
            rows << index.row();
    const QModelIndex current = MSFlexGrid1->currentIndex();
    if (rows.isEmpty() && current.isValid() && !MSFlexGrid1->isRowHidden(current.row()))
        rows << current.row();
    if (rows.isEmpty())
        return;
    const QString question = rows.size() == 1 ? tr("Delete the selected contact?")
                                              : tr("Delete the %1 selected contacts?").arg(rows.size());
    if (!prompts_.confirmDelete(this, question))
        return;
    std::sort(rows.begin(), rows.end(), std::greater<>());
    for (int row : rows)
        if (applied(source_->remove(table_.entry(row))))
            table_.removeRows(row, 1);
        else
            return; // the list was read again, or the rest stays
    // Nothing is left current: a second press must not take the next contact.
    MSFlexGrid1->selectionModel()->clear();
    clearFields();
    UpdateButton->setEnabled(false);
}

bool DialogpBook::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == MSFlexGrid1->viewport()) {
        if (event->type() == QEvent::MouseButtonRelease)
            listMouseReleased();
        else if (event->type() == QEvent::MouseButtonDblClick)
            choosePicture();
    } else if (watched == MSFlexGrid1 && event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete && !key->isAutoRepeat())
            deleteSelectedRows();
    }
    return QDialog::eventFilter(watched, event);
}

// "030 123 45-6" and "+49 (0)89 1234" are kept as their digits; an empty
// field is "-"; a text that is no number is refused, naming its field, and
// stays for the user to mend.
bool DialogpBook::readNumbers()
{
    const NumberPlace numbers(numberforms::planFrom(SettingsStore::user()));
    const std::pair<QLineEdit*, QString> fields[] = {
        {Text2, tr("Telephone 1")}, {Text1, tr("Telephone 2")}, {Text4, tr("Mobile")}, {Text5, tr("Other")}};
    QList<QString> read;
    for (const auto& [field, caption] : fields) {
        const QString typed = contact_fields::singleLine(field->text()).trimmed();
        const std::optional<QString> digits = typed.isEmpty() || typed == QLatin1String("-")
                                                  ? std::optional<QString>(QStringLiteral("-"))
                                                  : numbers.digitsOf(typed);
        if (!digits) {
            prompts_.inform(this, tr("%1: \"%2\" is not a phone number. Type its digits (spaces, dashes, "
                                     "brackets and a leading + are fine), or leave the field empty.")
                                      .arg(caption, typed));
            field->setFocus();
            return false;
        }
        read << *digits;
    }
    for (int i = 0; i < 4; ++i)
        fields[i].first->setText(read[i]);
    return true;
}

void DialogpBook::clearFields()
{
    for (QLineEdit* f : {Text3, Text2, Text1, Text4, Text5})
        f->clear();
}

void DialogpBook::CommandAdd_Click()
{
    addContact();
}

// The new contact goes to the top of the list and stays there until the next
// sort; its picture cell is empty ("-" once saved). Without a name nothing is
// added and what was typed stays, with a word why (an empty form: nothing).
bool DialogpBook::addContact()
{
    const QString name = contact_fields::singleLine(Text3->text());
    if (name.trimmed().isEmpty()) {
        const QLineEdit* fields[] = {Text2, Text1, Text4, Text5};
        if (std::any_of(std::begin(fields), std::end(fields), [](const QLineEdit* f) { return !f->text().isEmpty(); }))
            prompts_.inform(this, tr("A contact needs a name. Type it in the Name field, then choose Add New again."));
        Text3->setFocus();
        return false;
    }
    if (!readNumbers())
        return false;
    const BookSource::Change change = source_->add(
        {name, Text2->text(), Text1->text(), Text4->text(), Text5->text(), {}});
    if (!applied(change))
        return false;
    UpdateButton->setEnabled(false);
    table_.insertContact(0, change.entry);
    clearFields();
    return true;
}

void DialogpBook::UpdateButton_Click()
{
    const int row = MSFlexGrid1->currentIndex().row();
    if (!readNumbers())
        return;
    if (row >= 0 && !MSFlexGrid1->isRowHidden(row)) {
        const BookEntry was = table_.entry(row);
        const BookSource::Change change = source_->replace(
            was, {contact_fields::singleLine(Text3->text()), Text2->text(), Text1->text(), Text4->text(), Text5->text(),
                     {}});
        if (!applied(change)) {
            if (change.outcome == BookSource::Outcome::Stale)
                findAgain([&was](const BookEntry& e) { return e.name == was.name; });
            return;
        }
        table_.replaceContact(row, change.entry);
        table_.setPicture(row, change.entry.picture);
    }
    clearFields();
    UpdateButton->setEnabled(false);
}

void DialogpBook::Command1_Click()
{
    clearFields();
    UpdateButton->setEnabled(false);
    Image2->clear();
}

void DialogpBook::fieldReturnPressed()
{
    if (UpdateButton->isEnabled()) {
        UpdateButton_Click();
    } else if (addContact()) {
        Command1_Click();
    }
    Text3->setFocus();
}

void DialogpBook::applySearch()
{
    const QString text = TextSearch->text();
    for (int r = 0; r < table_.rowCount(); ++r)
        MSFlexGrid1->setRowHidden(r, !contactMatches(table_.entry(r), text));
    // A contact the search hides cannot be overwritten unseen.
    const QModelIndex current = MSFlexGrid1->currentIndex();
    if (current.isValid() && MSFlexGrid1->isRowHidden(current.row()))
        UpdateButton->setEnabled(false);
}

// Imported contacts go to the top of the list in the file's order, like
// contacts added by hand; those already in the book are left out.
void DialogpBook::CommandImport_Click()
{
    const QString path = prompts_.openContactsFile(this);
    if (path.isEmpty())
        return;
    const ContactImport read = contact_import::readFile(path);
    if (!read.error.isEmpty()) {
        prompts_.inform(this, tr("The contacts could not be read from\n%1\n\n%2").arg(path, read.error));
        return;
    }
    QList<BookEntry> contacts = read.contacts;
    for (qsizetype i = 0; i < contacts.size(); ++i)
        if (const QString saved = contact_import::savePicture(source_->importFolder(), read.photos.value(i));
            !saved.isEmpty())
            contacts[i].picture = saved;
    int duplicates = 0;
    const QList<BookEntry> fresh = contact_import::newContactsOnly(table_.entries(), contacts, &duplicates);
    int imported = 0, refused = 0;
    QString why;
    for (const BookEntry& contact : fresh) {
        const BookSource::Change change = source_->add(contact);
        if (change.outcome == BookSource::Outcome::Refused) {
            ++refused;
            why = change.message;
            continue;
        }
        if (!applied(change))
            break; // said why; the rest is not imported
        table_.insertContact(imported++, change.entry);
    }
    applySearch();
    QString text = imported == 1 ? tr("1 contact imported.") : tr("%1 contacts imported.").arg(imported);
    if (refused > 0)
        text += tr("\n%n not taken by corvane-monitor (%1).", nullptr, refused).arg(why);
    if (duplicates > 0)
        text += tr("\n%n already in the phone book, left out.", nullptr, duplicates);
    if (read.unusable > 0)
        text += tr("\n%n without a name, left out.", nullptr, read.unusable);
    if (read.unreadNumbers > 0)
        text += tr("\nNumbers that are no phone number, left out: %1.").arg(read.unreadNumbers);
    prompts_.inform(this, text);
}

void DialogpBook::CommandFolder_Click()
{
    const QString folder = prompts_.openFolder(this);
    if (folder.isEmpty())
        return;
    SettingsStore::user().write(key::ContactsFolder, folder);
    showFolderContacts();
}

void DialogpBook::CommandNoFolder_Click()
{
    SettingsStore::user().write(key::ContactsFolder, QString());
    showFolderContacts();
}

// Read here for the view only: the pictures go to a scratch folder, so the
// monitor's copies of the followed folder's pictures stay as they are.
void DialogpBook::showFolderContacts()
{
    const QString folder = SettingsStore::user().read(key::ContactsFolder);
    const QTemporaryDir scratch;
    ContactFolder::Contents c = folder.isEmpty() ? ContactFolder::Contents{}
                                                 : ContactFolder::read(folder, scratch.path());
    const NumberPlan plan = numberforms::planFrom(SettingsStore::user());
    for (BookEntry& e : c.contacts) {
        e.picture = e.picture == QLatin1String("-") ? e.picture : tr("(photo)");
        // Shown as callers' numbers arrive and the book writes them: "+49 30 ..." as "030...".
        for (QString* number : {&e.phone1, &e.phone2, &e.mobile, &e.other})
            if (const QString form = numberforms::national(*number, plan); !form.isEmpty())
                *number = form;
    }
    LabelFolder->setText(
        folder.isEmpty()
            ? tr("No address-book folder followed.")
            : tr("Read only, from the address-book folder %1 (contacts: %2); the book's entries win, none is "
                 "written into it:")
                  .arg(QDir::toNativeSeparators(folder))
                  .arg(c.contacts.size()));
    folderTable_.setEntries(std::move(c.contacts));
    folderTable_.sortByName();
    showFolderSection(!folder.isEmpty());
}

// The same contact, as the book holds it now, becomes the current row; the
// fields keep what was typed (showing the contact would overwrite them).
bool DialogpBook::findAgain(const std::function<bool(const BookEntry&)>& same)
{
    for (int r = 0; r < table_.rowCount(); ++r)
        if (same(table_.entry(r)) && !MSFlexGrid1->isRowHidden(r)) {
            {
                const QSignalBlocker quiet(MSFlexGrid1->selectionModel());
                MSFlexGrid1->setCurrentIndex(table_.index(r, 0));
            }
            MSFlexGrid1->viewport()->update();
            UpdateButton->setEnabled(true);
            return true;
        }
    return false;
}
