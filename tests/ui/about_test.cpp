// The about window and the loading window.
#include "ui/formloading.h"
#include "ui/frmabout.h"
#include "ui/sys_info.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// PATH and XDG_CURRENT_DESKTOP for one test, with fake programs in a folder.
struct FakeDesktop {
    FakeDesktop(const QStringList& programs, const QByteArray& desktop)
        : oldPath(qgetenv("PATH")), oldDesktop(qgetenv("XDG_CURRENT_DESKTOP"))
    {
        for (const QString& p : programs) {
            QFile f(dir.filePath(p));
            f.open(QIODevice::WriteOnly);
            // The program notes that it ran, and how.
            f.write("#!/bin/sh\necho \"$0 $*\" > " + dir.filePath("started").toUtf8() + "\n");
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
        for (int i = 0; i < 200 && !f.exists(); ++i)
            QTest::qWait(10);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
    }
    QTemporaryDir dir;
    QByteArray oldPath, oldDesktop;
};

} // namespace

TEST(About, ShowsNameAndVersion)
{
    frmAbout about;
    EXPECT_EQ(about.windowTitle(), "About ISDN Corvane");
    struct Label {
        const char* name;
        const char* text;
    } labels[] = {{"lblDescription", "ISDN Corvane Plus"},
                  {"lblVersion", "Version 4.0.0"},
                  {"lblDisclaimer", "Tested with DodOva Version:"},
                  {"Label4", "Software Version 3.81 - Hardware Version 50"},
                  {"Label3", ""}};
    for (const Label& l : labels) {
        auto* label = about.findChild<QLabel*>(l.name);
        ASSERT_NE(label, nullptr) << l.name;
        EXPECT_EQ(label->text(), l.text) << l.name;
    }
    EXPECT_FALSE(about.findChild<QLabel*>("Picture1")->pixmap().isNull());
    EXPECT_EQ(about.findChild<QPushButton*>("cmdSysInfo")->text(), "&System Info...");
    QTest::mouseClick(about.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST(About, SystemInfoProgramOfTheDesktopFirst)
{
    {
        FakeDesktop desktop({"hardinfo", "kinfocenter", "gnome-control-center"}, "ubuntu:GNOME");
        const SysInfoProgram p = findSysInfoProgram();
        EXPECT_EQ(p.program, desktop.dir.filePath("gnome-control-center"));
        EXPECT_EQ(p.arguments, QStringList{"info-overview"});
    }
    {
        FakeDesktop desktop({"hardinfo"}, "KDE");
        EXPECT_EQ(findSysInfoProgram().program, desktop.dir.filePath("hardinfo")); // none of KDE's own
    }
}

TEST(About, SystemInfoStartsOrSaysUnavailable)
{
    {
        FakeDesktop desktop({"kinfocenter"}, "KDE");
        frmAbout about;
        QStringList messages;
        about.messageBox = [&](const QString& text, const QString& title) { messages << title + '|' + text; };
        QTest::mouseClick(about.findChild<QPushButton*>("cmdSysInfo"), Qt::LeftButton);
        EXPECT_EQ(desktop.started(), desktop.dir.filePath("kinfocenter"));
        EXPECT_TRUE(messages.isEmpty());
    }
    {
        FakeDesktop desktop({}, "");
        frmAbout about;
        QStringList messages;
        about.messageBox = [&](const QString& text, const QString& title) { messages << title + '|' + text; };
        about.StartSysInfo();
        EXPECT_EQ(messages, QStringList{"ISDN Corvane|System Information Is Unavailable At This Time"});
    }
}

TEST(FormLoading, SaysWhatItWaitsFor)
{
    FormLoading loading;
    EXPECT_EQ(loading.windowTitle(), "Please Wait...");
    EXPECT_EQ(loading.findChild<QLabel*>("Label1")->text(), "Loading Call Monitor...");
}
