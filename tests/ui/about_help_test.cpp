// The about window, the desktop programs it and Help start, and the help window.
#include "ui/documentation.h"
#include "ui/frmabout.h"
#include "ui/help_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace {

// PATH and XDG_CURRENT_DESKTOP for one test, with fake programs ("name" or
// "name=STATUS") that note how they ran in the file "started", which appears
// whole (renamed into place) so it is never read half written.
// A bound only: the waits end as soon as the program has run, however busy the machine.
constexpr int kProgramStartMs = 30000;

struct FakeDesktop {
    FakeDesktop(const QStringList& programs, const QByteArray& desktop)
        : oldPath(qgetenv("PATH")), oldDesktop(qgetenv("XDG_CURRENT_DESKTOP"))
    {
        for (const QString& p : programs) {
            QFile f(dir.filePath(p.section('=', 0, 0)));
            f.open(QIODevice::WriteOnly);
            const QByteArray started = dir.filePath("started").toUtf8();
            f.write("#!/bin/sh\necho \"$0 $*\" > " + started + ".part\n/bin/mv " + started + ".part " + started
                    + "\nexit " + p.section('=', 1).toUtf8() + "\n");
            f.close();
            f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", dir.path().toUtf8());
        qputenv("XDG_CURRENT_DESKTOP", desktop);
    }
    ~FakeDesktop()
    {
        qputenv("PATH", oldPath);
        qputenv("XDG_CURRENT_DESKTOP", oldDesktop);
    }
    QString started()
    {
        QFile f(dir.filePath("started"));
        (void)QTest::qWaitFor([&] { return f.exists(); }, kProgramStartMs);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
    }
    QTemporaryDir dir;
    QByteArray oldPath, oldDesktop;
};

const QString kPage = QStringLiteral(CORVANE_SOURCE_DIR "/assets/help.htm");

} // namespace

// (Every caption of the about and loading windows is in the window texts' goldens.)
TEST(About, ShowsItsPictureAndOkCloses)
{
    frmAbout about;
    EXPECT_FALSE(about.findChild<QLabel*>("Picture1")->pixmap().isNull());
    QTest::mouseClick(about.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

// The about window's "System Info..." starts a program of the desktop when
// there is one, else says so.
TEST(DesktopPrograms, DesktopsOwnFirstThenAnyElseSaysSo)
{
    struct Case {
        QStringList programs;
        const char* desktop;
        QString expected; // what ran (DIR = the fake programs' folder), then what was shown
    } cases[] = {
        {{"hardinfo", "kinfocenter", "gnome-control-center"}, "ubuntu:GNOME", "DIR/gnome-control-center info-overview"},
        {{"hardinfo"}, "KDE", "DIR/hardinfo"}, // none of KDE's own
        {{}, "", "ISDN Corvane|System Information Is Unavailable At This Time"},
    };
    for (const Case& c : cases) {
        FakeDesktop desktop(c.programs, c.desktop);
        frmAbout about;
        QStringList shown;
        about.messageBox = [&](const QString& text, const QString& title) { shown << title + '|' + text; };
        QTest::mouseClick(about.findChild<QPushButton*>("cmdSysInfo"), Qt::LeftButton);
        if (!c.programs.isEmpty())
            shown.prepend(desktop.started().replace(desktop.dir.path(), "DIR"));
        EXPECT_EQ(shown.join('|'), c.expected);
    }
}

// F1 shows the guide in the own window, one window however often it is pressed,
// with the desktop's keys: Ctrl+F to search, Escape to close.
TEST(Documentation, HelpWindowFollowsLinksFindsAndCloses)
{
    QWidget window;
    Documentation docs(&window);
    docs.open(kPage);
    HelpWindow* help = docs.helpWindow();
    ASSERT_TRUE(help && help->isVisible());
    docs.open(kPage);
    EXPECT_EQ(window.findChildren<HelpWindow*>().size(), 1);
    auto* browser = help->findChild<QTextBrowser*>("HelpBrowser");
    auto* search = help->findChild<QLineEdit*>("HelpSearch");
    EXPECT_EQ(browser->documentTitle(), "ISDN Corvane Plus - User Guide");
    browser->setSource(QUrl("#book")); // what a click on a contents link does
    EXPECT_GT(browser->verticalScrollBar()->value(), 0);

    QTest::keyClicks(search, "phone book");
    EXPECT_EQ(browser->textCursor().selectedText().toLower(), "phone book");
    const int first = browser->textCursor().position();
    QTest::keyClick(search, Qt::Key_Return); // the next one
    EXPECT_GT(browser->textCursor().position(), first);
    EXPECT_TRUE(search->styleSheet().isEmpty());
    EXPECT_FALSE(help->findNext("no such words here"));
    EXPECT_FALSE(search->styleSheet().isEmpty()); // shown in red

    ASSERT_TRUE(QTest::qWaitForWindowActive(help));
    browser->setFocus();
    QTest::keyClick(browser, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(search->hasFocus());
    QTest::keyClick(search, Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
}
