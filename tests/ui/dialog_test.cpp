// The port options window, offscreen, by object name.
#include "common/settings_store.h"
#include "device/at_channel.h"
#include "ui/dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Window {
    Window()
    {
        SettingsStore::useFileForUser(dir.filePath("settings.ini"));
        SettingsStore::user().overridePortPath(0, QString());
    }
    void open() { dialog = std::make_unique<Dialog>(at); }
    QRadioButton* radio(const QString& name) { return dialog->findChild<QRadioButton*>(name); }
    QCheckBox* slow() { return dialog->findChild<QCheckBox*>("Check1"); }
    QString stored(const QString& key) { return SettingsStore::user().read(key, "<none>"); }

    QTemporaryDir dir;
    AtChannel at;
    std::unique_ptr<Dialog> dialog;
};

} // namespace

TEST(PortOptions, FirstRunShowsTheDefaults)
{
    Window w;
    w.open();
    EXPECT_EQ(w.dialog->windowTitle(), "Serial Port Options");
    EXPECT_TRUE(w.radio("Option1_0")->isChecked());
    EXPECT_EQ(w.radio("Option1_0")->text(), "COM1");
    EXPECT_TRUE(w.radio("Option2_0")->isChecked());
    EXPECT_EQ(w.radio("Option2_0")->text(), "115200");
    EXPECT_FALSE(w.slow()->isChecked());
    EXPECT_EQ(w.slow()->text(), "Slow Response");
    EXPECT_EQ(w.stored("CommPort"), "1"); // selecting the port on opening saves it again
    QStringList labels;
    for (QLabel* l : w.dialog->findChildren<QLabel*>())
        labels << l->text();
    for (const char* text : {"Try clicking here", "if you are having", "problems."})
        EXPECT_TRUE(labels.contains(QLatin1String(text))) << text;
    EXPECT_EQ(w.dialog->findChild<QPushButton*>("Command1")->text(), "Done");
}

TEST(PortOptions, ChoicesTakeEffectAtOnce)
{
    Window w;
    w.open();
    QTest::mouseClick(w.radio("Option1_2"), Qt::LeftButton);
    EXPECT_EQ(w.at.CommPort, 3);
    EXPECT_EQ(w.stored("CommPort"), "3"); // saved even if the window is then closed by its box

    QTest::mouseClick(w.radio("Option2_4"), Qt::LeftButton);
    EXPECT_EQ(w.at.Speed, "9600");
    EXPECT_EQ(w.stored("Speed"), "<none>"); // saved only when the program ends

    QTest::mouseClick(w.slow(), Qt::LeftButton);
    EXPECT_EQ(w.at.CommDelay, 0.2f);
    QTest::mouseClick(w.slow(), Qt::LeftButton);
    EXPECT_EQ(w.at.CommDelay, 0.01f);

    QTest::mouseClick(w.dialog->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    EXPECT_EQ(w.dialog->result(), QDialog::Accepted);
}

TEST(PortOptions, OpeningReflectsTheVariables)
{
    struct Case {
        int port;
        const char* speed;
        float delay;
        const char* portOption; // "" none
        const char* speedOption;
        bool slow;
    } cases[] = {
        {4, "2400", 0.2f, "Option1_3", "Option2_5", true},
        {2, "56000", 0.01f, "Option1_1", "Option2_1", false},
        {7, "12345", 0.5f, "", "", false}, // nothing fits: nothing selected
    };
    for (const Case& c : cases) {
        Window w;
        w.at.CommPort = c.port;
        w.at.Speed = c.speed;
        w.at.CommDelay = c.delay;
        w.open();
        auto* ports = w.dialog->findChild<QButtonGroup*>("Option1");
        auto* speeds = w.dialog->findChild<QButtonGroup*>("Option2");
        EXPECT_EQ(ports->checkedButton() ? ports->checkedButton()->objectName() : QString(), c.portOption);
        EXPECT_EQ(speeds->checkedButton() ? speeds->checkedButton()->objectName() : QString(), c.speedOption);
        EXPECT_EQ(w.slow()->isChecked(), c.slow);
        // Opening changes nothing it cannot show.
        EXPECT_EQ(w.at.CommPort, c.port);
        EXPECT_EQ(w.at.Speed, c.speed);
        EXPECT_EQ(w.at.CommDelay, c.delay);
        EXPECT_EQ(w.stored("CommPort"), *c.portOption ? QString::number(c.port) : QString("<none>"));
    }
}

TEST(PortOptions, DeviceBehindEachPortNumber)
{
    Window w;
    SettingsStore::user().setPortPath(2, "/dev/ttyUSB0");
    w.open();
    auto* device = w.dialog->findChild<QComboBox*>("PortDevice");
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->currentText(), "/dev/ttyS0"); // COM1's default
    QTest::mouseClick(w.radio("Option1_1"), Qt::LeftButton);
    EXPECT_EQ(device->currentText(), "/dev/ttyUSB0");

    // Typing a path stores it for the selected number.
    device->lineEdit()->selectAll();
    QTest::keyClicks(device->lineEdit(), "/dev/ttyACM3");
    QTest::keyClick(device->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(SettingsStore::user().portPath(2), "/dev/ttyACM3");
    EXPECT_EQ(SettingsStore::user().portPath(1), "/dev/ttyS0");

    // A hand-picked device wins over a one-run mapping.
    SettingsStore::user().overridePortPath(2, "/tmp/sim-link");
    w.open();
    device = w.dialog->findChild<QComboBox*>("PortDevice");
    EXPECT_EQ(device->currentText(), "/tmp/sim-link");
    device->lineEdit()->selectAll();
    QTest::keyClicks(device->lineEdit(), "/dev/ttyUSB7");
    QTest::keyClick(device->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(SettingsStore::user().portPath(2), "/dev/ttyUSB7");
}
