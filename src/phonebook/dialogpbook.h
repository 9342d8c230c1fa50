#pragma once
// The phone book window "Phone Book Manager": a sortable, searchable list of
// the contacts in book.txt with fields to add and update them, a picture per
// contact, and import from vCard and CSV files. Modal; it reads book.txt when
// it opens and writes it back when it closes. Below, read-only, the contacts
// of the address-book folder followed (kept in the settings). On the book of
// a corvane-monitor elsewhere each change goes to the service as it is made,
// and a change made there by others shows as it comes.
#include "phonebook/book_source.h"
#include "phonebook/contact_table.h"

#include <QDialog>
#include <array>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

class DialogpBook : public QDialog {
    Q_OBJECT
public:
    // afterSave runs once book.txt has been written on closing (the monitor
    // saves, empties and reloads its call list there, so names follow the book).
    // Without a `source` the window edits the program folder's book.txt.
    explicit DialogpBook(
        QWidget* parent, std::function<void()> afterSave = {}, std::unique_ptr<BookSource> source = {});

    // The questions the window asks the user; tests replace them.
    struct Prompts {
        // A picture file for the current contact, "" when cancelled. The filter
        // is in the "description|patterns|..." form of kPictureFilter.
        std::function<QString(QWidget* parent, const QString& filter)> openPicture;
        // A vCard or CSV file to import, "" when cancelled.
        std::function<QString(QWidget* parent)> openContactsFile;
        std::function<void(QWidget* parent, const QString& text)> inform;
        // The address-book folder to follow, "" when cancelled.
        std::function<QString(QWidget* parent)> openFolder;
        // book.txt could not be written: true closes the window anyway.
        std::function<bool(QWidget* parent, const QString& text)> closeUnsaved;
        // Before contacts are deleted: true deletes them.
        std::function<bool(QWidget* parent, const QString& text)> confirmDelete;
    };
    static Prompts defaultPrompts();
    void setPrompts(Prompts prompts);

    static const char* const kPictureFilter;    // translated where used
    static constexpr double kWidthTwips = 8160; // the width it opens at and its least; the height is the user's
    static constexpr int kFollowRetryMs = 200;  // a change elsewhere waits while the window asks or waits itself

    ContactTable& contacts() { return table_; }

    void CommandAdd_Click();
    void UpdateButton_Click();
    void Command1_Click();
    void CommandImport_Click();
    // "Address book ...": follow a folder of vCards; "Stop following" ends it.
    void CommandFolder_Click();
    void CommandNoFolder_Click();
    // The followed folder's contacts, read-only below the book's.
    void showFolderContacts();
    void showFolderSection(bool shown);
    // On a service's book: the line that says so, in place of the folder's section.
    void showServiceLine();
    void ReadTheList();
    // The book changed elsewhere: read again, unless it holds what the list
    // shows. What is typed in the fields stays, so does the current contact
    // while the book has it.
    void followBook();
    bool SaveTheList();

    // Closing saves first; when saving fails and the user keeps the window,
    // it stays open.
    void done(int result) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void restoreGeometry();
    void fitColumns();
    // A window wider than it opens: the names and numbers share the room.
    void spreadColumns();
    int fittingWidth(int column) const;
    std::array<int, ContactTable::ColumnCount> columnBase_{}; // the widths at the opening width
    void savePosition();
    int pixelsX(double twips) const;
    int pixelsY(double twips) const;
    double twipsX(int pixels) const;
    double twipsY(int pixels) const;

    void showContact(int row);
    void showPicture(const QString& path);
    void listMouseReleased();
    void titleClicked(int column);
    void choosePicture();
    void deleteSelectedRows();
    void fieldReturnPressed();
    void applySearch();
    // The number fields as the lookup compares them; false, with a word naming the field, when one is no number.
    bool readNumbers();
    void clearFields();
    bool addContact(); // false: no name, nothing added
    // True when the change was made; else says why, and reads a book that
    // changed meanwhile again. What was typed stays in the fields.
    bool applied(const BookSource::Change& change);
    void showBook(BookSource::Outcome read, QList<BookEntry> entries);
    // After reading again: the first shown contact that is `same` becomes the
    // current row, with the fields as they are, for another Update; false
    // when there is none.
    bool findAgain(const std::function<bool(const BookEntry&)>& same);

    std::function<void()> afterSave_;
    Prompts prompts_;
    int asking_ = 0; // a question of prompts_ is open
    QTimer* follow_ = nullptr;
    ContactTable table_;
    std::unique_ptr<BookSource> source_;
    int sortDirection_ = 0; // 7 ascending, 8 descending: the last title click
    double leftTwips_ = 10, topTwips_ = 10, heightTwips_ = 5590;
    bool closing_ = false;
    bool bookUnreadable_ = false; // the file exists but could not be read

    QLineEdit* Text3 = nullptr; // Name
    QLineEdit* Text2 = nullptr; // Telephone 1
    QLineEdit* Text1 = nullptr; // Telephone 2
    QLineEdit* Text4 = nullptr; // Mobile
    QLineEdit* Text5 = nullptr; // Other
    QPushButton* CommandAdd = nullptr;
    QPushButton* UpdateButton = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* CommandDelete = nullptr; // the Delete key's action, where it is seen
    QPushButton* CommandImport = nullptr;
    QLineEdit* TextSearch = nullptr;
    QLabel* Image2 = nullptr;
    QTableView* MSFlexGrid1 = nullptr;
    QPushButton* CommandFolder = nullptr;
    QPushButton* CommandNoFolder = nullptr;
    QLabel* LabelFolder = nullptr;
    QTableView* GridFolder = nullptr;
    ContactTable folderTable_; // shown only, never saved
};
