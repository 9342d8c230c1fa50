#pragma once
// A phone book window over a temporary program folder and settings file, with
// the window's questions answered by the test.
#include "common/program_folder.h"
#include "common/settings_store.h"
#include "common/test_files.h"
#include "phonebook/dialogpbook.h"

#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

class PhoneBookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ProgramFolder::setPath(dir.path());
        SettingsStore::useFileForUser(dir.filePath(QStringLiteral("settings.ini")));
        prompts.openPicture = [](QWidget*, const QString&) {
            ADD_FAILURE() << "unexpected picture dialog";
            return QString();
        };
        prompts.openContactsFile = [](QWidget*) {
            ADD_FAILURE() << "unexpected import dialog";
            return QString();
        };
        prompts.inform = [this](QWidget*, const QString& text) { informed << text; };
        prompts.confirmDelete = [this](QWidget*, const QString& text) {
            deleteAsked << text;
            return deleteAnswer;
        };
        prompts.closeUnsaved = [](QWidget*, const QString& text) {
            ADD_FAILURE() << "unexpected save failure: " << text.toStdString();
            return true;
        };
    }

    QString path(const QString& name) const { return dir.filePath(name); }
    QString bookPath() const { return path(QStringLiteral("book.txt")); }

    void writeFile(const QString& name, const QByteArray& bytes) const { writeBytes(path(name), bytes); }
    QByteArray readFile(const QString& name) const { return readBytes(path(name)); }
    void writeBook(const QByteArray& bytes) const { writeFile(QStringLiteral("book.txt"), bytes); }
    QByteArray book() const { return readFile(QStringLiteral("book.txt")); }

    // A one-colour picture, so the picture box shows which file it loaded.
    QString picture(const QString& name, Qt::GlobalColor colour) const
    {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(colour);
        EXPECT_TRUE(image.save(path(name)));
        return path(name);
    }

    std::unique_ptr<DialogpBook> open(std::function<void()> afterSave = {}, std::unique_ptr<BookSource> source = {})
    {
        auto d = std::make_unique<DialogpBook>(nullptr, std::move(afterSave), std::move(source));
        d->setPrompts(prompts);
        d->show();
        return d;
    }

    template <typename T>
    static T* child(const DialogpBook& d, const char* name)
    {
        T* w = d.findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static QTableView* grid(const DialogpBook& d) { return child<QTableView>(d, "MSFlexGrid1"); }
    static QLineEdit* edit(const DialogpBook& d, const char* name) { return child<QLineEdit>(d, name); }
    static QPushButton* button(const DialogpBook& d, const char* name) { return child<QPushButton>(d, name); }

    // The colour in the middle of the picture box (JPEG may shift it a little),
    // or black when the box is empty.
    static QColor shownColour(const DialogpBook& d)
    {
        const QPixmap pm = child<QLabel>(d, "Image2")->pixmap();
        if (pm.isNull())
            return Qt::black;
        const QColor c = pm.toImage().pixelColor(pm.width() / 2, pm.height() / 2);
        auto snap = [](int v) { return v > 200 ? 255 : (v < 55 ? 0 : v); };
        return QColor(snap(c.red()), snap(c.green()), snap(c.blue()));
    }

    static QRect rowRect(const DialogpBook& d, int row)
    {
        QTableView* v = grid(d);
        return v->visualRect(v->model()->index(row, 0));
    }
    static void clickRow(const DialogpBook& d, int row, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseClick(grid(d)->viewport(), Qt::LeftButton, mods, rowRect(d, row).center());
    }
    static void clickTitle(const DialogpBook& d, int column)
    {
        QHeaderView* h = grid(d)->horizontalHeader();
        grid(d)->horizontalScrollBar()->setValue(h->sectionPosition(column));
        const int x = h->sectionViewportPosition(column) + 4;
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(x, h->height() / 2));
    }

    // Column `column` of every row, top to bottom.
    static QStringList column(DialogpBook& d, int column)
    {
        QStringList out;
        for (const BookEntry& e : d.contacts().entries())
            out << contactField(e, column);
        return out;
    }

    QTemporaryDir dir;
    DialogpBook::Prompts prompts;
    QStringList informed, deleteAsked;
    bool deleteAnswer = true;
};
