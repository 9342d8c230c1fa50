#pragma once
// The phone book in memory: the model behind the window's list MSFlexGrid1.
// Model row r is the grid's row r + 1 (the grid's row 0 is the title row,
// here the header). Six columns in the order of a book.txt line.
#include "phonebook/book_file.h"

#include <QAbstractTableModel>
#include <QList>
#include <functional>

class ContactTable : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Name, Phone1, Phone2, Mobile, Other, Picture, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

    const QList<BookEntry>& entries() const { return entries_; }
    const BookEntry& entry(int row) const { return entries_.at(row); }
    void setEntries(QList<BookEntry> entries);
    void insertContact(int row, const BookEntry& entry);
    // Columns Name to Other; the picture stays.
    void replaceContact(int row, const BookEntry& entry);
    void setPicture(int row, const QString& path);
    // How the picture column shows a picture (its path, as it is, without one).
    void setPictureText(std::function<QString(const QString&)> text) { pictureText_ = std::move(text); }

    // Order on opening: ascending by name, case-sensitive.
    void sortByName();
    // Order written to book.txt: ascending by Name, then the four numbers, all
    // compared as case-sensitive texts.
    void sortForSaving();
    // Order after a title click: keys `column` .. Other; the name compares as
    // case-sensitive text, numbers numerically. A cell that is not a number
    // goes below every number in either direction.
    void sortByTitle(int column, bool descending);
    // A picture cell shorter than 2 characters becomes "-", as it is saved.
    void fillEmptyPictures();

private:
    // Rows keep their numbers across a sort, as in the grid: the current row and
    // the selection stay where they are and show other contacts.
    void reorder(const std::function<bool(const BookEntry&, const BookEntry&)>& less);

    QList<BookEntry> entries_;
    std::function<QString(const QString&)> pictureText_;
};

// The search field's test: the name contains the text (any case) or one of the
// four numbers contains it. Blanks in the text are ignored for the numbers, so
// "030 12" finds 03012345.
bool contactMatches(const BookEntry& entry, const QString& text);
