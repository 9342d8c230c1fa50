// Enter and Escape in every dialog and question of the program, pressed where
// the focus is when it opens: Enter runs the default button, Escape cancels or
// closes. One line per window and key, against data/dialog_keys.expected.
#include "window_fixture.h"

#include "app/single_instance.h"
#include "app/startup.h"
#include "common/golden.h"
#include "monitor/engine/call_list.h"
#include "monitor/window/call_grid.h"
#include "monitor/window/formmonitor_settings.h"
#include "monitor/window/number_settings.h"
#include "monitor/window/statistics_window.h"
#include "phonebook/dialogpbook.h"
#include "ui/dialog.h"
#include "ui/frmabout.h"
#include "ui/help_window.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMetaEnum>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace {

struct Key {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};
const Key kEnter{"Enter", Qt::Key_Return, Qt::NoModifier};
const Key kEscape{"Escape", Qt::Key_Escape, Qt::NoModifier};
const Key kCtrlEnter{"Ctrl+Enter", Qt::Key_Return, Qt::ControlModifier};

// The key where the focus is in `window`, once the window is active.
void press(QWidget& window, const Key& key)
{
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window)) << window.objectName().toStdString();
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus && focus->window() == &window ? focus : &window, key.key, key.modifiers);
}

// What became of `window` after the key.
QString outcome(QWidget& window)
{
    if (window.isVisible())
        return QStringLiteral("stays open");
    if (const auto* dialog = qobject_cast<QDialog*>(&window))
        return dialog->result() == QDialog::Accepted ? QStringLiteral("accepted") : QStringLiteral("rejected");
    return QStringLiteral("closed");
}

// Presses `key` in the question the next modal loop shows; one that the key
// leaves open is noted and closed, so the test goes on.
void pressInNextQuestion(const Key& key, bool& leftOpen)
{
    leftOpen = false;
    QTimer::singleShot(0, [key, &leftOpen] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!box)
            return;
        press(*box, key);
        leftOpen = box->isVisible();
        if (leftOpen)
            box->done(-1);
    });
}

QString yesNo(bool yes)
{
    return yes ? QStringLiteral("Yes") : QStringLiteral("No");
}

QString buttonName(QMessageBox::StandardButton b)
{
    return QString::fromLatin1(QMetaEnum::fromType<QMessageBox::StandardButtons>().valueToKey(b));
}

} // namespace

TEST_F(WindowTest, EnterRunsTheDefaultButtonAndEscapeCancelsInEveryDialog)
{
    writeText(QStringLiteral("help.htm"), "<h1>Help</h1>");
    const QString ignorePath = dir.filePath(QStringLiteral("ignore.txt"));
    CallList calls;
    form = std::make_unique<Form1>(at);
    QString got;

    // The windows: each made anew for every key.
    struct Window {
        const char* name;
        std::function<std::unique_ptr<QWidget>()> make;
        std::vector<Key> keys;
    };
    const Window windows[] = {
        {"port options", [&] { return std::make_unique<Dialog>(at); }, {kEnter, kEscape}},
        {"about", [] { return std::make_unique<frmAbout>(); }, {kEnter, kEscape}},
        {"monitor settings",
            [&] {
                auto d = std::make_unique<FormMonitorSettings>(settings(), waveLog, std::function<void()>{});
                d->Form_Load();
                return d;
            },
            {kEnter, kEscape}},
        {"own numbers", [&] { return std::make_unique<OwnNumbersDialog>(settings()); }, {kEnter, kEscape}},
        // Enter in the list of numbers starts a new line.
        {"ignored callers", [&] { return std::make_unique<IgnoredCallersDialog>(ignorePath); },
            {kEnter, kCtrlEnter, kEscape}},
        {"phone book", [] { return std::make_unique<DialogpBook>(nullptr); }, {kEscape}},
        {"statistics", [&] { return std::make_unique<StatisticsWindow>(calls, clock); }, {kEnter, kEscape}},
        {"help", [&] { return std::make_unique<HelpWindow>(file(QStringLiteral("help.htm"))); }, {kEnter, kEscape}},
    };
    for (const Window& w : windows)
        for (const Key& key : w.keys) {
            const std::unique_ptr<QWidget> window = w.make();
            press(*window, key);
            got += QStringLiteral("%1, %2: %3\n").arg(QLatin1String(w.name), QLatin1String(key.name), outcome(*window));
        }

    // Enter in a contact's field adds it; the window stays for the next one.
    {
        DialogpBook book(nullptr);
        book.show();
        book.findChild<QLineEdit*>(QStringLiteral("Text3"))->setText(QStringLiteral("Anna Berger"));
        book.findChild<QLineEdit*>(QStringLiteral("Text3"))->setFocus();
        press(book, kEnter);
        got += QStringLiteral("phone book, Enter in the name: %1, %2 contact(s)\n")
                   .arg(outcome(book))
                   .arg(book.findChild<QTableView*>(QStringLiteral("MSFlexGrid1"))->model()->rowCount());
    }

    // The questions, as the windows ask them.
    struct Question {
        const char* name;
        std::function<QString()> ask;
    };
    const QMessageBox::StandardButtons transmit = QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
    CallGrid grid(settings());
    SingleInstance instance(dir.filePath(QStringLiteral("lock")));
    Startup startup(*form, instance, {});
    const Question questions[] = {
        {"settings: Yes/No, No first",
            [&] { return buttonName(form->ask("?", "t", QMessageBox::Yes | QMessageBox::No, QMessageBox::No)); }},
        {"settings: untransmitted changes",
            [&] { return buttonName(form->ask("?", "t", transmit, QMessageBox::Save)); }},
        {"settings: a message",
            [&] {
                form->messageBox("!", "t");
                return QStringLiteral("closed");
            }},
        {"start-up: no adapter found",
            [&] {
                return buttonName(
                    startup.messageBox(QMessageBox::NoIcon, "t", "?", QMessageBox::Yes | QMessageBox::No));
            }},
        {"call list: delete", [&] { return yesNo(grid.confirmDelete("?")); }},
        {"phone book: delete", [] { return yesNo(DialogpBook::defaultPrompts().confirmDelete(nullptr, "?")); }},
        {"phone book: not saved", [] { return yesNo(DialogpBook::defaultPrompts().closeUnsaved(nullptr, "?")); }},
    };
    for (const Question& q : questions)
        for (const Key& key : {kEnter, kEscape}) {
            bool leftOpen = false;
            pressInNextQuestion(key, leftOpen);
            const QString answer = q.ask();
            got += QStringLiteral("%1, %2: %3\n")
                       .arg(QLatin1String(q.name), QLatin1String(key.name),
                           leftOpen ? QStringLiteral("stays open") : answer);
        }
    EXPECT_GOLDEN("window/data/dialog_keys.expected", got);
}
