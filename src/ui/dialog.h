#pragma once
// The port options window "Serial Port Options": port number, bit rate and the
// slow-response pace. Every choice takes effect at once in the command
// channel's variables; the port number is also saved at once (SetPort). On
// Linux it also picks the device file behind the selected port number.
#include <QDialog>

class AtChannel;
class QButtonGroup;
class QCheckBox;
class QComboBox;

class Dialog : public QDialog {
    Q_OBJECT
public:
    explicit Dialog(AtChannel& at, QWidget* parent = nullptr);

private:
    QWidget* languageChoice();
    void buildWindow();
    void Form_Load();
    void Option1_Click(int index);
    void Option2_Click();
    void Check1_Click();
    void showDeviceOf(int port);
    void deviceChosen(const QString& path);

    AtChannel& at_;
    QButtonGroup* option1_ = nullptr;
    QButtonGroup* option2_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QComboBox* device_ = nullptr;
    QComboBox* language_ = nullptr;
};
