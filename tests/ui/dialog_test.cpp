// The port options window, offscreen, by object name: a script
// (data/port_options.script) against the log it must give (port_options.log).
#include "common/golden.h"
#include "common/settings_store.h"
#include "device/at_channel.h"
#include "ui/dialog.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A fresh store, port variables and window.
struct Window {
    Window()
    {
        SettingsStore::useFileForUser(dir.filePath("settings.ini"));
        SettingsStore::user().overridePortPath(0, QString());
    }
    // What the window shows and what it changed: checked elements, the device
    // field, the variables, the store.
    QString show() const
    {
        QStringList checked;
        for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>())
            if (b->isChecked())
                checked << b->objectName();
        checked.sort();
        SettingsStore& s = SettingsStore::user();
        return QString(
            "checked=%1 device=%2\nCommPort=%3 Speed=%4 CommDelay=%5\nstored CommPort=%6 Speed=%7 ports=%8,%9,%10")
            .arg(checked.join(u','), dialog->findChild<QComboBox*>("PortDevice")->currentText())
            .arg(at.line().port)
            .arg(at.line().speed)
            .arg(at.line().pause)
            .arg(s.read("CommPort", "-"), s.read("Speed", "-"), s.portPath(1), s.portPath(2), s.portPath(3));
    }
    QString texts() const
    {
        QStringList out{"title=" + dialog->windowTitle()};
        for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>())
            out << b->objectName() + '=' + b->text();
        for (QLabel* l : dialog->findChildren<QLabel*>())
            out << "label=" + l->text();
        return out.join(u'\n');
    }
    QTemporaryDir dir;
    AtChannel at;
    std::unique_ptr<Dialog> dialog;
};

} // namespace

TEST(PortOptions, ScriptAgainstItsLog)
{
    QFile script(QStringLiteral(CORVANE_SOURCE_DIR "/tests/ui/data/port_options.script"));
    ASSERT_TRUE(script.open(QIODevice::ReadOnly));
    auto w = std::make_unique<Window>();
    QStringList log;
    for (const QString& line : QString::fromUtf8(script.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(u'#'))
            continue;
        log << "> " + line;
        const QString cmd = line.section(u' ', 0, 0), arg = line.section(u' ', 1);
        if (cmd == "new") {
            w = std::make_unique<Window>();
        } else if (cmd == "set") { // set PORT SPEED DELAY before opening
            w->at.configure(
                {arg.section(u' ', 0, 0).toInt(), arg.section(u' ', 1, 1), arg.section(u' ', 2, 2).toFloat()});
        } else if (cmd == "path" || cmd == "override") { // N DEVICE: stored, or for this run
            const int n = arg.section(u' ', 0, 0).toInt();
            cmd == "path" ? SettingsStore::user().setPortPath(n, arg.section(u' ', 1))
                          : SettingsStore::user().overridePortPath(n, arg.section(u' ', 1));
        } else if (cmd == "open") {
            w->dialog = std::make_unique<Dialog>(w->at);
        } else if (cmd == "click") {
            QTest::mouseClick(w->dialog->findChild<QAbstractButton*>(arg), Qt::LeftButton);
        } else if (cmd == "type") { // a device path into the device field, then Return
            QLineEdit* field = w->dialog->findChild<QComboBox*>("PortDevice")->lineEdit();
            field->selectAll();
            QTest::keyClicks(field, arg);
            QTest::keyClick(field, Qt::Key_Return);
        } else if (cmd == "language") { // choose the entry named ARG (none: only show)
            auto* choice = w->dialog->findChild<QComboBox*>("LanguageChoice");
            if (!arg.isEmpty())
                choice->setCurrentIndex(choice->findText(arg));
            log << "language=" + choice->currentText() + " stored=" + SettingsStore::user().read("Language", "-");
        } else if (cmd == "show") {
            log << w->show();
        } else if (cmd == "texts") {
            log << w->texts();
        } else if (cmd == "result") {
            log << QString("result=%1").arg(w->dialog->result());
        } else {
            ADD_FAILURE() << "unknown command " << line.toStdString();
        }
    }
    EXPECT_GOLDEN("ui/data/port_options.log", log.join(u'\n') + u'\n');
}
